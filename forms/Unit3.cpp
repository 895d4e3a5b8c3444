#include "forms/Unit3.h"

#include "forms/NumberEdits.h"
#include "ui/DBEdit.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"
#include "ui/MessageBoxes.h"

#include "ui_Unit3.h"

namespace {

struct Binding {
    const char* control;
    const char* field;
};
const Binding bindings[] = {
    {"DBEditEh1", "Item"},
    {"DBEditEh2", "Weight"},
};

} // namespace

TForm3::TForm3(QWidget* owner, ui::DataSource& DataSource3)
    : DialogForm(owner, QPoint(487, 316)), DataSource3(DataSource3),
      ui_(std::make_unique<Ui::TForm3>())
{
    ui_->setupUi(this);
    setFixedSize(size());
    setUpButtons(nullptr);
    for (const Binding& b : bindings) {
        auto* edit = findChild<ui::DBEdit*>(b.control);
        edit->setDataSource(&DataSource3);
        edit->setDataField(b.field);
    }
    ui_->DBEditEh1->setFocus();

    connect(ui_->DBEditEh2, &QLineEdit::textChanged, this,
            ui::guarded([this](const QString&) { DBEditEh2Change(); }));
    connect(ui_->Button1, &QAbstractButton::clicked, this, [this] { done(ui::mrOk); });
    connect(ui_->Button2, &QAbstractButton::clicked, this,
            ui::guarded([this](bool) { Button2Click(); }));
}

TForm3::~TForm3() = default;

void TForm3::reject()
{
    ui::guarded([this] { Button2Click(); })();
}

void TForm3::DBEditEh2Change()
{
    forms::checkNumberTyping(*ui_->DBEditEh2);
}

void TForm3::Button2Click()
{
    // The record was added to the file before the dialog opened: taking it out again is what
    // makes this a cancel. Should that fail, the dialog stays open with the record as typed.
    if (store::Dataset* inventory = DataSource3.dataset()) inventory->deleteRecord();
    done(ui::mrCancel);
}
