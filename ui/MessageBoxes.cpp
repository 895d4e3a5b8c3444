#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {

class RealMessageBoxes : public MessageBoxes {
public:
    ModalResult show(QWidget* parent, const MessageRequest& request) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(request.caption);
        // Names and typed texts are shown as typed, never read as markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(request.text);
        switch (request.kind) {
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        box.setStandardButtons(request.withCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                  : QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? mrOk : mrCancel;
    }
};

RealMessageBoxes realBoxes;
MessageBoxes* installed = nullptr;

QString applicationTitle()
{
    return QApplication::applicationDisplayName().isEmpty()
               ? QStringLiteral("Tavrix")
               : QApplication::applicationDisplayName();
}

} // namespace

MessageBoxes& MessageBoxes::current()
{
    return installed ? *installed : realBoxes;
}
void MessageBoxes::install(MessageBoxes* boxes)
{
    installed = boxes;
}

void showWarning(QWidget* parent, const QString& text)
{
    MessageBoxes::current().show(parent,
                                 {MessageKind::Warning, QStringLiteral("Warning"), text, false});
}

bool confirm(QWidget* parent, const QString& text)
{
    return MessageBoxes::current().show(
               parent, {MessageKind::Confirmation, QStringLiteral("Confirm"), text, true}) == mrOk;
}

void showMessage(QWidget* parent, const QString& text)
{
    MessageBoxes::current().show(parent, {MessageKind::Plain, applicationTitle(), text, false});
}

} // namespace ui
