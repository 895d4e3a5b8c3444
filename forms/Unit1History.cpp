// The main window's part in the history of steps: a step around each action of the master,
// undo and redo from the keyboard and the roster's context menu, and the encounter log.

#include "forms/Unit1.h"

#include "forms/EncounterLog.h"
#include "store/History.h"
#include "store/PartyStore.h"
#include "ui/DataGrid.h"
#include "ui/ErrorHandler.h"

#include "ui_Unit1.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

#include <algorithm>
#include <cstring>

namespace {

// How a click names its step: %1 is the current character, %2 the current item. Buttons not
// named here act on the current character ("<caption> on %1"), or, in the group box, on every
// player character ("Group <caption>").
struct StepWording {
    const char* control;
    const char* wording;
};
const StepWording stepWordings[] = {
    {"Button1", "Add Char"},       {"Button13", "Add NPC"},         {"Button3", "Edit %1"},
    {"Button9", "Delete %1"},      {"Button4", "Range Initiative"}, {"Button8", "Money on %1"},
    {"Button2", "Add Item to %1"}, {"Button10", "Delete Item %2"},
};

std::string textOf(store::Dataset& dataset, const char* field)
{
    if (!dataset.active() || dataset.isEmpty()) return {};
    return dataset.fieldByName(field).value().toString();
}

// A menu item's text shows an ampersand only when it is doubled.
QString menuText(const std::string& text)
{
    return QString::fromStdString(text).replace('&', QStringLiteral("&&"));
}

} // namespace

void TForm1::setUpHistory()
{
    // A record posted outside any click (a condition ticked, then another record chosen, or
    // the navigator's buttons) is a step of its own as soon as the dataset is browsing again.
    party.history.setLooseStepNamer([this](const store::Step& step) -> std::string {
        const store::RowChange& row = step.rows.front();
        if (step.rows.size() > 1) return "Edit";
        if (row.kind == store::RowChange::Kind::Added) return "Add " + row.label;
        if (row.kind == store::RowChange::Kind::Deleted) return "Delete " + row.label;
        const auto& conditions = store::conditionFields();
        const bool onlyConditions = std::all_of(row.columns.begin(), row.columns.end(), [&](int c) {
            const std::string name = party.history.columnName(row.table, c);
            return std::any_of(conditions.begin(), conditions.end(),
                               [&](const char* condition) { return name == condition; });
        });
        return (onlyConditions ? "Conditions on " : "Edit ") + row.label;
    });
    for (store::Dataset* dataset : {&ADOTable1, &ADOTable3})
        dataset->subscribe([this, dataset](store::DatasetEvent event) {
            if (event == store::DatasetEvent::StateChanged &&
                dataset->state() == store::DatasetState::Browse)
                ui::guarded([this] { party.history.settle(); })();
        });

    // Typing in an edit keeps its own undo: the edits take these keys before the window does.
    const struct {
        QKeySequence keys;
        void (TForm1::*handler)();
    } shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::UndoClick},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &TForm1::RedoClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::RedoClick},
        {QKeySequence(Qt::CTRL | Qt::Key_L), &TForm1::EncounterLogClick},
    };
    for (const auto& s : shortcuts) {
        auto* shortcut = new QShortcut(s.keys, this);
        connect(shortcut, &QShortcut::activated, this,
                ui::guarded([this, h = s.handler] { (this->*h)(); }));
    }

    HistoryMenu = new QMenu(this);
    HistoryMenu->setObjectName(QStringLiteral("HistoryMenu"));
    const struct {
        const char* name;
        void (TForm1::*handler)();
    } items[] = {
        {"UndoItem", &TForm1::UndoClick},
        {"RedoItem", &TForm1::RedoClick},
        {nullptr, nullptr},
        {"EncounterLogItem", &TForm1::EncounterLogClick},
    };
    for (const auto& item : items) {
        if (!item.name) {
            HistoryMenu->addSeparator();
            continue;
        }
        QAction* action = HistoryMenu->addAction(QString());
        action->setObjectName(item.name);
        connect(action, &QAction::triggered, this,
                ui::guarded([this, h = item.handler](bool) { (this->*h)(); }));
    }
    HistoryMenu->findChild<QAction*>("EncounterLogItem")
        ->setText(QStringLiteral("Encounter Log..."));
    HistoryMenu->findChild<QAction*>("EncounterLogItem")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(HistoryMenu, &QMenu::aboutToShow, this, [this] {
        const store::Step* undo = party.history.nextUndo();
        const store::Step* redo = party.history.nextRedo();
        QAction* undoItem = HistoryMenu->findChild<QAction*>("UndoItem");
        QAction* redoItem = HistoryMenu->findChild<QAction*>("RedoItem");
        undoItem->setText(undo ? "Undo " + menuText(undo->name) : QStringLiteral("Undo"));
        undoItem->setEnabled(undo != nullptr);
        undoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        redoItem->setText(redo ? "Redo " + menuText(redo->name) : QStringLiteral("Redo"));
        redoItem->setEnabled(redo != nullptr);
        redoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    });
    ui_->DBGridEh1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_->DBGridEh1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showHistoryMenu(position); });
}

