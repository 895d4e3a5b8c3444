#pragma once

#include <QFont>

namespace ui {

// The font of every window: "MS Sans Serif" at a character height of 11 pixels, or, where
// that face is missing, the closest free face of the same widths, so that no caption laid out
// for it is clipped.
QFont windowFont();

} // namespace ui
