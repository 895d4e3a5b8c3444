#pragma once

#include <QString>

class QWidget;

namespace ui {

// The application's hint timing: how long the mouse must rest on a control before its hint
// shows, and how long the hint then stays up. Applying it once holds for every hint of the
// program, whichever control shows it.
class HintTiming {
public:
    static constexpr int defaultPause = 100;
    static constexpr int defaultHidePause = 20000;

    static void apply(int pauseMs = defaultPause, int hidePauseMs = defaultHidePause);
    static int pause();
    static int hidePause();
};

// A hint's text as it shows: the hints keep their lines apart with LF CR (or either alone),
// each of which becomes one line break.
QString hintDisplayText(const QString& hint);

// Gives the control its hint, shown whatever the window's own hint setting, even while the
// window is not the active one; an empty text takes the hint away.
void setHint(QWidget* widget, const QString& hint);

} // namespace ui
