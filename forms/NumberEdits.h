#pragma once

#include <cstdint>

class QLineEdit;

namespace forms {

// The typing check of a dialog's number edit, run on every change of its text. A text that
// is neither empty nor a whole number is warned about ("<text> is not numeric value") and
// loses its last character; putting the shorter text back changes the edit again, so its
// change handler checks that text in turn, until what is left passes. The edit then has the
// focus with the caret at the end.
void checkNumberTyping(QLineEdit& edit);

// The edit's whole text as a whole number; raises "'<text>' is not a valid integer value"
// for a text that is not one, the empty text included.
std::int32_t wholeNumberOf(const QLineEdit& edit);

} // namespace forms
