#pragma once

#include "forms/DialogForm.h"
#include "store/Statement.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TForm4;
}
namespace store {
class Connection;
}

// The NPC batch dialog: one name, one set of numbers and a quantity q, inserted as q
// non-player characters named "<name>.1" to "<name>.q", each at full hit points. It writes
// through a statement of its own, so the caller reopens the roster after OK.
//
// The caller creates one per opening, shows it with ui::showModal and reopens the roster
// when the result is ui::mrOk.
class TForm4 : public forms::DialogForm {
    Q_OBJECT

public:
    TForm4(QWidget* owner, store::Connection& ADOConnection1);
    ~TForm4() override;

    // The statement the dialog runs once per NPC, as it stands.
    const store::Statement& insertStatement() const { return ADOQuery1; }

private:
    void Button1Click();
    void Button2Click();
    void Edit2Change(QLineEdit* Sender);

    store::Statement ADOQuery1; // the insert, prepared once for the whole batch
    std::unique_ptr<Ui::TForm4> ui_;
};
