// The encounter log: one window per program, opened with Ctrl+L, following the history live,
// saved as plain text or CSV, and read by assistive technology.
#include "forms/EncounterLog.h"
#include "forms/Unit1.h"
#include "store/Error.h"
#include "tests/forms/MainWindowFixture.h"
#include "ui/ModalDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class EncounterLogWindow : public testing_support::MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { ui::installModalRunner({}); }

    forms::EncounterLog* openLog()
    {
        control("DBGridEh1")->setFocus();
        QTest::keyClick(control("DBGridEh1"), Qt::Key_L, Qt::ControlModifier);
        return window->encounterLog();
    }
    // The lines as shown, without their times, which the clock decides.
    QStringList lines(forms::EncounterLog* log)
    {
        QStringList out;
        static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d  "));
        for (int i = 0; i < log->LogList()->count(); ++i) {
            QString text = log->LogList()->item(i)->text();
            EXPECT_TRUE(time.match(text).hasMatch()) << text.toStdString();
            out << text.remove(time);
        }
        return out;
    }
    void damage(int row, const char* amount)
    {
        selectRow(row);
        type("Edit1", amount);
        click("Button5");
    }
    void undo()
    {
        control("DBGridEh1")->setFocus();
        QTest::keyClick(control("DBGridEh1"), Qt::Key_Z, Qt::ControlModifier);
    }
    void redo()
    {
        control("DBGridEh1")->setFocus();
        QTest::keyClick(control("DBGridEh1"), Qt::Key_Y, Qt::ControlModifier);
    }
    // Saves through the window's own button, choosing the file and the type in its dialog.
    void saveAs(forms::EncounterLog* log, const QString& fileName, const QString& filter)
    {
        ui::installModalRunner([&](QDialog& d) {
            auto* dialog = qobject_cast<QFileDialog*>(&d);
            EXPECT_NE(dialog, nullptr);
            if (!dialog) return 0;
            dialog->selectNameFilter(filter);
            dialog->selectFile(fileName);
            return 1;
        });
        QTest::mouseClick(log->SaveButton(), Qt::LeftButton);
    }
    static QString contentOf(const QString& fileName)
    {
        QFile f(fileName);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << fileName.toStdString();
        return QString::fromUtf8(f.readAll());
    }
};

TEST_F(EncounterLogWindow, CtrlLOpensOneNonModalWindow)
{
    forms::EncounterLog* log = openLog();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_FALSE(log->isModal());
    EXPECT_EQ(log->windowTitle(), "Encounter Log");
    EXPECT_EQ(log->LogList()->count(), 0);
    log->close();
    EXPECT_EQ(openLog(), log); // the same window again
    EXPECT_TRUE(log->isVisible());
    EXPECT_EQ(window->findChildren<forms::EncounterLog*>().size(), 1);
    // The main window goes on working while the log is open.
    damage(0, "2");
    EXPECT_EQ(row("CurHP", "Aldric"), "28");
}

// The log follows the program: every step as it is made, undone steps marked and back on redo.
TEST_F(EncounterLogWindow, FollowsStepsUndoAndRedoLive)
{
    damage(0, "7");
    forms::EncounterLog* log = openLog();
    EXPECT_EQ(lines(log), QStringList{"Damage 7 on Aldric: HP 30 → 23"});
    click("Button17");
    selectRow(1);
    click("Button9");
    EXPECT_EQ(lines(log),
              (QStringList{"Damage 7 on Aldric: HP 30 → 23", "Group Extended Rest: 2 characters",
                           "Delete Brynn: Brynn deleted"}));
    undo();
    undo();
    EXPECT_EQ(lines(log), (QStringList{"Damage 7 on Aldric: HP 30 → 23",
                                       "Group Extended Rest: 2 characters  (undone)",
                                       "Delete Brynn: Brynn deleted  (undone)"}));
    EXPECT_TRUE(log->LogList()->item(2)->font().strikeOut());
    redo();
    EXPECT_EQ(lines(log)[1], "Group Extended Rest: 2 characters");
    EXPECT_FALSE(log->LogList()->item(1)->font().strikeOut());
    // The newest line is the current one, in view.
    EXPECT_EQ(log->LogList()->currentRow(), 2);
}

TEST_F(EncounterLogWindow, SavesPlainTextAndCsv)
{
    damage(0, "7");
    type("Edit2", "3");
    type("Edit3", "4");
    click("Button5");
    undo();
    forms::EncounterLog* log = openLog();
    testing_support::TempFolder folder;
    const QString text = QString::fromStdString((folder.path() / "log.txt").string());
    saveAs(log, text, "Text files (*.txt)");
    const QStringList saved = contentOf(text).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_TRUE(saved[0].endsWith("  Damage 7 on Aldric: HP 30 → 23")) << saved[0].toStdString();
    EXPECT_TRUE(saved[1].endsWith("  Heal 3, Temp. HP 4 on Aldric: HP 23 → 26, temporary 0 → 4  "
                                  "(undone)"))
        << saved[1].toStdString();

    const QString csv = QString::fromStdString((folder.path() / "log.csv").string());
    saveAs(log, csv, "CSV files (*.csv)");
    const QStringList rows = contentOf(csv).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], "Time,Step,Changes,Undone");
    static const QRegularExpression row(
        QStringLiteral("^\"\\d\\d:\\d\\d\",\"Heal 3, Temp. HP 4 on Aldric\",\"HP 23 → 26, "
                       "temporary 0 → 4\",yes$"));
    EXPECT_TRUE(row.match(rows[2]).hasMatch()) << rows[2].toStdString();
    EXPECT_TRUE(rows[1].endsWith(",\"Damage 7 on Aldric\",\"HP 30 → 23\",no"));

    // A quotation mark in a name is doubled inside its field.
    file.sql("UPDATE Table1 SET Name = 'Brynn \"Quick\"' WHERE Name = 'Brynn'");
    window->ADOTable1.reopen();
    damage(1, "1");
    log->saveTo(csv, true);
    EXPECT_TRUE(
        contentOf(csv).contains("\"Damage 1 on Brynn \"\"Quick\"\"\",\"temporary 5 → 4\",no"));
}

TEST_F(EncounterLogWindow, ASaveThatFailsSaysWhere)
{
    forms::EncounterLog* log = openLog();
    testing_support::TempFolder folder;
    const QString missing = QString::fromStdString((folder.path() / "gone" / "log.txt").string());
    QString message;
    try {
        log->saveTo(missing, false);
    }
    catch (const store::Error& e) {
        message = QString::fromUtf8(e.what());
    }
    EXPECT_TRUE(message.startsWith("Could not save the log to '" + missing + "': "))
        << message.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

// Assistive technology reads the list by its name and each line as shown.
TEST_F(EncounterLogWindow, ReachesAssistiveTechnology)
{
    damage(0, "7");
    forms::EncounterLog* log = openLog();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(log->LogList());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), "Steps of this encounter");
    ASSERT_GE(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), log->LogList()->item(0)->text());
    QAccessibleInterface* save = QAccessible::queryAccessibleInterface(log->SaveButton());
    EXPECT_EQ(save->text(QAccessible::Name), "Save...");
    // Enter presses the focused button; Escape closes the window.
    log->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(log));
    QTest::keyClick(log, Qt::Key_Escape);
    EXPECT_FALSE(log->isVisible());
}

} // namespace
