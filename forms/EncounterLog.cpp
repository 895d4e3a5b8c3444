#include "forms/EncounterLog.h"

#include "ui_EncounterLog.h"

#include "store/Error.h"
#include "store/History.h"
#include "ui/ErrorHandler.h"
#include "ui/ModalDialogs.h"
#include "ui/WindowFont.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QSaveFile>

namespace forms {

namespace {

constexpr int StepId = Qt::UserRole;
constexpr int StepUndone = Qt::UserRole + 1;

QString timeOf(const store::Step& step)
{
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(step.time)).toString("HH:mm");
}

// A CSV field: quoted, with its quotation marks doubled.
QString csvField(const QString& text)
{
    return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}

} // namespace

EncounterLog::EncounterLog(store::History& history, QWidget* owner)
    : QWidget(owner, Qt::Window), history_(history), ui_(std::make_unique<Ui::EncounterLog>())
{
    setFont(ui::windowFont());
    ui_->setupUi(this);
    connect(ui_->SaveButton, &QPushButton::clicked, this,
            ui::guarded([this](bool) { SaveButtonClick(); }));
    connect(ui_->CloseButton, &QPushButton::clicked, this,
            ui::guarded([this](bool) { CloseButtonClick(); }));
    subscription_ = history_.subscribe([this] { follow(); });
    follow();
}

EncounterLog::~EncounterLog()
{
    history_.unsubscribe(subscription_);
}

QListWidget* EncounterLog::LogList() const
{
    return ui_->LogList;
}

QPushButton* EncounterLog::SaveButton() const
{
    return ui_->SaveButton;
}

QString EncounterLog::lineOf(const store::Step& step)
{
    return timeOf(step) + QStringLiteral("  ") + QString::fromStdString(step.text) +
           (step.undone ? QStringLiteral("  (undone)") : QString());
}

void EncounterLog::follow()
{
    QListWidget* list = ui_->LogList;
    const auto& steps = history_.steps();
    // The lines already shown stay; only what changed is written again. Lines the history
    // let go of at its front make the list start over.
    const bool sameStart =
        list->count() == 0 ||
        (!steps.empty() && list->item(0)->data(StepId).toULongLong() == steps.front().id &&
         static_cast<std::size_t>(list->count()) <= steps.size());
    if (!sameStart) list->clear();
    const bool atEnd = list->count() == 0 || list->currentRow() == list->count() - 1;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const store::Step& step = steps[i];
        QListWidgetItem* item =
            static_cast<int>(i) < list->count() ? list->item(static_cast<int>(i)) : nullptr;
        if (item && item->data(StepUndone).toBool() == step.undone) continue;
        if (!item) {
            item = new QListWidgetItem(list);
            item->setData(StepId, QVariant::fromValue<qulonglong>(step.id));
        }
        item->setText(lineOf(step));
        item->setData(StepUndone, step.undone);
        QFont font = list->font();
        font.setStrikeOut(step.undone);
        item->setFont(font);
        item->setForeground(step.undone ? list->palette().brush(QPalette::Disabled, QPalette::Text)
                                        : list->palette().brush(QPalette::Text));
    }
    // The newest step stays in view while the master has not moved back through the log.
    if (atEnd && list->count() > 0) {
        list->setCurrentRow(list->count() - 1);
        list->scrollToBottom();
    }
}

void EncounterLog::saveTo(const QString& fileName, bool csv) const
{
    QString text;
    if (csv) text = QStringLiteral("Time,Step,Changes,Undone\r\n");
    for (const store::Step& step : history_.steps()) {
        if (!csv) {
            text += lineOf(step) + '\n';
            continue;
        }
        const QString name = QString::fromStdString(step.name);
        QString changes = QString::fromStdString(step.text);
        if (changes.startsWith(name + QStringLiteral(": "))) changes.remove(0, name.size() + 2);
        text += csvField(timeOf(step)) + ',' + csvField(name) + ',' + csvField(changes) + ',' +
                (step.undone ? QStringLiteral("yes") : QStringLiteral("no")) +
                QStringLiteral("\r\n");
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw store::Error(
            store::formatMessage("Could not save the log to '%s': %s",
                                 {fileName.toStdString(), file.errorString().toStdString()}));
}

void EncounterLog::SaveButtonClick()
{
    const QString textFilter = QStringLiteral("Text files (*.txt)");
    const QString csvFilter = QStringLiteral("CSV files (*.csv)");
    QFileDialog dialog(this, QStringLiteral("Save Encounter Log"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({textFilter, csvFilter});
    dialog.selectFile(QStringLiteral("Encounter Log.txt"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(filter == csvFilter ? QStringLiteral("csv")
                                                    : QStringLiteral("txt"));
    });
    if (ui::showModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString fileName = dialog.selectedFiles().constFirst();
    saveTo(fileName, dialog.selectedNameFilter() == csvFilter ||
                         fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive));
}

void EncounterLog::CloseButtonClick()
{
    close();
}

void EncounterLog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace forms
