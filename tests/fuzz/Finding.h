#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// A fuzz target's finding: says what was wrong, with the input when there is one, and aborts so
// that the engine keeps the input (and the replay of saved inputs fails).
[[noreturn]] inline void finding(const char* what, std::string_view input = "")
{
    std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(input.size()), input.data());
    std::abort();
}
