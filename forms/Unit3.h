#pragma once

#include "forms/DialogForm.h"

#include <memory>

namespace Ui {
class TForm3;
}
namespace ui {
class DataSource;
}

// The item dialog: the name and weight of the item just appended to the current character's
// inventory, typed straight into that record. "Add" leaves the record for the caller to post;
// "Cancel", and the close box as well, delete it again, so that no blank item is left behind
// and the inventory is back in browse state.
//
// The caller appends the record and puts the inventory into edit state, creates the dialog
// over the inventory's data source, shows it with ui::showModal, posts the record when the
// result is ui::mrOk, and reopens the weight whatever the result.
class TForm3 : public forms::DialogForm {
    Q_OBJECT

public:
    TForm3(QWidget* owner, ui::DataSource& DataSource3);
    ~TForm3() override;

    void reject() override;

private:
    void DBEditEh2Change();
    void Button2Click();

    ui::DataSource& DataSource3;
    std::unique_ptr<Ui::TForm3> ui_;
};
