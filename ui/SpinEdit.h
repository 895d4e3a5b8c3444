#pragma once

// The whole-number spin edit (the TSpinEdit of the windows): a one-line edit with up and down
// arrows and the properties MinValue, MaxValue and Value.
//
// - Typing accepts the digits, "+", "-", the locale's decimal separator and control keys
//   (Backspace, Delete, the arrows, Tab, Ctrl shortcuts...); every other character, Enter
//   included, is refused with a beep and not inserted. (Enter goes on to the window without a
//   beep when the window has a default push button, as a dialog's Enter key presses it.)
// - The arrows, the Up and Down keys and the mouse wheel step the value by 1; the result is
//   brought into MinValue..MaxValue.
// - On losing the focus, a number outside MinValue..MaxValue is set to the nearer bound; a text
//   that is not a whole number ("", "-", "1.5") is left as it is.
// - value() reads the text by the whole-number rule (store::parseWholeNumber), giving MinValue
//   when the text is not a whole number.
// - When MinValue equals MaxValue (both 0 at first) nothing is brought into range.
//
// In a .ui file: promote a QAbstractSpinBox (or a QWidget) to ui::SpinEdit with header
// "ui/SpinEdit.h" and set the properties minimum, maximum and value, in that order.

#include <QAbstractSpinBox>
#include <QString>

namespace ui {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minValue WRITE setMinValue)
    Q_PROPERTY(int maximum READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int value READ value WRITE setValue USER true)

public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int minValue() const { return min_; }
    void setMinValue(int value) { min_ = value; }
    int maxValue() const { return max_; }
    void setMaxValue(int value) { max_ = value; }

    // The text as a whole number, or MinValue when it is not one.
    int value() const;
    // Shows the value, brought into MinValue..MaxValue.
    void setValue(int value);

    // The text as it stands, and setting it as it is (no check, no range).
    QString text() const;
    void setText(const QString& text);

    // The value brought into MinValue..MaxValue (unchanged when they are equal).
    int checkValue(int value) const;

    // The value, with a number outside MinValue..MaxValue first set to the nearer bound as
    // leaving the box does: for a handler that must not trust the box to have lost the focus
    // (a button pressed through assistive technology leaves the focus where it is).
    int valueInRange();

    // Whether typing this character is accepted.
    bool isValidChar(QChar c) const;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The text changed, by typing, stepping or setting.
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool windowHasDefaultButton() const;

    int min_ = 0;
    int max_ = 0;
};

} // namespace ui
