#pragma once

#include "forms/DialogForm.h"
#include "store/Statement.h"

#include <memory>

class QLineEdit;
class QShowEvent;

namespace Ui {
class TForm2;
}
namespace store {
class Connection;
class Dataset;
} // namespace store

// The character dialog: a player character's name and fixed numbers. With CharID 0 it adds a
// new player character; with a record's ID it shows the current character's values and
// writes them back to that record, resetting its current hit points to the new maximum.
// It writes through statements of its own, so the caller reopens the roster after OK.
//
// The caller creates one per opening, sets CharID, shows it with ui::showModal and reopens
// the roster when the result is ui::mrOk.
class TForm2 : public forms::DialogForm {
    Q_OBJECT

public:
    TForm2(QWidget* owner, store::Connection& ADOConnection1, store::Dataset& ADOTable1);
    ~TForm2() override;

    int CharID = 0; // 0: add a player character; otherwise the ID of the record to update

    // The statements the dialog runs, as they stand.
    const store::Statement& insertStatement() const { return ADOQuery1; }
    const store::Statement& updateStatement() const { return ADOQuery2; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void Edit2Change(QLineEdit* Sender);

    store::Dataset& ADOTable1;
    store::Statement ADOQuery1; // the insert
    store::Statement ADOQuery2; // the update
    std::unique_ptr<Ui::TForm2> ui_;
};
