#include "forms/Unit2.h"

#include "forms/CharacterEdits.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Transaction.h"
#include "ui/ErrorHandler.h"
#include "ui/MessageBoxes.h"

#include "ui_Unit2.h"

#include <QShowEvent>

#include <string>
#include <vector>

namespace {

constexpr const char* deletedMeanwhile =
    "The character was deleted by another program since it was read, so this change was not "
    "saved";
constexpr const char* changedMeanwhile =
    "The character was changed or deleted by another program since this dialog opened, so this "
    "change was not saved; cancel and open Edit Char again to see it";

// The columns the update writes: each must still hold what the dialog was opened with.
const std::vector<std::string> updatedColumns = {"Name", "TotalHP", "CurHP", "Initiative",
                                                 "AC",   "Fort",    "Ref",   "Will"};

} // namespace

TForm2::TForm2(QWidget* owner, store::Connection& ADOConnection1, store::Dataset& ADOTable1)
    : DialogForm(owner, QPoint(244, 116)), ADOTable1(ADOTable1),
      ADOQuery1(ADOConnection1, "ADOQuery1"), ADOQuery2(ADOConnection1, "ADOQuery2"),
      ui_(std::make_unique<Ui::TForm2>())
{
    ui_->setupUi(this);
    setFixedSize(size());
    setUpButtons(ui_->Button2);
    ui_->Button1->setFocus();

    ADOQuery1.setSql(
        "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
        "                     VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, "
        ":Will, :PC );");
    ADOQuery2.setSql("UPDATE Table1 SET Table1.Name = :Name, Table1.TotalHP = :TotalHP, "
                     "Table1.CurHP = :CurHP, Table1.Initiative = :Initiative, Table1.AC = :AC, "
                     "Table1.Fort = :Fort, Table1.Ref = :Ref, Table1.Will = :Will\n"
                     "WHERE (Table1.ID=:ID);");
    // The insert hands its numbers over as texts, which the columns turn back into numbers;
    // the update hands over whole numbers.
    forms::declareCharacterParameters(ADOQuery1, store::ValueType::String);
    ADOQuery1.paramByName("PC").declare(store::ValueType::Boolean);
    forms::declareCharacterParameters(ADOQuery2, store::ValueType::Integer);
    ADOQuery2.paramByName("ID").declare(store::ValueType::Integer);

    connect(ui_->Button1, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { Button1Click(); }));
    connect(ui_->Button2, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { Button2Click(); }));
    for (QLineEdit* edit : forms::numberEdits(*ui_))
        connect(edit, &QLineEdit::textChanged, this,
                ui::guarded([this, edit](const QString&) { Edit2Change(edit); }));
}

TForm2::~TForm2() = default;

void TForm2::showEvent(QShowEvent* event)
{
    DialogForm::showEvent(event);
    if (!event->spontaneous()) ui::guarded([this] { FormShow(); })();
}

void TForm2::FormShow()
{
    if (CharID <= 0) return;
    setWindowTitle(QStringLiteral("Edit Char"));
    // Setting a number edit runs its typing check, so a decimal Initiative is cut back, with
    // a warning for each step, to the whole number the statements can bind.
    const std::pair<QLineEdit*, const char*> shown[] = {
        {ui_->Edit1, "Name"}, {ui_->Edit2, "Initiative"}, {ui_->Edit3, "TotalHP"},
        {ui_->Edit4, "AC"},   {ui_->Edit5, "Fort"},       {ui_->Edit6, "Ref"},
        {ui_->Edit7, "Will"},
    };
    for (const auto& [edit, field] : shown)
        edit->setText(QString::fromStdString(ADOTable1.fieldByName(field).displayText()));
}

void TForm2::Button1Click()
{
    store::Statement& statement = CharID == 0 ? ADOQuery1 : ADOQuery2;
    statement.paramByName("Name").setValue(ui_->Edit1->text().toStdString());
    forms::bindCharacterNumbers(statement, *ui_);
    if (CharID == 0)
        statement.paramByName("PC").setValue(true);
    else
        statement.paramByName("ID").setValue(store::Value(CharID));
    // Another program's change of the record is never overwritten: the record must still hold
    // what the dialog showed, checked in the same transaction as the update.
    store::Transaction transaction(statement.connection());
    if (CharID != 0 && ADOTable1.active() && !ADOTable1.isEmpty() &&
        ADOTable1.fieldByName("ID").asInteger() == CharID) {
        try {
            ADOTable1.requireUnchanged(updatedColumns);
        }
        catch (const store::Error&) {
            throw store::Error(store::prefixed(ADOQuery2.name(), changedMeanwhile));
        }
    }
    // An update that finds no record (another program deleted the character meanwhile) wrote
    // nothing: said as a refusal, so the typed values are not dropped as if saved.
    if (statement.execute() == 0 && CharID != 0)
        throw store::Error(store::prefixed(ADOQuery2.name(), deletedMeanwhile));
    transaction.commit();
    // Only a written record closes the dialog: a number that does not convert, or a statement
    // the database refuses, leaves it open with everything the master typed.
    done(ui::mrOk);
}

void TForm2::Button2Click()
{
    done(ui::mrCancel);
}

void TForm2::Edit2Change(QLineEdit* Sender)
{
    forms::checkNumberTyping(*Sender);
}
