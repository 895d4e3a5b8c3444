#pragma once

#include "ui/ValueLabel.h"

#include <QPointer>

namespace ui {

class DataSource;

// A label showing one field of the current record as the grids show it; empty while the
// dataset is closed or has no record. Assistive technology reads the caption it is given as
// its name and the field's text as its value.
class DBText : public ValueLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& field);
    const QString& dataField() const { return field_; }

    // What the value is, for those who cannot see the label beside it ("Sum weight").
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    // Shows the field's present text again.
    void refresh();

private:
    QPointer<DataSource> source_;
    QString field_;
    QString caption_;
};

} // namespace ui
