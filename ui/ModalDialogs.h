#pragma once

#include <functional>

class QDialog;

namespace ui {

// Shows a window modally and gives the result it was closed with. Every modal dialog of the
// program is shown through this, so that tests can drive it by its named controls instead of
// waiting on a nested event loop.
int showModal(QDialog& dialog);

// Installs a test's runner in place of QDialog::exec; an empty function restores exec.
void installModalRunner(std::function<int(QDialog&)> runner);

} // namespace ui
