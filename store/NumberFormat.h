#pragma once

#include <string>

namespace store {

// The decimal separator of the user's number settings. The store cannot ask the desktop for
// it, so the application tells it once at start; it is "." until then.
char decimalSeparator();
void setDecimalSeparator(char separator);

// The general number format with at most 15 significant digits: no grouping, no trailing
// zeros, no decimal part for a whole value, an exponent ("1E20", "1E-7") only where plain
// digits would need more than 15 of them.
std::string formatGeneral(double value);

} // namespace store
