#include "forms/Unit1.h"

#include "actions/Counters.h"
#include "actions/GroupActions.h"
#include "actions/HitPoints.h"
#include "actions/Money.h"
#include "actions/NumericCheck.h"
#include "actions/Rests.h"
#include "actions/Surges.h"
#include "forms/ConditionHints.h"
#include "forms/Unit12.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "store/ConnectionString.h"
#include "store/WholeNumber.h"
#include "ui/ArrowButton.h"
#include "ui/DBCheckBox.h"
#include "ui/DBNavigator.h"
#include "ui/DBText.h"
#include "ui/DataGrid.h"
#include "ui/DecorativeDie.h"
#include "ui/ErrorHandler.h"
#include "ui/FlatColorButton.h"
#include "ui/Hints.h"
#include "ui/Images.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalDialogs.h"
#include "ui/PlainDataGrid.h"
#include "ui/StartedFileName.h"
#include "ui/WindowFont.h"

#include "ui_Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

namespace {

// A colour as the layouts store it: 0x00BBGGRR, red in the lowest byte.
QColor storedColor(quint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

constexpr quint32 clLime = 0x00FF00, clRed = 0x0000FF, clGray = 0x808080, clBlack = 0;
constexpr quint32 clPaleBlue = 0xFFFBF0, clAqua = 0xFFFF00;

// Data-bound labels: which source (1 to 4) and which field each shows.
struct Binding {
    const char* control;
    int source;
    const char* field;
    const char* caption; // what the value is, for assistive technology
};
const Binding textBindings[] = {
    {"DBText1", 1, "HealingSurgesUsed", "Healing surges used"},
    {"DBText12", 1, "MoneyWeight", "Money weight"},
    {"DBText6", 1, "ad", "Character's ad"},
    {"DBText5", 1, "pp", "Character's pp"},
    {"DBText4", 1, "gp", "Character's gp"},
    {"DBText3", 1, "sp", "Character's sp"},
    {"DBText2", 1, "cp", "Character's cp"},
    {"DBText11", 2, "Sum-ad", "Group ad"},
    {"DBText10", 2, "Sum-pp", "Group pp"},
    {"DBText9", 2, "Sum-gp", "Group gp"},
    {"DBText8", 2, "Sum-sp", "Group sp"},
    {"DBText7", 2, "Sum-cp", "Group cp"},
    {"DBText13", 4, "TotalWeight", "Sum weight"},
};

// Values shown on the line of their caption, right of it.
struct Beside {
    const char* caption;
    const char* value;
};
const Beside besides[] = {{"Label4", "DBText1"}, {"Label10", "DBText12"}};
constexpr int captionGap = 4; // pixels between a caption's text and its value

// Controls that follow the window's right edge as it is resized; the others keep their place.
enum class Anchor { Right, Stretch };
struct Anchoring {
    const char* control;
    Anchor anchor;
};
const Anchoring anchorings[] = {
    {"DBGridEh1", Anchor::Stretch},  {"GroupBox2", Anchor::Stretch}, {"Button1", Anchor::Right},
    {"Button13", Anchor::Right},     {"Button3", Anchor::Right},     {"Button9", Anchor::Right},
    {"DBNavigator1", Anchor::Right}, {"Button4", Anchor::Right},
};

// The flat colour buttons of the two action boxes.
struct Look {
    const char* control;
    quint32 fill;
    quint32 border;
};
const Look looks[] = {
    {"RbButton3", clLime, clBlack}, {"RbButton5", clRed, clBlack}, {"RbButton4", clLime, clGray},
    {"RbButton6", clRed, clGray},   {"RbButton1", clLime, clGray}, {"RbButton7", clRed, clGray},
    {"RbButton2", clLime, clGray},  {"RbButton8", clRed, clGray},
};

// Accessible names for the controls whose caption does not say what they are.
struct Name {
    const char* control;
    const char* name;
};
const Name accessibleNames[] = {
    {"Edit1", "Damage"},
    {"Edit2", "Heal"},
    {"Edit3", "Temp. HP"},
    {"Edit4", "cp amount"},
    {"Edit5", "sp amount"},
    {"Edit6", "gp amount"},
    {"Edit7", "pp amount"},
    {"Edit8", "ad amount"},
    {"Button11", "Extended Rest"},
    {"Button17", "Extended Rest"},
    {"Button25", "Use Daily(Item)"},
    {"SpeedButton1", "About"},
    {"DBGridEh1", "Roster"},
    {"DBGrid1", "Inventory"},
    {"JvDice1", "Die"},
    {"DBNavigator1", "Roster navigator"},
};

// The roster grid's columns; the master sees the shown ones.
const ui::GridColumn rosterColumns[] = {
    {"Name", "Name", 100, true},
    {"HP", "HP", 50, true},
    {"TotalHP", "TotalHP", 50, false},
    {"CurHP", "CurHP", 50, false},
    {"TempHP", "TempHP", 50, false},
    {"Initiative", "Initiative", 50, true},
    {"AC", "AC", 50, true},
    {"Fort", "Fort", 50, true},
    {"Ref", "Ref", 50, true},
    {"Will", "Will", 50, true},
    {"Blinded", "Blinded", 50, false},
    {"Dazed", "Dazed", 50, false},
    {"Dominated", "Dominated", 50, false},
    {"Dying", "Dying", 50, false},
    {"Helpless", "Helpless", 50, false},
    {"Immobilized", "Immobilized", 50, false},
    {"Marked", "Marked", 50, false},
    {"Petrified", "Petrified", 50, false},
    {"Prone", "Prone", 50, false},
    {"Restrained", "Restrained", 50, false},
    {"Slowed", "Slowed", 50, false},
    {"Stunned", "Stunned", 50, false},
    {"Surprised", "Surprised", 50, false},
    {"Unconscious", "Unconscious", 50, false},
    {"Weakened", "Weakened", 50, false},
    {"Effects", "Effects", 100, true},
    {"AP", "AP", 30, true},
    {"MS", "MS", 30, true},
    {"UsedEnc", "Enc", 30, true},
    {"UsedDaily", "Daily", 30, true},
    {"UsedDailyItem", "Daily(Item)", 53, true},
    {"UsedSecondWind", "Used SW", 50, true},
};

} // namespace

TForm1::TForm1(QWidget* parent, QString executableFileName)
    : QWidget(parent), ADOConnection1(party.ADOConnection1), ADOTable1(party.ADOTable1),
      ADOTable2(party.ADOTable2), ADOTable3(party.ADOTable3), ADOTable4(party.ADOTable4),
      executableFileName_(executableFileName.isEmpty() ? ui::startedFileName()
                                                       : std::move(executableFileName)),
      ui_(std::make_unique<Ui::TForm1>())
{
    ui_->setupUi(this);
    designSize_ = size();
    move(firstLeft, firstTop);
    setFont(ui::windowFont());
    DataSource1.setDataset(&ADOTable1);
    DataSource2.setDataset(&ADOTable2);
    DataSource3.setDataset(&ADOTable3);
    DataSource4.setDataset(&ADOTable4);
    setUpControls();
    setUpHistory();
    ui::guarded([this] { FormCreate(); })();
}

TForm1::~TForm1()
{
    // The controls go before the datasets they show.
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void TForm1::setUpControls()
{
    ui::DataSource* sources[] = {nullptr, &DataSource1, &DataSource2, &DataSource3, &DataSource4};
    for (const Binding& b : textBindings) {
        auto* text = findChild<ui::DBText*>(b.control);
        text->setDataSource(sources[b.source]);
        text->setDataField(b.field);
        text->setCaption(b.caption);
    }
    // A caption laid out for a narrower face grows rather than being clipped; a centred one
    // grows on both sides.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (qobject_cast<ui::DBText*>(label)) continue;
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
        if (needed <= label->width()) continue;
        const int grow = needed - label->width();
        const bool centred = label == ui_->Label13;
        label->setGeometry(label->x() - (centred ? grow / 2 : 0), label->y(), needed,
                           label->height());
    }
    ui_->Label13->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui_->DBText13->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // A value that stands right of its caption on one line moves just far enough right to
    // stay clear of a caption that grew.
    for (const Beside& b : besides) {
        auto* caption = findChild<QLabel*>(b.caption);
        auto* value = findChild<QLabel*>(b.value);
        const int clear =
            caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()) + captionGap;
        if (value->x() < clear) value->move(clear, value->y());
    }

