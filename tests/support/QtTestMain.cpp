// The main of the widget tests: one application object on the offscreen platform for all of
// them, prepared as the program prepares its own, so real widgets are built and driven without
// a display and drawn in the program's fonts.
#include "ui/Application.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Offscreen unless a test asks for a real display (the window titles under X).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::prepareApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
