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
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QToolTip>

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
    // A cell too narrow for its text shows the whole text as its tooltip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString whole = grid_->cutText(index.row(), index.column());
        if (whole.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPos(), whole, view->viewport(), option.rect);
        return true;
    }

private:
    DataGrid* grid_;
};

// Column titles drawn two pixels in from the borders, as the grid draws its cells, so that a
// title as wide as its column's laid-out width is shown whole.
class TitleStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_HeaderMargin) return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
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
    auto* titleStyle = new TitleStyle;
    titleStyle->setParent(this); // outlives the header, which is deleted first
    horizontalHeader()->setStyle(titleStyle);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(model_, &DataGridModel::cursorMoved, this, &DataGrid::followDataset);
    // A width the master dragged lasts until the program ends: the columns keep it, and every
    // reset of the rows (a sort, a reopen) lays them out again from there.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { resetting_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        resetting_ = false;
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (!resetting_ && column < model_->columnCount())
                    model_->setColumnWidth(model_->dataColumn(column), width);
            });
}

void DataGrid::applyColumnWidths()
{
    const bool wasResetting = resetting_;
    resetting_ = true;
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, model_->columns()[static_cast<std::size_t>(model_->dataColumn(c))].width);
    resetting_ = wasResetting;
}

void DataGrid::setColumns(std::vector<GridColumn> columns)
{
    // A column starts at least as wide as its title, so that no title is cut; the master may
    // drag it narrower.
    const QFontMetrics titles = horizontalHeader()->fontMetrics();
    const int margin = horizontalHeader()->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr,
                                                                horizontalHeader());
    for (GridColumn& column : columns)
        column.width = std::max(column.width, titles.horizontalAdvance(column.title) + 2 * margin);
    model_->setColumns(std::move(columns));
    applyColumnWidths();
}

QString DataGrid::cutText(int row, int visibleColumn) const
{
    if (visibleColumn < 0 || visibleColumn >= model_->columnCount()) return {};
    const int dataCol = model_->dataColumn(visibleColumn);
    if (model_->isBooleanColumn(dataCol)) return {}; // a check-box picture, not a text
    const QString text = model_->cellText(row, dataCol);
    // The text is drawn two pixels in from either side of the cell.
    return fontMetrics().horizontalAdvance(text) > columnWidth(visibleColumn) - 4 ? text
                                                                                  : QString();
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
        // The way out of a change that cannot be saved: drop it; the window then reads the
        // record again, as another program may have changed it.
        source->dataset()->cancel();
        emit changeDropped();
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