    for (ui::DBCheckBox* box : ui_->GroupBox2->findChildren<ui::DBCheckBox*>()) {
        box->setDataSource(&DataSource1);
        box->setDataField(box->text());
        box->setCheckedValue(QStringLiteral("True"));
        box->setUncheckedValue(QStringLiteral("False"));
        connect(box, &QCheckBox::stateChanged, this,
                ui::guarded([this, box](int) { DBCheckBoxEh1Click(box); }));
    }

    for (const Look& look : looks) {
        auto* button = findChild<ui::FlatColorButton*>(look.control);
        button->setColor(storedColor(look.fill));
        button->setBorderColor(storedColor(look.border));
    }
    for (const Name& n : accessibleNames)
        if (auto* w = findChild<QWidget*>(n.control)) w->setAccessibleName(n.name);

    for (QLineEdit* edit : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
        edit->installEventFilter(this);

    ui_->DBNavigator1->setDataSource(&DataSource1);
    ui_->DBGrid1->setDataSource(&DataSource3);
    ui_->DBGrid1->setColumns({{"Item", "Item", 241, true}, {"Weight", "Weight", 50, true}});
    setUpGrid();

    // The surge bonus menus: eleven plain numbers each, no accelerator marks.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const char* menu1Names[] = {"N02", "N11", "N21", "N31", "N41", "N51",
                                "N61", "N71", "N81", "N91", "N01"};
    for (int k = 0; k <= 10; ++k) {
        QAction* item1 = PopupMenu1->addAction(QString::number(k));
        item1->setObjectName(menu1Names[k]);
        QAction* item2 = PopupMenu2->addAction(QString::number(k));
        item2->setObjectName(QStringLiteral("MenuItem%1").arg(k + 1));
    }
    ui_->JvArrowButton1->setDropDownMenu(PopupMenu1);
    ui_->JvArrowButton2->setDropDownMenu(PopupMenu2);

