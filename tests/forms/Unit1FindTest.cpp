#include "tests/forms/MainWindowFixture.h"
#include "ui/DataGrid.h"
#include "ui/ModalDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>

namespace {

using testing_support::MainWindow;

struct FindCase {
    const char* what;
    const char* text;
    const char* column; // a title, or "<All>"
    int match;          // any part, whole field, beginning
    int direction;      // up, down, all
    bool matchCase;
    int startRow;
    int foundRow; // -1: not found
};

const FindCase findCases[] = {
    {"any part, down", "yn", "Name", 0, 1, false, 0, 1},
    {"whole field misses a part", "Bryn", "Name", 1, 2, false, 0, -1},
    {"whole field", "brynn", "Name", 1, 2, false, 0, 1},
    {"case kept", "brynn", "Name", 1, 2, true, 0, -1},
    {"beginning", "Gob", "Name", 2, 2, false, 0, 2},
    {"beginning misses the middle", "lin", "Name", 2, 2, false, 0, -1},
    {"up from the last", "Aldric", "Name", 0, 0, false, 2, 0},
    {"down stops at the end", "Aldric", "Name", 0, 1, false, 1, -1},
    {"all wraps round", "Aldric", "Name", 0, 2, false, 1, 0},
    {"one column only", "7", "Initiative", 1, 2, false, 0, 1},
    {"in every column", "31(31) +5", "<All>", 1, 2, false, 0, 1},
};

TEST_F(MainWindow, FindMovesToTheNextMatchingRecord)
{
    auto* grid = control<ui::DataGrid>("DBGridEh1");
    for (const FindCase& c : findCases) {
        SCOPED_TRACE(c.what);
        boxes.shown.clear();
        selectRow(c.startRow);
        ui::installModalRunner([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Find text");
            dialog.findChild<QLineEdit*>("FindWhat")->setText(c.text);
            auto* in = dialog.findChild<QComboBox*>("FindIn");
            in->setCurrentIndex(in->findText(c.column));
            dialog.findChild<QComboBox*>("Match")->setCurrentIndex(c.match);
            dialog.findChild<QComboBox*>("Search")->setCurrentIndex(c.direction);
            dialog.findChild<QCheckBox*>("MatchCase")->setChecked(c.matchCase);
            dialog.show();
            QTest::keyClick(dialog.findChild<QLineEdit*>("FindWhat"),
                            Qt::Key_Return); // Enter finds next
            dialog.hide();
            return 0;
        });
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
        ui::installModalRunner({});
        if (c.foundRow >= 0) {
            EXPECT_EQ(window->ADOTable1.recNo(), c.foundRow);
            EXPECT_TRUE(boxes.shown.empty());
        }
        else {
            EXPECT_EQ(window->ADOTable1.recNo(), c.startRow);
            EXPECT_EQ(boxes.texts(), (std::vector<QString>{
                                         QStringLiteral("String \"%1\" not found.").arg(c.text)}));
        }
    }
}

} // namespace