void TForm1::showHistoryMenu(const QPoint& position)
{
    HistoryMenu->popup(ui_->DBGridEh1->viewport()->mapToGlobal(position));
}

std::string TForm1::stepName(QAbstractButton* control) const
{
    // Naming a step never stops the action it names.
    try {
        const std::string character = textOf(ADOTable1, "Name");
        const std::string on = character.empty() ? std::string() : " on " + character;
        if (control == ui_->Button5) {
            const struct {
                QLineEdit* edit;
                const char* word;
            } parts[] = {{ui_->Edit1, "Damage "}, {ui_->Edit2, "Heal "}, {ui_->Edit3, "Temp. HP "}};
            std::string name;
            for (const auto& p : parts)
                if (!p.edit->text().trimmed().isEmpty())
                    name += (name.empty() ? "" : ", ") + std::string(p.word) +
                            p.edit->text().trimmed().toStdString();
            return (name.empty() ? std::string("Apply") : name) + on;
        }
        const std::string caption =
            (control->accessibleName().isEmpty() ? control->text() : control->accessibleName())
                .toStdString();
        for (const StepWording& w : stepWordings)
            if (control->objectName() == QLatin1String(w.control)) {
                std::string name = w.wording;
                if (const auto at = name.find("%1"); at != std::string::npos)
                    name.replace(at, 2, character);
                if (const auto at = name.find("%2"); at != std::string::npos)
                    name.replace(at, 2, textOf(ADOTable3, "Item"));
                while (!name.empty() && name.back() == ' ')
                    name.pop_back();
                return name;
            }
        if (control->parentWidget() == ui_->GroupBox5) return "Group " + caption;
        return caption + on;
    }
    catch (const std::exception&) {
        return control->text().toStdString();
    }
}

void TForm1::UndoClick()
{
    moveInHistory(true);
}

void TForm1::RedoClick()
{
    moveInHistory(false);
}

void TForm1::moveInHistory(bool undoing)
{
    // A condition ticked and not yet posted is the last step: it is posted first.
    if (ADOTable1.active()) ADOTable1.settle();
    if (undoing ? !party.history.canUndo() : !party.history.canRedo()) return;
    undoing ? party.history.undo() : party.history.redo();
    const store::Step* moved = undoing ? party.history.nextRedo() : party.history.nextUndo();
    // A few characters changed in place are read again alone, quick enough to follow every
    // key press; a step that added or removed records, or changed items, reads everything.
    std::vector<std::int64_t> rowids;
    bool coins = false; // the sums and the weight count the characters' coins
    for (const store::RowChange& row : moved ? moved->rows : std::vector<store::RowChange>{}) {
        if (row.kind != store::RowChange::Kind::Changed ||
            party.history.tableName(row.table) != "Table1" || rowids.size() >= 64)
            return readAgain();
        rowids.push_back(row.rowid);
        for (int c : row.columns) {
            const std::string column = party.history.columnName(row.table, c);
            for (const char* coin : {"cp", "sp", "gp", "pp", "ad"})
                coins = coins || column == coin;
        }
    }
    if (rowids.empty() || !ADOTable1.refreshRecords(rowids)) return readAgain();
    if (!coins) return;
    for (store::Dataset* dataset : {&ADOTable2, &ADOTable4})
        if (dataset->active()) dataset->reopen();
}

void TForm1::readAgain()
{
    if (!ADOTable1.active()) return;
    const bool hadCurrent = !ADOTable1.isEmpty();
    const std::int32_t id = hadCurrent ? ADOTable1.fieldByName("ID").asInteger() : 0;
    const std::string sort = ADOTable1.sort();
    ADOTable1.reopen();
    if (!sort.empty()) ADOTable1.setSort(sort);
    // The current character stays current while it still exists.
    if (hadCurrent) {
        for (int recNo = 0; recNo < ADOTable1.recordCount(); ++recNo) {
            const bool found = ADOTable1.withRecord(
                recNo, [&] { return ADOTable1.fieldByName("ID").asInteger() == id; });
            if (found) {
                ADOTable1.moveTo(recNo);
                break;
            }
        }
    }
    for (store::Dataset* dataset : {&ADOTable2, &ADOTable3, &ADOTable4})
        if (dataset->active()) dataset->reopen();
}

forms::EncounterLog* TForm1::encounterLog() const
{
    return encounterLog_;
}

void TForm1::EncounterLogClick()
{
    if (!encounterLog_) encounterLog_ = new forms::EncounterLog(party.history, this);
    encounterLog_->show();
    encounterLog_->raise();
    encounterLog_->activateWindow();
}