    ui_->JvDice1->setValue(5);
    ui::setHint(ui_->JvDice1, QStringLiteral("Click me!"));
    ui_->SpeedButton1->setFocusPolicy(Qt::NoFocus);
    ui_->SpeedButton1->setAutoRaise(true);
    ui_->SpeedButton1->setIcon(ui::images::helpBadge());
    ui_->SpeedButton1->setIconSize(QSize(16, 16));

    // The handlers, by the control that runs them.
    struct Click {
        QAbstractButton* control;
        void (TForm1::*handler)();
    };
    const Click clicks[] = {
        {ui_->Button4, &TForm1::Button4Click},
        {ui_->Button5, &TForm1::Button5Click},
        {ui_->Button7, &TForm1::Button7Click},
        {ui_->Button26, &TForm1::Button26Click},
        {ui_->JvArrowButton1, &TForm1::JvArrowButton1Click},
        {ui_->JvArrowButton2, &TForm1::JvArrowButton2Click},
        {ui_->RbButton3, &TForm1::Button12Click},
        {ui_->RbButton5, &TForm1::Button14Click},
        {ui_->RbButton4, &TForm1::Button15Click},
        {ui_->RbButton6, &TForm1::Button16Click},
        {ui_->Button6, &TForm1::Button6Click},
        {ui_->Button11, &TForm1::Button11Click},
        {ui_->Button23, &TForm1::Button23Click},
        {ui_->Button24, &TForm1::Button24Click},
        {ui_->Button25, &TForm1::Button25Click},
        {ui_->RbButton1, &TForm1::Button22Click},
        {ui_->RbButton7, &TForm1::Button21Click},
        {ui_->RbButton2, &TForm1::Button20Click},
        {ui_->RbButton8, &TForm1::Button19Click},
        {ui_->Button18, &TForm1::Button18Click},
        {ui_->Button17, &TForm1::Button17Click},
        {ui_->Button1, &TForm1::Button1Click},
        {ui_->Button3, &TForm1::Button3Click},
        {ui_->Button9, &TForm1::Button9Click},
        {ui_->Button13, &TForm1::Button13Click},
        {ui_->Button8, &TForm1::Button8Click},
        {ui_->Button2, &TForm1::Button2Click},
        {ui_->Button10, &TForm1::Button10Click},
    };
    // Each click is one step of the history, whatever the handler writes.
    for (const Click& c : clicks)
        connect(c.control, &QAbstractButton::clicked, this,
                ui::guarded([this, h = c.handler, control = c.control](bool) {
                    const store::HistoryStep step(party.history, stepName(control));
                    (this->*h)();
                }));
    connect(ui_->JvDice1, &ui::DecorativeDie::clicked, this,
            ui::guarded([this] { JvDice1Click(); }));
    connect(ui_->Dice, &QAbstractButton::clicked, this, ui::guarded([this](bool) { DiceClick(); }));
    connect(ui_->SpeedButton1, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { SpeedButton1Click(); }));
    connect(PopupMenu1, &QMenu::triggered, this,
            ui::guarded([this](QAction* item) { N01Click(item); }));
    connect(PopupMenu2, &QMenu::triggered, this,
            ui::guarded([this](QAction* item) { MenuItem11Click(item); }));
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            ui::guarded([this] { ReloadClick(); }));
    connect(ui_->DBGridEh1, &ui::DataGrid::changeDropped, this,
            ui::guarded([this] { ReloadClick(); }));
}

