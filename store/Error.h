#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace store {

// Every failure of the program is one of these; what() is the text the master reads.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, int engineCode = 0)
        : std::runtime_error(message), engineCode_(engineCode)
    {
    }
    // The database engine's result code when the engine refused the work, 0 otherwise.
    int engineCode() const { return engineCode_; }

private:
    int engineCode_;
};

// Fills each "%s" of the pattern with the next argument, in order.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

// The "component: message" form of the dataset layer's errors.
std::string prefixed(std::string_view component, std::string_view message);

} // namespace store
