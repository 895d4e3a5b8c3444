#include "forms/NumberEdits.h"

#include "actions/NumericCheck.h"
#include "store/WholeNumber.h"
#include "ui/MessageBoxes.h"

#include <QLineEdit>

#include <string>

namespace forms {

namespace {

// The text without its last character: a character outside the basic plane is one
// character, not two halves.
QString withoutLastCharacter(QString text)
{
    const qsizetype n = text.size();
    const bool pair = n >= 2 && text.at(n - 1).isLowSurrogate() && text.at(n - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
    return text;
}

} // namespace

void checkNumberTyping(QLineEdit& edit)
{
    const QString text = edit.text();
    const std::string typed = text.toStdString();
    if (actions::passesNumericCheck(typed)) return;
    ui::showWarning(edit.window(), QString::fromStdString(actions::notNumericMessage(typed)));
    edit.setText(withoutLastCharacter(text));
    edit.setFocus();
    edit.setCursorPosition(static_cast<int>(edit.text().size()));
}

std::int32_t wholeNumberOf(const QLineEdit& edit)
{
    return store::toWholeNumber(edit.text().toStdString());
}

} // namespace forms