void TForm1::setUpGrid()
{
    auto* grid = ui_->DBGridEh1;
    grid->setColumns(
        std::vector<ui::GridColumn>(std::begin(rosterColumns), std::end(rosterColumns)));
    grid->setDataSource(&DataSource1);
    grid->setDrawColumnCell([this](ui::DataGrid& g, const QRect& rect, int dataCol,
                                   const ui::GridColumn& column, const ui::CellState& state) {
        DBGridEh1DrawColumnCell(g, rect, dataCol, column, state);
    });
}

// ---------------------------------------------------------------- start-up

void TForm1::FormCreate()
{
    SurgeBonus = 0;
    ADOConnection1.setConnected(false);
    ui::HintTiming::apply(100, 20000);
    // The file name in the system's own bytes, so that a folder whose name is not valid UTF-8
    // names that folder's party file.
    ADOConnection1.setConnectionString(
        store::connectionStringFor(QFile::encodeName(executableFileName_).toStdString()));
    ADOConnection1.setConnected(true);
    party.history.attach();
    ADOTable1.setActive(true);
    ADOTable2.setActive(true);
    ADOTable3.setActive(true);
    ADOTable4.setActive(true);
    giveConditionHints();
}

void TForm1::giveConditionHints()
{
    for (ui::DBCheckBox* box : ui_->GroupBox2->findChildren<ui::DBCheckBox*>())
        ui::setHint(box, forms::conditionHint(box->text()));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A condition ticked and not yet posted is written as leaving the record would write it.
    ui::guarded([this] { ADOTable1.settle(); })();
    QWidget::closeEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!designSize_.isValid()) return;
    const int grown = width() - designSize_.width();
    for (const Anchoring& a : anchorings) {
        QWidget* w = findChild<QWidget*>(a.control);
        if (!w) continue;
        QRect designed = w->property("designGeometry").toRect();
        if (!designed.isValid()) {
            designed = w->geometry();
            w->setProperty("designGeometry", designed);
        }
        if (a.anchor == Anchor::Right)
            w->move(designed.x() + grown, designed.y());
        else
            w->resize(std::max(0, designed.width() + grown), designed.height());
    }
}

// ---------------------------------------------------------------- the window's own behaviour

void TForm1::DBCheckBoxEh1Click(ui::DBCheckBox* sender)
{
    // The same signal comes when a box follows another record; the dataset is browsing then.
    store::Dataset* dataset = sender->dataSource() ? sender->dataSource()->dataset() : nullptr;
    if (dataset && dataset->state() == store::DatasetState::Edit) sender->writeToField();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == ui_->Edit1 || watched == ui_->Edit2 || watched == ui_->Edit3)) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool handled = false;
        ui::guarded([&] { handled = Edit1KeyDown(key->key()); })();
        if (handled) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::Edit1KeyDown(int key)
{
    // Enter with any Shift, Ctrl or Alt state applies what was typed.
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const store::HistoryStep step(party.history, stepName(ui_->Button5));
    Button5Click();
    return true;
}

