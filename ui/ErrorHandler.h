#pragma once

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace ui {

// The text of the error box: the message, with a full stop added when its last character
// sorts after "." (so "...dataset" gets one, "...(String)" and "...file." do not).
QString withFullStop(const QString& message);

// The application's default error handler: shows the error in an error box captioned with
// the application's title, with a single OK button; the program goes on.
void showError(const std::exception& error);
void showError(const QString& message);

// Wraps an event handler so that an error leaving it reaches the default error handler
// instead of the event loop. Every handler a window connects goes through this.
template <class F> auto guarded(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        }
        catch (const std::exception& e) {
            showError(e);
        }
    };
}

} // namespace ui
