#pragma once

#include <QColor>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <vector>

namespace ui {

class DataSource;
class DataGridModel;
class FindDialog;

// One column of a data grid: the field it shows, its title and width, and whether it is
// shown at all (a hidden column takes no room).
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    bool visible = true;
};

// How the cell being painted stands.
struct CellState {
    bool current = false; // on the current record's row
    bool focused = false; // the grid has the keyboard focus
};

// A read-only grid over a data source whose selected row is the dataset's current record:
// a click or the cursor keys move the record, and the grid follows every move made elsewhere.
// An indicator column at the left marks the current row, with an edit or insert mark while a
// change is pending. Data cells are drawn by an owner-draw handler when one is set, while the
// dataset presents the row being painted, so only the rows shown are ever read.
class DataGrid : public QTableView {
    Q_OBJECT

public:
    using DrawColumnCell = std::function<void(DataGrid& grid, const QRect& rect, int dataCol,
                                              const GridColumn& column, const CellState& state)>;

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const;
    void setDrawColumnCell(DrawColumnCell handler) { drawColumnCell_ = std::move(handler); }
    void setIndicatorVisible(bool visible);

    // The canvas the owner-draw handler sets up before asking for the default drawing.
    void canvasBrushColor(const QColor& color) { brush_ = color; }
    void canvasFontColor(const QColor& color) { pen_ = color; }
    void defaultDrawColumnCell(const QRect& rect, int dataCol, const GridColumn& column,
                               const CellState& state);

    // Used by the delegate: paints one data cell of `row`.
    void paintCell(QPainter* painter, const QRect& rect, int row, int visibleColumn);

    // The whole text of a cell too narrow to show it; empty when it fits.
    QString cutText(int row, int visibleColumn) const;

    // Ctrl+F: the find dialog, made at its first use and kept with its settings.
    void showFindDialog();

signals:
    // Esc dropped the pending change of the current record: its window reads it again.
    void changeDropped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followDataset();
    void applyColumnWidths();

    DataGridModel* model_;
    DrawColumnCell drawColumnCell_;
    QPainter* painter_ = nullptr;
    QColor brush_, pen_;
    bool following_ = false;
    bool resetting_ = false; // the widths are being laid out, not dragged
    FindDialog* find_ = nullptr;
};

} // namespace ui
