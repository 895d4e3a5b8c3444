#pragma once

#include <QObject>

namespace ui {

// Enter (or the keypad's Enter) on a focused push button presses it, as Space does, in every
// window: the habit of the platform the master comes from. Installed on the application.
class ButtonEnterKey : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace ui
