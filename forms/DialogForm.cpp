#include "forms/DialogForm.h"

#include "ui/MessageBoxes.h"
#include "ui/WindowFont.h"

#include <QKeyEvent>
#include <QPushButton>

namespace forms {

DialogForm::DialogForm(QWidget* owner, QPoint place) : QDialog(owner)
{
    setFont(ui::windowFont());
    // A place of its own: without it the dialog would be centred on its owner.
    move(place);
}

void DialogForm::setUpButtons(QAbstractButton* cancelButton)
{
    cancelButton_ = cancelButton;
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

void DialogForm::reject()
{
    done(ui::mrCancel);
}

void DialogForm::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) button->click();
        return;
    case Qt::Key_Escape:
        if (cancelButton_) cancelButton_->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace forms
