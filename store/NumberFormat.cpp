#include "store/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace store {

namespace {
char separator = '.';
}

char decimalSeparator()
{
    return separator;
}
void setDecimalSeparator(char value)
{
    separator = value;
}

std::string formatGeneral(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value); // 15 significant digits
    std::string digits;                                   // significant digits without the point
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative) ++p;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int count = static_cast<int>(digits.size());

    std::string text;
    if (exponent >= 15 || exponent < -4) {
        text = digits.substr(0, 1);
        if (count > 1) text += separator + digits.substr(1);
        text += 'E';
        text += std::to_string(exponent);
    }
    else if (exponent < 0) {
        text = "0";
        text += separator;
        text += std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    else if (count <= exponent + 1) {
        text = digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    }
    else {
        text = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + separator +
               digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return negative ? "-" + text : text;
}

} // namespace store