void TForm1::DBGridEh1DrawColumnCell(ui::DataGrid& grid, const QRect& rect, int dataCol,
                                     const ui::GridColumn& column, const ui::CellState& state)
{
    const std::int32_t cur = ADOTable1.fieldByName("CurHP").asInteger();
    const std::int32_t half =
        ADOTable1.fieldByName("TotalHP").asInteger() / 2; // truncates toward zero
    grid.canvasBrushColor(storedColor(cur > half ? clPaleBlue : cur > 0 ? clRed : clAqua));
    grid.canvasFontColor(storedColor(clBlack));
    grid.defaultDrawColumnCell(rect, dataCol, column, state);
}

// Every click opens another window over the earlier ones, which stay as they are; the main
// window owns them all and destroys them with itself.
void TForm1::DiceClick()
{
    auto* dice = new forms::TForm12(this);
    dice->show();
}

void TForm1::SpeedButton1Click()
{
    auto* about = new forms::TAboutBox(this);
    about->show();
}

void TForm1::JvDice1Click()
{
    ui_->JvDice1->setRotate(!ui_->JvDice1->rotate());
}

void TForm1::Button4Click()
{
    ADOTable1.setSort("Initiative DESC");
}

// ---------------------------------------------------------------- hit points and surges

void TForm1::Button5Click()
{
    const std::string damage = ui_->Edit1->text().toStdString();
    const std::string heal = ui_->Edit2->text().toStdString();
    const std::string temporary = ui_->Edit3->text().toStdString();
    QLineEdit* edits[] = {ui_->Edit1, ui_->Edit2, ui_->Edit3};
    actions::applyHitPoints(
        ADOTable1, {damage, heal, temporary}, [&](const actions::EnteredText& entered) {
            QLineEdit* edit = edits[static_cast<int>(entered.entry)];
            if (!entered.numeric)
                ui::showWarning(this,
                                QString::fromStdString(actions::notNumericMessage(entered.text)));
            edit->clear();
            if (!entered.numeric) edit->setFocus();
        });
}

void TForm1::healBy(std::int32_t amount)
{
    ui_->Edit2->setText(QString::number(amount));
    ui_->Edit3->clear();
    Button5Click();
}

void TForm1::JvArrowButton1Click()
{
    ui_->Edit1->clear();
    healBy(actions::surgeValue(ADOTable1, SurgeBonus));
    actions::spendHealingSurge(ADOTable1);
}

void TForm1::JvArrowButton2Click()
{
    ui_->Edit1->clear();
    healBy(actions::surgeValue(ADOTable1, SurgeBonus));
}

void TForm1::Button7Click()
{
    actions::spendHealingSurge(ADOTable1);
}

void TForm1::Button26Click()
{
    if (actions::secondWindUsed(ADOTable1)) return;
    ui_->Edit1->clear();
    healBy(actions::secondWindValue(ADOTable1));
    actions::spendSecondWind(ADOTable1);
}

void TForm1::N01Click(QAction* item)
{
    ui_->JvArrowButton1->setText(QStringLiteral("Use HS with bonus ") + item->text());
    SurgeBonus = store::toWholeNumber(item->text().toStdString());
}

void TForm1::MenuItem11Click(QAction* item)
{
    ui_->JvArrowButton2->setText(QStringLiteral("Apply HS value with bonus ") + item->text());
    SurgeBonus = store::toWholeNumber(item->text().toStdString());
}

// ---------------------------------------------------------------- personal and group actions

void TForm1::Button12Click()
{
    actions::addMilestone(ADOTable1);
}
void TForm1::Button14Click()
{
    actions::useMilestone(ADOTable1);
}
void TForm1::Button15Click()
{
    actions::addActionPoint(ADOTable1);
}
void TForm1::Button16Click()
{
    actions::useActionPoint(ADOTable1);
}
void TForm1::Button6Click()
{
    actions::takeShortRest(ADOTable1);
}
void TForm1::Button11Click()
{
    actions::takeExtendedRest(ADOTable1);
}
void TForm1::Button23Click()
{
    actions::useEncounterPower(ADOTable1);
}
void TForm1::Button24Click()
{
    actions::useDailyPower(ADOTable1);
}
void TForm1::Button25Click()
{
    actions::useDailyItemPower(ADOTable1);
}

