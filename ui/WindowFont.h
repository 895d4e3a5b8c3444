#pragma once

#include <QFont>

namespace ui {

// The font of every window: the embedded Liberation Sans (the metrics of the "MS Sans Serif"
// the layouts were drawn for) at a character height of 11 pixels, whatever fonts the machine
// has. Set it on a window and its controls inherit it.
QFont windowFont();

// The Dice roll's font: the embedded Liberation Serif, bold, 32 pixels.
QFont rollFont();

} // namespace ui
