#pragma once

#include "forms/Unit1.h"
#include "tests/support/PartyFixture.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace testing_support {

// The main window started on a party file of its own, with every message box answered and
// recorded.
class MainWindow : public ::testing::Test {
protected:
    // Characters the file holds before the window starts.
    virtual const char* party() const
    {
        return "INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, PC, cp, gp) VALUES "
               "('Aldric', 40, 30, 0, 3, 1, 10, 5), ('Brynn', 31, 31, 5, 7, 1, 4, 0), ('Goblin.1', "
               "20, 8, 0, 5, 0, 0, 0);"
               "INSERT INTO Inventory (Name, Item, Weight) VALUES ('Aldric', 'Sword', 4), "
               "('Aldric', 'Shield', 6)";
    }
    void SetUp() override
    {
        file.sql(party());
        start();
    }
    void start()
    {
        window.reset();
        window = std::make_unique<TForm1>(
            nullptr, QString::fromStdString((file.folder() / "Tavrix").string()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class T = QWidget> T* control(const char* name)
    {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button)
    {
        QTest::mouseClick(control<QAbstractButton>(button), Qt::LeftButton);
    }
    void type(const char* edit, const QString& text)
    {
        auto* e = control<QLineEdit>(edit);
        e->clear();
        QTest::keyClicks(e, text);
    }
    // Typing and pressing in a dialog the window opened, as the master does.
    static void typeIn(QWidget& d, const char* edit, const QString& text)
    {
        auto* e = d.findChild<QLineEdit*>(edit);
        ASSERT_NE(e, nullptr) << edit;
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    static void press(QWidget& d, const char* button)
    {
        auto* b = d.findChild<QAbstractButton*>(button);
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    std::string row(const std::string& columns, const std::string& name)
    {
        const auto r = file.rows("SELECT " + columns + " FROM Table1 WHERE Name = '" + name + "'");
        std::string out;
        for (const auto& v : r.empty() ? std::vector<std::string>{} : r[0])
            out += (out.empty() ? "" : "/") + v;
        return out;
    }
    void selectRow(int recNo) { window->ADOTable1.moveTo(recNo); }

    PartyFile file;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TForm1> window;
};

} // namespace testing_support
