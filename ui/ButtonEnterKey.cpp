#include "ui/ButtonEnterKey.h"

#include <QKeyEvent>
#include <QPushButton>

namespace ui {

bool ButtonEnterKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !button->hasFocus() || !button->isEnabled()) return false;
    button->click();
    return true;
}

} // namespace ui
