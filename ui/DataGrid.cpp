#include "ui/DataGrid.h"

#include "store/Dataset.h"
#include "ui/DataGridModel.h"
#include "ui/DataSource.h"
#include "ui/ErrorHandler.h"
#include "ui/FindDialog.h"
#include "ui/ModalDialogs.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>

namespace ui {

namespace {

// Hands every data cell to the grid, which lets the owner-draw handler colour it.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        grid_->paintCell(painter, option.rect, index.row(), index.column());
    }

private:
    DataGrid* grid_;
};

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataGridModel(this))
{
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(model_, &DataGridModel::cursorMoved, this, &DataGrid::followDataset);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < model_->columnCount(); ++c)
            setColumnWidth(
                c, model_->columns()[static_cast<std::size_t>(model_->dataColumn(c))].width);
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(DataSource* source)
{
    model_->setDataSource(source);
}
DataSource* DataGrid::dataSource() const
{
    return model_->dataSource();
}

void DataGrid::setColumns(std::vector<GridColumn> columns)
{
    model_->setColumns(std::move(columns));
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, model_->columns()[static_cast<std::size_t>(model_->dataColumn(c))].width);
}

const std::vector<GridColumn>& DataGrid::columns() const
{
    return model_->columns();
}

void DataGrid::setIndicatorVisible(bool visible)
{
    verticalHeader()->setVisible(visible);
}

void DataGrid::followDataset()
{
    DataSource* source = model_->dataSource();
    const int row = source && source->active() ? source->dataset()->displayCurrent() : -1;
    following_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(model_->index(row, std::max(0, column)));
        scrollTo(model_->index(row, std::max(0, column)));
    }
    else {
        clearSelection();
    }
    following_ = false;
    viewport()->update();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid() || (previous.isValid() && current.row() == previous.row()))
        return;
    DataSource* source = model_->dataSource();
    if (!source || !source->active()) return;
    // A row chosen in the grid becomes the current record; when the pending change of the
    // record left cannot be posted, the grid goes back to it.
    guarded([&] {
        source->updateRecord();
        source->dataset()->moveTo(current.row());
    })();
    if (source->dataset() && source->dataset()->displayCurrent() != current.row()) followDataset();
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    DataSource* source = model_->dataSource();
    if (event->matches(QKeySequence::Find)) {
        guarded([this] { showFindDialog(); })();
        return;
    }
    if (event->key() == Qt::Key_Escape && source && source->dataset() &&
        source->dataset()->editing()) {
        // The way out of a change that cannot be saved: drop it and show the record as stored.
        source->dataset()->cancel();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableView::keyPressEvent(event);
        return;
    default:
        // Read-only: typing, Insert and Ctrl+Delete change nothing.
        event->accept();
        return;
    }
}

void DataGrid::showFindDialog()
{
    if (!find_) find_ = new FindDialog(*this);
    find_->prepare(currentIndex().isValid() ? currentIndex().column() : 0);
    showModal(*find_);
}

void DataGrid::paintCell(QPainter* painter, const QRect& rect, int row, int visibleColumn)
{
    DataSource* source = model_->dataSource();
    if (!source || !source->dataset()) return;
    store::Dataset& d = *source->dataset();
    const int dataCol = model_->dataColumn(visibleColumn);
    const GridColumn& column = model_->columns()[static_cast<std::size_t>(dataCol)];
    CellState state;
    state.current = row == d.displayCurrent();
    state.focused = hasFocus();
    painter_ = painter;
    brush_ = state.current && !drawColumnCell_ ? palette().highlight().color()
                                               : palette().base().color();
    pen_ = state.current && !drawColumnCell_ ? palette().highlightedText().color()
                                             : palette().text().color();
    d.withRecord(row, [&] {
        if (drawColumnCell_)
            drawColumnCell_(*this, rect, dataCol, column, state);
        else
            defaultDrawColumnCell(rect, dataCol, column, state);
    });
    painter_ = nullptr;
}

void DataGrid::defaultDrawColumnCell(const QRect& rect, int dataCol, const GridColumn&,
                                     const CellState&)
{
    if (!painter_) return;
    painter_->fillRect(rect, brush_);
    store::Dataset& d = *model_->dataSource()->dataset();
    const auto field =
        d.findField(model_->columns()[static_cast<std::size_t>(dataCol)].field.toStdString());
    if (!field) return;
    if (d.fieldDef(*field).type == store::FieldType::Boolean) {
        QStyleOptionButton box;
        const int side = std::min(13, rect.height() - 2);
        box.rect = QRect(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
        box.state = QStyle::State_Enabled |
                    (d.field(*field).asBoolean() ? QStyle::State_On : QStyle::State_Off);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter_, this);
        return;
    }
    painter_->setPen(pen_);
    painter_->drawText(rect.adjusted(2, 0, -2, 0), static_cast<int>(model_->cellAlignment(dataCol)),
                       QString::fromStdString(d.field(*field).displayText()));
}

} // namespace ui
