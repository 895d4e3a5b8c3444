#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace ui {

class DataGrid;

// The roster grid's "Find text" dialog: finds a text in one shown column or in all of them
// and makes the next matching record current. Kept by its grid, with its settings, from its
// first use on.
class FindDialog : public QDialog {
    Q_OBJECT

public:
    enum class Match { AnyPart, WholeField, Beginning };
    enum class Direction { Up, Down, All };

    explicit FindDialog(DataGrid& grid);

    // Fills "Find in" with the grid's shown columns and presets it to the current column.
    void prepare(int currentColumn);
    // "Find next": true when a record matched and became current.
    bool findNext();

private:
    bool matches(const QString& cell, const QString& wanted) const;

    DataGrid& grid_;
    QLineEdit* text_;
    QComboBox* column_;
    QComboBox* match_;
    QComboBox* direction_;
    QCheckBox* matchCase_;
    QCheckBox* matchFormat_;
};

} // namespace ui
