#include "ui/FlatColorButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace ui {

FlatColorButton::FlatColorButton(QWidget* parent) : FlatColorButton(QString(), parent) {}

FlatColorButton::FlatColorButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    setAutoDefault(false);
}

void FlatColorButton::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void FlatColorButton::setBorderColor(const QColor& color)
{
    borderColor_ = color;
    update();
}

void FlatColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    // A pressed button shows a shade darker and its caption a pixel down and right, so that
    // the press is seen without leaving the flat look.
    const bool pressed = isDown() || isChecked();
    QColor fill = isEnabled() ? color_ : color_.lighter(115);
    if (pressed) fill = fill.darker(115);
    painter.fillRect(frame, fill);
    painter.setPen(borderColor_);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    QRect textRect = frame.adjusted(3, 3, -3, -3);
    if (pressed) textRect.translate(1, 1);
    painter.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::ButtonText)
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = frame.adjusted(3, 3, -3, -3);
        focus.backgroundColor = fill;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace ui
