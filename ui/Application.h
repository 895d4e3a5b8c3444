#pragma once

#include <QApplication>

namespace ui {

// What every run of the windows needs, the program's and the tests' alike: the application's
// name (the caption of every error box; window titles stay the windows' own captions), the
// embedded fonts as the font of every window and box, and Enter pressing a focused button.
void prepareApplication(QApplication& application);

// The application object: its title is the caption of every error box, and an error that
// escapes an event handler anyway is shown as one instead of ending the program.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ui
