#pragma once

#include <functional>

namespace ui {

// The beep of a refused key (QApplication::beep). Every beep of the program goes through this,
// so that tests can count them.
void beep();

// Installs a test's handler in place of the real beep; an empty function restores it.
void installBeepHandler(std::function<void()> handler);

} // namespace ui
