#include "ui/FindDialog.h"

#include "store/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

FindDialog::FindDialog(DataGrid& grid) : QDialog(&grid), grid_(grid)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find text"));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindWhat"));
    column_ = new QComboBox(this);
    column_->setObjectName(QStringLiteral("FindIn"));
    match_ = new QComboBox(this);
    match_->setObjectName(QStringLiteral("Match"));
    match_->addItems({QStringLiteral("From any part of field"), QStringLiteral("Whole field"),
                      QStringLiteral("From beging of field")});
    direction_ = new QComboBox(this);
    direction_->setObjectName(QStringLiteral("Search"));
    direction_->addItems({QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("All")});
    direction_->setCurrentIndex(2);
    matchCase_ = new QCheckBox(QStringLiteral("Match &Case"), this);
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    matchFormat_ = new QCheckBox(QStringLiteral("Match F&ormat"), this);
    matchFormat_->setObjectName(QStringLiteral("MatchFormat"));
    matchFormat_->setChecked(true);
    auto* find = new QPushButton(QStringLiteral("&Find next"), this);
    find->setObjectName(QStringLiteral("FindNext"));
    find->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Close"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd What:"), text_);
    form->addRow(QStringLiteral("Find &in:"), column_);
    form->addRow(QStringLiteral("Matc&h:"), match_);
    form->addRow(QStringLiteral("Sea&rch:"), direction_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(matchCase_);
    checks->addWidget(matchFormat_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(find);
    buttons->addWidget(close);
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addLayout(checks);
    all->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, guarded([this](bool) { findNext(); }));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void FindDialog::prepare(int currentColumn)
{
    const QString chosen = column_->currentText();
    column_->clear();
    for (const GridColumn& c : grid_.columns())
        if (c.visible) column_->addItem(c.title);
    column_->addItem(QStringLiteral("<All>"));
    column_->setCurrentIndex(currentColumn >= 0 && currentColumn < column_->count() - 1
                                 ? currentColumn
                                 : column_->findText(chosen));
    text_->setFocus();
    text_->selectAll();
}

bool FindDialog::matches(const QString& cell, const QString& wanted) const
{
    const Qt::CaseSensitivity cs =
        matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (static_cast<Match>(match_->currentIndex())) {
    case Match::WholeField:
        return cell.compare(wanted, cs) == 0;
    case Match::Beginning:
        return cell.startsWith(wanted, cs);
    case Match::AnyPart:
        break;
    }
    return cell.contains(wanted, cs);
}

bool FindDialog::findNext()
{
    DataSource* source = grid_.dataSource();
    store::Dataset* d = source ? source->dataset() : nullptr;
    const QString wanted = text_->text();
    if (!d || !d->active()) return false;
    std::vector<std::string> fields;
    const int chosen = column_->currentIndex();
    int shown = 0;
    for (const GridColumn& c : grid_.columns()) {
        if (!c.visible) continue;
        if (chosen == column_->count() - 1 || shown == chosen)
            fields.push_back(c.field.toStdString());
        ++shown;
    }
    const int count = d->recordCount();
    const int start = std::max(0, d->recNo());
    const auto direction = static_cast<Direction>(direction_->currentIndex());
    const bool formatted = matchFormat_->isChecked();
    for (int step = 1; step <= count; ++step) {
        int row = direction == Direction::Up ? start - step : start + step;
        if (direction == Direction::All)
            row %= count;
        else if (row < 0 || row >= count)
            break;
        const bool found = d->withRecord(row, [&] {
            for (const std::string& f : fields) {
                const auto index = d->findField(f);
                if (!index) continue;
                const store::Value v = d->field(*index).value();
                // The shown text, or the value itself as text.
                const std::string text =
                    formatted ? v.displayText() : (v.isNull() ? std::string() : v.toString());
                if (matches(QString::fromStdString(text), wanted)) return true;
            }
            return false;
        });
        if (found) {
            d->moveTo(row);
            return true;
        }
    }
    showMessage(this, QStringLiteral("String \"%1\" not found.").arg(wanted));
    return false;
}

} // namespace ui
