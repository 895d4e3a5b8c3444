#include "ui/DBEdit.h"

#include "ui/Beep.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"

#include "store/NumberFormat.h"

#include <QApplication>
#include <QKeyEvent>

namespace ui {

namespace {

const store::FieldDef* fieldDefOf(store::Dataset* dataset, const QString& name)
{
    if (!dataset || name.isEmpty()) return nullptr;
    const auto index = dataset->findField(name.toStdString());
    return index ? &dataset->fieldDef(*index) : nullptr;
}

} // namespace

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent)
{
    // Connected first, so that the field holds the text before the window's own change
    // handler looks at it.
    connect(this, &QLineEdit::textChanged, this, &DBEdit::textChangedHere);
}

void DBEdit::setDataSource(DataSource* source)
{
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &DataSource::dataChanged, this, &DBEdit::refresh);
        connect(source_, &DataSource::updateRecordRequested, this, &DBEdit::writePending);
    }
    refresh();
}

void DBEdit::setDataField(const QString& field)
{
    field_ = field;
    refresh();
}

bool DBEdit::acceptsCharacter(QChar c) const
{
    const store::FieldDef* def = fieldDefOf(source_ ? source_->dataset() : nullptr, field_);
    if (!def) return true;
    switch (def->type) {
    case store::FieldType::Integer:
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
    case store::FieldType::Float:
    case store::FieldType::Decimal:
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
               c == QLatin1Char(store::decimalSeparator()) || c == QLatin1Char('e') ||
               c == QLatin1Char('E');
    case store::FieldType::Boolean:
    case store::FieldType::String:
        return true;
    }
    return true;
}

void DBEdit::refresh()
{
    if (writing_) return;
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    const store::FieldDef* def = fieldDefOf(dataset, field_);
    setMaxLength(def && def->size > 0 ? def->size : 32767);
    QString shown;
    if (def && dataset->active() && (dataset->recNo() >= 0 || dataset->editing())) {
        try {
            shown =
                QString::fromStdString(dataset->fieldByName(field_.toStdString()).displayText());
        }
        catch (const std::exception&) {
            // A value that cannot be shown leaves the edit empty.
        }
    }
    pending_ = false;
    before_.reset();
    if (shown == text()) return;
    following_ = true;
    setText(shown);
    following_ = false;
}

void DBEdit::reset()
{
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (before_ && dataset && dataset->editing()) {
        const store::Value before = *before_;
        guarded([&] { dataset->fieldByName(field_.toStdString()).setValue(before); })();
    }
    refresh();
    selectAll();
}

bool DBEdit::ensureEditing()
{
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    const store::FieldDef* def = fieldDefOf(dataset, field_);
    if (!def || def->readOnly || def->derived || !dataset->active()) return false;
    if (dataset->editing()) return true;
    // The record that edit presents is the one shown; the text must not be replaced by it
    // while the master types.
    writing_ = true;
    try {
        const bool editing = source_->edit();
        writing_ = false;
        return editing;
    }
    catch (...) {
        writing_ = false;
        throw;
    }
}

void DBEdit::writeText()
{
    store::Dataset* dataset = source_->dataset();
    store::Field field = dataset->fieldByName(field_.toStdString());
    QString shown = text();
    if (!before_) before_ = field.value();
    writing_ = true;
    try {
        if (shown.isEmpty() && field.type() != store::FieldType::String) {
            field.clear();
        }
        else {
            if (field.type() == store::FieldType::Float ||
                field.type() == store::FieldType::Decimal)
                shown.replace(QLatin1Char(store::decimalSeparator()), QLatin1Char('.'));
            field.setValue(store::Value(shown.toStdString()));
        }
    }
    catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    pending_ = false;
}

void DBEdit::updateRecord()
{
    if (!ensureEditing()) {
        store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
        if (dataset) dataset->fieldByName(field_.toStdString()); // the field's own error
        return;
    }
    writeText();
}

void DBEdit::textChangedHere()
{
    if (following_) return;
    pending_ = true;
    try {
        if (!ensureEditing()) return;
        writeText();
    }
    catch (const std::exception&) {
        // A text on its way to a number ("-", "1e") is kept as typed and written once it is
        // one; what is still not a number when the edit is left is reported then.
    }
}

void DBEdit::writePending()
{
    if (!pending_) return;
    guarded([this] { updateRecord(); })();
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    before_.reset();
    QLineEdit::focusInEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a menu only borrows the focus: a text on its way to a number ("-")
    // stays pending, and the box's own check decides what becomes of it.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    store::Dataset* dataset = source_ ? source_->dataset() : nullptr;
    if (pending_ && dataset && dataset->editing()) writePending();
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reset();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool typing = !typed.isEmpty() && typed.at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool changing = typing || event->key() == Qt::Key_Backspace ||
                          event->key() == Qt::Key_Delete || event->matches(QKeySequence::Paste) ||
                          event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
                          event->matches(QKeySequence::Redo);
    if (typing) {
        for (QChar c : typed)
            if (!acceptsCharacter(c)) {
                ui::beep();
                event->accept();
                return;
            }
    }
    if (changing) {
        bool editing = false;
        try {
            editing = ensureEditing();
        }
        catch (const std::exception& e) {
            event->accept();
            showError(e);
            return;
        }
        if (!editing) {
            ui::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ui
