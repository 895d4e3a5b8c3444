#pragma once

#include <QString>

class QWidget;

namespace ui {

enum class MessageKind { Warning, Confirmation, Error, Plain };

// What a modal window or a message box was closed with, as the windows' buttons set it.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

struct MessageRequest {
    MessageKind kind = MessageKind::Plain;
    QString caption;
    QString text;
    bool withCancel = false; // OK and Cancel; otherwise a single OK
};

// Every message box of the program goes through this, so that tests can answer them and
// read what they said.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual ModalResult show(QWidget* parent, const MessageRequest& request) = 0;

    // The one in use: real message boxes unless a test installed its own.
    static MessageBoxes& current();
    // Installs another one (a test's); nullptr restores the real message boxes.
    static void install(MessageBoxes* boxes);
};

// A warning with a single OK button, such as "7a is not numeric value".
void showWarning(QWidget* parent, const QString& text);
// A confirmation with OK and Cancel; true when OK was pressed.
bool confirm(QWidget* parent, const QString& text);
// A plain message box captioned with the application's title.
void showMessage(QWidget* parent, const QString& text);

} // namespace ui
