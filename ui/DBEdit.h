#pragma once

#include "ui/DataSource.h"

#include "store/Value.h"
#include <QLineEdit>
#include <QPointer>

#include <optional>

namespace ui {

// A one-line edit bound to a field of the current record. It shows the field's text; what the
// master types goes into the field at once (the edit first asks a browsing dataset to edit).
// It follows the field's rules: no more characters than the field holds, and only the
// characters a number field can take (anything else is refused with a beep before any check
// sees it). Esc takes back what was typed since the edit got the focus: the record gets its
// value back, and the edit shows it selected.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& field);
    const QString& dataField() const { return field_; }

    // Whether the field's type lets the character be typed.
    bool acceptsCharacter(QChar c) const;

    // Takes back what was typed since the edit got the focus (what Esc does).
    void reset();
    // Writes the text into the field now; raises the dataset's errors (a text that is not a
    // number of the field's type, a dataset that cannot edit).
    void updateRecord();

    // True while the text holds something the field has not taken yet.
    bool pendingChange() const { return pending_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void textChangedHere();
    bool ensureEditing();
    void writeText();
    void writePending();

    QPointer<DataSource> source_;
    QString field_;
    bool following_ = false; // the text is being set from the record
    bool writing_ = false;   // the text is being written into the record
    bool pending_ = false;
    // The field's value before the master started typing, while the typing can be taken back.
    std::optional<store::Value> before_;
};

} // namespace ui
