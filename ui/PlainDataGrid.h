#pragma once

#include "ui/DataGrid.h"

namespace ui {

// The plain read-only grid: a title row and lines, whole-row selection of the current record,
// no indicator column and no drawing of its own.
class PlainDataGrid : public DataGrid {
    Q_OBJECT

public:
    explicit PlainDataGrid(QWidget* parent = nullptr);
};

} // namespace ui
