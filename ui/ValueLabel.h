#pragma once

#include <QLabel>

namespace ui {

// A label that shows a value rather than a caption (a roll, a coin count): assistive
// technology reads its accessible name as what the value is ("Roll") and its text as the
// value, and hears when the value changes.
class ValueLabel : public QLabel {
    Q_OBJECT

public:
    explicit ValueLabel(QWidget* parent = nullptr);

    // Shows a new value and tells assistive technology.
    void setValueText(const QString& text);
};

} // namespace ui
