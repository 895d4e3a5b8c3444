#include "tests/tools/LauncherSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testing_support {

AnswerFirstStart::AnswerFirstStart(QString answer) : answer_(std::move(answer))
{
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
}

void AnswerFirstStart::look()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->objectName() != "FirstStartQuestion" || !box->isVisible()) return;
    // The master answers a question that has come up in front: wait for the window system to
    // activate it (a while at most).
    if (QApplication::activeWindow() != box && ++waited_ < 200) return;
    timer_.stop();
    seen.shown = true;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.informativeText = box->informativeText();
    for (QAbstractButton* b : box->buttons())
        seen.buttons << b->text();
    if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
    QWidget* focus = QApplication::focusWidget();
    seen.hadFocus = focus && box->isAncestorOf(focus);
    if (answer_ == "Enter" || answer_ == "Esc") {
        QTest::keyClick(focus ? focus : box, answer_ == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
        return;
    }
    for (QAbstractButton* b : box->buttons())
        if (b->text() == answer_) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    ADD_FAILURE() << "the question has no button " << answer_.toStdString();
    box->reject();
}

int rosterSize(const std::filesystem::path& partyFile)
{
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(partyFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Table1", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

std::string fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name)
{
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (had_)
        setenv(name_.c_str(), old_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

} // namespace testing_support
