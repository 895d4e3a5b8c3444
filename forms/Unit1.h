#pragma once

#include "store/PartyStore.h"
#include "ui/DataSource.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class QAbstractButton;
class QAction;
class QLineEdit;
class QMenu;
class QRect;

namespace Ui {
class TForm1;
}
namespace forms {
class EncounterLog;
}
namespace ui {
class DBCheckBox;
class DataGrid;
struct GridColumn;
struct CellState;
} // namespace ui

// The main window: the roster grid at the top, and below and beside it the boxes through
// which the master acts on the current character or on the whole party. It owns the
// connection, the four datasets and their data sources, and every window it opens.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // The first position of the window's frame on the screen.
    static constexpr int firstLeft = 272;
    static constexpr int firstTop = 228;

    // Creating the window runs FormCreate on the party file beside the executable (the file
    // the program was started by, a link to it included, unless another is named); a failure
    // there is reported and the window is shown all the same.
    explicit TForm1(QWidget* parent = nullptr, QString executableFileName = QString());
    ~TForm1() override;

    store::PartyStore party;
    store::Connection& ADOConnection1;
    store::Dataset& ADOTable1;
    store::Dataset& ADOTable2;
    store::Dataset& ADOTable3;
    store::Dataset& ADOTable4;
    ui::DataSource DataSource1;
    ui::DataSource DataSource2;
    ui::DataSource DataSource3;
    ui::DataSource DataSource4;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* HistoryMenu = nullptr; // the roster's context menu: undo, redo, the encounter log

    int SurgeBonus = 0; // chosen from either surge menu, used by both surge buttons

    void FormCreate();
    void DBCheckBoxEh1Click(ui::DBCheckBox* sender);
    bool Edit1KeyDown(int key); // true when the key was handled
    void JvDice1Click();
    void DiceClick();
    void SpeedButton1Click();
    void Button4Click();
    void Button5Click();
    void JvArrowButton1Click();
    void JvArrowButton2Click();
    void Button7Click();
    void Button26Click();
    void N01Click(QAction* item);
    void MenuItem11Click(QAction* item);
    void Button12Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button6Click();
    void Button11Click();
    void Button23Click();
    void Button24Click();
    void Button25Click();
    void Button22Click();
    void Button21Click();
    void Button20Click();
    void Button19Click();
    void Button18Click();
    void Button17Click();
    void Button1Click();
    void Button3Click();
    void Button9Click();
    void Button13Click();
    void Button8Click();
    void Button2Click();
    void Button10Click();
    // Reload (F5, and Esc in the roster after a change): drops the roster's pending change and
    // reads the roster and the sums again from the file, staying on the same character.
    void ReloadClick();
    // The history of steps: undo and redo the last step, open the encounter log.
    void UndoClick();
    void RedoClick();
    void EncounterLogClick();
    forms::EncounterLog* encounterLog() const; // the one log window, once opened
    // The step a click on the control makes: "Damage 7 on Aria", "Group Extended Rest".
    std::string stepName(QAbstractButton* control) const;
    // True when the amount edit may be used; otherwise warns, puts "0" back and focuses it.
    bool CheckNumericEdit(QLineEdit& edit);
    void DBGridEh1DrawColumnCell(ui::DataGrid& grid, const QRect& rect, int dataCol,
                                 const ui::GridColumn& column, const ui::CellState& state);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpControls();
    void setUpGrid();
    void giveConditionHints();
    void healBy(std::int32_t amount); // puts a surge into the heal edit and applies it
    void settleBeforeDialog();
    void setUpHistory();
    void moveInHistory(bool undoing);
    void readAgain(); // every dataset, keeping the current character and the roster's order
    void showHistoryMenu(const QPoint& position);

    QString executableFileName_;
    std::unique_ptr<Ui::TForm1> ui_;
    QSize designSize_;
    QPointer<forms::EncounterLog> encounterLog_;
};