void TForm1::Button22Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button12Click(); });
}
void TForm1::Button21Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button14Click(); });
}
void TForm1::Button20Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button15Click(); });
}
void TForm1::Button19Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button16Click(); });
}
void TForm1::Button18Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button6Click(); });
}
void TForm1::Button17Click()
{
    actions::forEachPlayerCharacter(ADOTable1, [this] { Button11Click(); });
}

// The character and NPC dialogs write with statements of their own and the roster is read
// again after them, which would drop a condition ticked and not yet posted: a change of a
// stored character is posted first. Should that post be refused, the error is shown and no
// dialog opens. A new record that was only begun (a box ticked on an empty roster) is no
// character yet: it stays pending, to be dropped by the reopen after OK.
void TForm1::settleBeforeDialog()
{
    if (ADOTable1.state() == store::DatasetState::Edit) ADOTable1.settle();
}

void TForm1::Button1Click()
{
    settleBeforeDialog();
    TForm2 dialog(this, ADOConnection1, ADOTable1);
    dialog.CharID = 0;
    if (ui::showModal(dialog) == ui::mrOk) ADOTable1.reopen();
}

void TForm1::Button3Click()
{
    settleBeforeDialog();
    TForm2 dialog(this, ADOConnection1, ADOTable1);
    dialog.CharID = ADOTable1.fieldByName("ID").asInteger();
    if (ui::showModal(dialog) == ui::mrOk) ADOTable1.reopen();
}

void TForm1::Button13Click()
{
    settleBeforeDialog();
    TForm4 dialog(this, ADOConnection1);
    if (ui::showModal(dialog) == ui::mrOk) ADOTable1.reopen();
}

void TForm1::Button9Click()
{
    const std::string name = ADOTable1.fieldByName("Name").value().toString();
    if (!ui::confirm(this, QString::fromStdString("Delete " + name + "?"))) return;
    ADOTable1.deleteRecord();
    // The party's sums would otherwise go on counting the deleted character's coins.
    ADOTable2.reopen();
    ADOTable4.reopen();
}

bool TForm1::CheckNumericEdit(QLineEdit& edit)
{
    const std::string text = edit.text().toStdString();
    if (actions::passesNumericCheck(text)) return true;
    ui::showWarning(this, QString::fromStdString(actions::notNumericMessage(text)));
    edit.setText(QStringLiteral("0"));
    edit.setFocus();
    return false;
}

void TForm1::Button8Click()
{
    QLineEdit* const amounts[] = {ui_->Edit4, ui_->Edit5, ui_->Edit6, ui_->Edit7, ui_->Edit8};
    for (QLineEdit* edit : amounts)
        if (!CheckNumericEdit(*edit)) return;
    const auto amount = [](const QLineEdit* edit) {
        return actions::amountOf(edit->text().toStdString());
    };
    const actions::Coins coins{amount(ui_->Edit4), amount(ui_->Edit5), amount(ui_->Edit6),
                               amount(ui_->Edit7), amount(ui_->Edit8)};
    const bool posted = actions::applyMoney(ADOTable1, coins, [&] {
        for (QLineEdit* edit : amounts)
            edit->setText(QStringLiteral("0"));
    });
    if (!posted) return;
    ADOTable2.reopen();
    ADOTable4.reopen();
}

void TForm1::Button2Click()
{
    // Without a current character the item would belong to nobody.
    if (ADOTable1.active() && ADOTable1.isEmpty()) return;
    ADOTable3.appendValues(
        {ADOTable1.fieldByName("Name").value(), store::Value(""), store::Value(std::int32_t{0})});
    ADOTable3.edit();
    TForm3 dialog(this, DataSource3);
    if (ui::showModal(dialog) == ui::mrOk) ADOTable3.post();
    ADOTable4.reopen();
}

void TForm1::Button10Click()
{
    const std::string item = ADOTable3.fieldByName("Item").value().toString();
    if (ui::confirm(this, QString::fromStdString("Delete " + item + "?"))) ADOTable3.deleteRecord();
    ADOTable4.reopen();
}

void TForm1::ReloadClick()
{
    if (ADOTable1.active()) ADOTable1.cancel();
    readAgain();
}
