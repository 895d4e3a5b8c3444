#include "ui/DBText.h"

#include "ui/DataSource.h"

namespace ui {

DBText::DBText(QWidget* parent) : ValueLabel(parent)
{
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void DBText::setDataSource(DataSource* source)
{
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) connect(source_, &DataSource::dataChanged, this, &DBText::refresh);
    refresh();
}

void DBText::setDataField(const QString& field)
{
    field_ = field;
    refresh();
}

void DBText::setCaption(const QString& caption)
{
    caption_ = caption;
    setAccessibleName(caption);
}

void DBText::refresh()
{
    QString shown;
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (dataset && dataset->active() && !field_.isEmpty()) {
        const auto index = dataset->findField(field_.toStdString());
        if (index && (dataset->recNo() >= 0 || dataset->editing())) {
            try {
                shown = QString::fromStdString(dataset->field(*index).displayText());
            }
            catch (const std::exception&) {
                // A value that cannot be shown leaves the label empty; the action that
                // produced it reports the error.
            }
        }
    }
    setValueText(shown);
    setAccessibleDescription(shown);
}

} // namespace ui
