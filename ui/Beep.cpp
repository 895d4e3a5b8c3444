#include "ui/Beep.h"

#include <QApplication>

namespace ui {

namespace {
std::function<void()>& handler()
{
    static std::function<void()> installed;
    return installed;
}
} // namespace

void beep()
{
    if (handler())
        handler()();
    else
        QApplication::beep();
}

void installBeepHandler(std::function<void()> h)
{
    handler() = std::move(h);
}

} // namespace ui
