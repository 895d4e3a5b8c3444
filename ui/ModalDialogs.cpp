#include "ui/ModalDialogs.h"

#include <QDialog>

namespace ui {

namespace {
std::function<int(QDialog&)>& runner()
{
    static std::function<int(QDialog&)> installed;
    return installed;
}
} // namespace

int showModal(QDialog& dialog)
{
    if (runner()) return runner()(dialog);
    return dialog.exec();
}

void installModalRunner(std::function<int(QDialog&)> r)
{
    runner() = std::move(r);
}

} // namespace ui
