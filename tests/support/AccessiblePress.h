#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QWidget>

#include <gtest/gtest.h>

namespace testing_support {

// Presses a control as assistive technology does: through its accessible press action, which
// leaves the focus where it is. A push button shows the press as a short animated click before
// it reacts, so the caller waits for the effect.
inline void pressAsAssistiveTechnology(QWidget* control)
{
    ASSERT_NE(control, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace testing_support
