#include "forms/Unit4.h"

#include "forms/CharacterEdits.h"
#include "store/Transaction.h"
#include "ui/ErrorHandler.h"
#include "ui/MessageBoxes.h"
#include "ui/SpinEdit.h"

#include "ui_Unit4.h"

#include <exception>
#include <string>

TForm4::TForm4(QWidget* owner, store::Connection& ADOConnection1)
    : DialogForm(owner, QPoint(208, 135)), ADOQuery1(ADOConnection1, "ADOQuery1"),
      ui_(std::make_unique<Ui::TForm4>())
{
    ui_->setupUi(this);
    setUpButtons(ui_->Button2);
    ui_->Button1->setFocus();

    ADOQuery1.setSql(
        "INSERT INTO Table1 ( Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC )\n"
        "   VALUES (:Name, :TotalHP, :CurHP, :Initiative, :AC, :Ref, :Fort, :Will, :PC );");
    ADOQuery1.setPrepared(true);
    forms::declareCharacterParameters(ADOQuery1, store::ValueType::Integer);
    ADOQuery1.paramByName("PC").declare(store::ValueType::Boolean);
    ADOQuery1.paramByName("PC").setValue(false);

    connect(ui_->Button1, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { Button1Click(); }));
    connect(ui_->Button2, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { Button2Click(); }));
    for (QLineEdit* edit : forms::numberEdits(*ui_))
        connect(edit, &QLineEdit::textChanged, this,
                ui::guarded([this, edit](const QString&) { Edit2Change(edit); }));
}

TForm4::~TForm4() = default;

void TForm4::Button1Click()
{
    const int quantity = ui_->SpinEdit1->valueInRange();
    const std::string name = ui_->Edit1->text().toStdString();
    int inserted = 0;
    // The batch is one step: one commit, each NPC a savepoint of it. A refused NPC stops the
    // batch, the ones before it are written; a commit that fails writes none of them.
    try {
        store::runStep(
            ADOQuery1.connection(),
            [&] {
                for (int n = 1; n <= quantity; ++n) {
                    ADOQuery1.paramByName("Name").setValue(name + "." + std::to_string(n));
                    forms::bindCharacterNumbers(ADOQuery1, *ui_);
                    ADOQuery1.paramByName("PC").setValue(false);
                    ADOQuery1.execute();
                    ++inserted;
                }
            },
            [&] { inserted = 0; });
    }
    catch (const std::exception& e) {
        ADOQuery1.close();
        // Nothing written: the dialog stays open with everything typed. Once part of the
        // batch is in the file, the roster must be read again to show it.
        if (inserted == 0) throw;
        ui::showError(e);
        done(ui::mrOk);
        return;
    }
    ADOQuery1.close();
    done(ui::mrOk);
}

void TForm4::Button2Click()
{
    done(ui::mrCancel);
}

void TForm4::Edit2Change(QLineEdit* Sender)
{
    forms::checkNumberTyping(*Sender);
}
