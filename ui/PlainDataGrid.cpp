#include "ui/PlainDataGrid.h"

namespace ui {

PlainDataGrid::PlainDataGrid(QWidget* parent) : DataGrid(parent)
{
    setIndicatorVisible(false);
}

} // namespace ui
