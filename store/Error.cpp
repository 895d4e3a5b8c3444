#include "store/Error.h"

namespace store {

std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != args.end()) {
            out += *next++;
            ++i;
        }
        else {
            out += pattern[i];
        }
    }
    return out;
}

std::string prefixed(std::string_view component, std::string_view message)
{
    return formatMessage("%s: %s", {component, message});
}

} // namespace store
