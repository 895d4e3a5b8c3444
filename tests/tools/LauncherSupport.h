#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>

#include <filesystem>
#include <string>

namespace testing_support {

// What the first-start question showed, as the master saw it.
struct FirstStartSeen {
    bool shown = false;
    bool hadFocus = false; // a button of the question had the keyboard focus
    QString title, text, informativeText, defaultButton;
    QStringList buttons;
};

// Answers the first-start question once it shows, as the master would: presses the button of
// that caption with the mouse, or "Enter" or "Esc" on the keyboard. Keeps what it saw.
class AnswerFirstStart {
public:
    explicit AnswerFirstStart(QString answer);
    FirstStartSeen seen;

private:
    void look();
    QString answer_;
    QTimer timer_;
    int waited_ = 0;
};

// The rows of Table1 in a party file.
int rosterSize(const std::filesystem::path& partyFile);
// A file's content, to show it was left unchanged.
std::string fileBytes(const std::filesystem::path& file);

// Sets an environment variable (or unsets it, for nullptr) for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    bool had_;
    std::string old_;
};

} // namespace testing_support
