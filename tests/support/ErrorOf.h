#pragma once

#include "store/Error.h"

#include <functional>
#include <string>

namespace testing_support {

// The message of the error the action raises, or "no error".
inline std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    }
    catch (const store::Error& e) {
        return e.what();
    }
    return "no error";
}

} // namespace testing_support
