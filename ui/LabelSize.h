#pragma once

class QLabel;

namespace ui {

// Sizes a label to its text, as the windows' auto-sized labels do: a label without word wrap
// takes the size of its text on one line; a label with word wrap keeps its width, widened to
// its widest unbreakable word, and takes the height of its wrapped text. The label's top-left
// corner stays where it is. Call it again after changing the text or the font.
void sizeLabelToText(QLabel* label);

// Sizes a label to its text on one line, whatever its word wrap (a text without blanks, like a
// roll text, never wraps).
void sizeLabelToOneLine(QLabel* label);

} // namespace ui
