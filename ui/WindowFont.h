#pragma once

#include <QFont>

namespace ui {

// The font of every window: "MS Sans Serif" at a character height of 11 pixels, or, where that
// family is missing (any machine but Windows), the closest free sans-serif family installed:
// Microsoft Sans Serif, Liberation Sans (Arial's metrics), Arimo, DejaVu Sans, Nimbus Sans.
// Set it on a window and its controls inherit it.
QFont windowFont();

// The families tried, in order.
QStringList windowFontFamilies();

} // namespace ui
