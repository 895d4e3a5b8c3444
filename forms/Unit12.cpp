#include "forms/Unit12.h"

#include "ui_Unit12.h"

#include "store/WholeNumber.h"
#include "ui/ErrorHandler.h"
#include "ui/LabelSize.h"
#include "ui/Random.h"
#include "ui/SpinEdit.h"
#include "ui/WindowFont.h"

#include <QPushButton>

namespace forms {

TForm12::TForm12(QWidget* owner) : QWidget(owner, Qt::Window), ui_(std::make_unique<Ui::TForm12>())
{
    setFont(ui::windowFont());
    ui_->setupUi(this);
    move(firstLeft, firstTop);

    ui_->Label1->setFont(ui::rollFont());
    QPalette red = ui_->Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ui_->Label1->setPalette(red);
    ui::sizeLabelToText(ui_->Label2);
    showRollText(ui_->Label1->text());

    for (QPushButton* b : {ui_->Button1, ui_->Button2, ui_->Button3, ui_->Button4, ui_->Button10,
                           ui_->Button7, ui_->Button6})
        connect(b, &QPushButton::clicked, this, ui::guarded([this, b](bool) { Button1Click(b); }));
    connect(ui_->Button8, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button8Click(); }));

    ui::guarded([this] { FormCreate(); })();
}

TForm12::~TForm12() = default;

void TForm12::FormCreate()
{
    ui::random::randomize();
}

QString TForm12::rollText(const std::vector<int>& rolls)
{
    long long sum = 0;
    QString list;
    for (const int roll : rolls) {
        sum += roll;
        list += QString::number(roll) + QLatin1Char('+');
    }
    list.chop(1); // the last "+"
    return QString::number(sum) + QLatin1Char('=') + list;
}

void TForm12::Button1Click(QObject* sender)
{
    const auto* button = qobject_cast<QAbstractButton*>(sender);
    if (!button) return;
    const int sides = store::toWholeNumber(button->text().mid(2).toStdString());
    const int count = ui_->SpinEdit1->valueInRange();
    std::vector<int> rolls;
    for (int i = 0; i < count; ++i)
        rolls.push_back(ui::random::below(sides) + 1);
    showRollText(rollText(rolls));
}

void TForm12::Button8Click()
{
    close();
}

void TForm12::showRollText(const QString& text)
{
    ui_->Label1->setValueText(text);
    // The roll text has no blanks: it stands on one line, however long, and the window widens
    // as far as needed to show every roll in full (ten rolls of "1d100" pass its right edge).
    ui::sizeLabelToOneLine(ui_->Label1);
    const int needed = ui_->Label1->geometry().right() + 1 + ui_->Label1->x();
    if (needed > width()) resize(needed, height());
}

ui::SpinEdit* TForm12::SpinEdit1() const
{
    return ui_->SpinEdit1;
}
QLabel* TForm12::Label1() const
{
    return ui_->Label1;
}

QAbstractButton* TForm12::button(const QString& componentName) const
{
    return findChild<QAbstractButton*>(componentName);
}

} // namespace forms
