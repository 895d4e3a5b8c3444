#pragma once

// The encounter log: a window listing every step of this run, newest last, as a person would
// write it ("14:02  Damage 7 on Aria: HP 20 → 13, temporary 5 → 0"). It follows the history
// live; an undone step shows as undone and comes back on redo. "Save..." writes the log as
// plain text or as comma-separated values. The main window keeps one, shown non-modally.

#include <QString>
#include <QWidget>

#include <memory>

class QListWidget;
class QPushButton;

namespace Ui {
class EncounterLog;
}
namespace store {
class History;
struct Step;
} // namespace store

namespace forms {

class EncounterLog : public QWidget {
    Q_OBJECT

public:
    EncounterLog(store::History& history, QWidget* owner);
    ~EncounterLog() override;

    // The handlers.
    void SaveButtonClick();
    void CloseButtonClick();

    // Writes the log to a file: plain lines, or CSV with the columns Time, Step, Changes, Undone.
    void saveTo(const QString& fileName, bool csv) const;

    // One step's line: time, what was done, to whom and what changed; "(undone)" when undone.
    static QString lineOf(const store::Step& step);

    // The controls, by their names, for tests.
    QListWidget* LogList() const;
    QPushButton* SaveButton() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void follow(); // brings the list up to the history

    store::History& history_;
    int subscription_ = 0;
    std::unique_ptr<Ui::EncounterLog> ui_;
};

} // namespace forms
