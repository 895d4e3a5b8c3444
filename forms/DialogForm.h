#pragma once

#include <QDialog>

class QAbstractButton;
class QKeyEvent;

namespace forms {

// A modal dialog of the party windows: the window font, its own place on the screen, and
// keys as the master expects them there. None of these dialogs has a default button, so
// Enter typed in an edit presses nothing, while Enter on a focused button presses that
// button; Esc presses the cancel button where the dialog has one and is ignored elsewhere.
// Closing the window by its close box ends it with Cancel's result.
class DialogForm : public QDialog {
    Q_OBJECT

public:
    DialogForm(QWidget* owner, QPoint place);

    void reject() override;

protected:
    // Called once the layout is set up, with the button Esc presses (or none). No button is
    // drawn as the default one either, since Enter in an edit presses none.
    void setUpButtons(QAbstractButton* cancelButton);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QAbstractButton* cancelButton_ = nullptr;
};

} // namespace forms
