#pragma once

#include <QApplication>

namespace ui {

// The application object: its title is the caption of every error box, and an error that
// escapes an event handler anyway is shown as one instead of ending the program.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ui
