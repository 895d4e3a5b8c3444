#pragma once

#include <QCheckBox>
#include <QPointer>

namespace ui {

class DataSource;

// A check box bound to a Boolean field of the current record: checked when the field is true,
// unchecked when false, greyed when it holds no value.
//
// A click (mouse or Space) first asks the dataset to edit. Only when the dataset is editing
// afterwards and the field can be written does the box change: greyed and unchecked become
// checked, checked becomes unchecked. The box does not write the field itself then: the
// window's click handler, connected to stateChanged, calls writeToField() in edit state. The
// same signal fires when the box follows the data (another record, a field written by an
// action), which the handler tells apart by the dataset's state. A change made while the
// dataset inserts a new record reaches the record when the box loses the focus, or when a
// control that moves or posts the dataset asks for pending changes first.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget* parent = nullptr);
    explicit DBCheckBox(const QString& caption, QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& field);
    const QString& dataField() const { return field_; }

    // The texts the box stands for, as the field's value is written as text.
    QString checkedValue() const { return checkedValue_; }
    void setCheckedValue(const QString& value) { checkedValue_ = value; }
    QString uncheckedValue() const { return uncheckedValue_; }
    void setUncheckedValue(const QString& value) { uncheckedValue_ = value; }

    // Writes the box's state into its field: the checked value when checked, the unchecked
    // value when not, no value when greyed. Raises the dataset's errors (not editing).
    void writeToField();

    // True from a click that changed the box until its state is in the record.
    bool pendingChange() const { return pending_; }

    // Takes the current record's value again.
    void refresh();

protected:
    void nextCheckState() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void writePending();

    QPointer<DataSource> source_;
    QString field_;
    QString checkedValue_ = QStringLiteral("True");
    QString uncheckedValue_ = QStringLiteral("False");
    bool pending_ = false;
};

} // namespace ui
