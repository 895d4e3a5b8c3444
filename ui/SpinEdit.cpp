#include "ui/SpinEdit.h"

#include "store/WholeNumber.h"
#include "ui/Beep.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace ui {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setAccelerated(false);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
}

int SpinEdit::value() const
{
    const auto parsed = store::parseWholeNumber(text().toStdString());
    return parsed ? *parsed : min_;
}

int SpinEdit::checkValue(int value) const
{
    if (max_ == min_) return value;
    return std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void SpinEdit::setValue(int value)
{
    setText(QString::number(checkValue(value)));
}

QString SpinEdit::text() const
{
    return lineEdit()->text();
}

void SpinEdit::setText(const QString& text)
{
    if (lineEdit()->text() == text) return;
    lineEdit()->setText(text);
}

bool SpinEdit::isValidChar(QChar c) const
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) return true;
    return QString(c) == locale().decimalPoint();
}

void SpinEdit::stepBy(int steps)
{
    if (isReadOnly()) {
        beep();
        return;
    }
    const long long next = static_cast<long long>(value()) + steps;
    const int bounded = static_cast<int>(std::clamp<long long>(next, INT32_MIN, INT32_MAX));
    setValue(bounded);
}

QValidator::State SpinEdit::validate(QString& input, int&) const
{
    for (const QChar c : input)
        if (!isValidChar(c)) return QValidator::Invalid;
    return QValidator::Acceptable;
}

void SpinEdit::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    // Both arrows are always offered; a step brings the value into range.
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

bool SpinEdit::windowHasDefaultButton() const
{
    const auto buttons = window()->findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(),
                       [](const QPushButton* b) { return b->isDefault() && b->isVisible(); });
}

void SpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) break;
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        event->accept(); // no paging: the arrows step by one
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (windowHasDefaultButton()) {
            event->ignore(); // the window's dialog key presses its default button
            return;
        }
        beep();
        event->accept();
        return;
    default:
        break;
    }
    const QString text = event->text();
    const bool control = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!text.isEmpty() && !control) {
        for (const QChar c : text) {
            const bool controlChar = c.unicode() < 0x20 || c.unicode() == 0x7F;
            if (!controlChar && !isValidChar(c)) {
                beep();
                event->accept();
                return;
            }
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

int SpinEdit::valueInRange()
{
    const int current = value();
    if (checkValue(current) != current) setValue(current);
    return value();
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    valueInRange();
}

QSize SpinEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics fm(font());
    const int digits = std::max(fm.horizontalAdvance(QString::number(min_)),
                                fm.horizontalAdvance(QString::number(max_)));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(std::max(digits, fm.horizontalAdvance(QStringLiteral("0000"))) + 4,
                        lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

QSize SpinEdit::minimumSizeHint() const
{
    return sizeHint();
}

} // namespace ui
