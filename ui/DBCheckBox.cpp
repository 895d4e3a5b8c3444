#include "ui/DBCheckBox.h"

#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"

namespace ui {

DBCheckBox::DBCheckBox(QWidget* parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent)
{
    setTristate(false);
}

void DBCheckBox::setDataSource(DataSource* source)
{
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &DataSource::dataChanged, this, &DBCheckBox::refresh);
        connect(source_, &DataSource::updateRecordRequested, this, &DBCheckBox::writePending);
    }
    refresh();
}

void DBCheckBox::setDataField(const QString& field)
{
    field_ = field;
    refresh();
}

void DBCheckBox::refresh()
{
    pending_ = false;
    Qt::CheckState shown = Qt::Unchecked;
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (dataset && dataset->active()) {
        shown = Qt::PartiallyChecked;
        const auto index = dataset->findField(field_.toStdString());
        if (index && (dataset->recNo() >= 0 || dataset->editing())) {
            try {
                const store::Value value = dataset->field(*index).value();
                if (!value.isNull()) shown = value.toBoolean() ? Qt::Checked : Qt::Unchecked;
            }
            catch (const std::exception&) {
                // Not a truth value: shown as no value.
            }
        }
    }
    if (shown != checkState()) setCheckState(shown);
}

void DBCheckBox::nextCheckState()
{
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (!dataset || !dataset->active()) return;
    const auto index = dataset->findField(field_.toStdString());
    if (!index) return;
    const store::FieldDef& def = dataset->fieldDef(*index);
    if (def.readOnly || def.derived) return;
    try {
        if (!source_->edit()) return;
    }
    catch (const std::exception& e) {
        showError(e);
        return;
    }
    // Following the record that edit presents may have changed the box; the click acts on
    // what it shows now. The change is pending until the click handler (or the focus leaving)
    // writes it.
    pending_ = true;
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void DBCheckBox::writeToField()
{
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (!dataset) return;
    store::Field field = dataset->fieldByName(field_.toStdString());
    pending_ = false;
    switch (checkState()) {
    case Qt::Checked:
        field.setValue(store::Value(checkedValue_.toStdString()));
        break;
    case Qt::Unchecked:
        field.setValue(store::Value(uncheckedValue_.toStdString()));
        break;
    case Qt::PartiallyChecked:
        field.clear();
        break;
    }
}

void DBCheckBox::writePending()
{
    if (!pending_) return;
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (!dataset || !dataset->editing()) {
        pending_ = false;
        return;
    }
    guarded([this] { writeToField(); })();
}

void DBCheckBox::focusOutEvent(QFocusEvent* event)
{
    writePending();
    QCheckBox::focusOutEvent(event);
}

} // namespace ui
