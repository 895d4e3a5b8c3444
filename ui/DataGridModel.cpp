#include "ui/DataGridModel.h"

#include "store/Dataset.h"
#include "ui/DataSource.h"

namespace ui {

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataGridModel::setDataSource(DataSource* source)
{
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &DataSource::activeChanged, this, &DataGridModel::reset);
        connect(source_, &DataSource::rowsChanged, this, &DataGridModel::reset);
        connect(source_, &DataSource::datasetChanged, this, &DataGridModel::reset);
        connect(source_, &DataSource::recordChanged, this, [this] {
            if (rowCount() > 0)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        });
        connect(source_, &DataSource::stateChanged, this, [this] {
            if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
        });
        connect(source_, &DataSource::cursorMoved, this, [this] {
            if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
            emit cursorMoved();
        });
    }
    reset();
}

void DataGridModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    shown_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].visible) shown_.push_back(static_cast<int>(i));
    endResetModel();
}

void DataGridModel::reset()
{
    beginResetModel();
    endResetModel();
    emit cursorMoved();
}

int DataGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !source_ || !source_->active()) return 0;
    return source_->dataset()->displayCount();
}

int DataGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QString DataGridModel::cellText(int row, int dataCol) const
{
    store::Dataset* d = source_ ? source_->dataset() : nullptr;
    if (!d || !d->active()) return {};
    const auto field =
        d->findField(columns_.at(static_cast<std::size_t>(dataCol)).field.toStdString());
    if (!field) return {};
    return d->withRecord(row,
                         [&] { return QString::fromStdString(d->field(*field).displayText()); });
}

bool DataGridModel::isBooleanColumn(int dataCol) const
{
    store::Dataset* d = source_ ? source_->dataset() : nullptr;
    if (!d) return false;
    const auto field =
        d->findField(columns_.at(static_cast<std::size_t>(dataCol)).field.toStdString());
    return field && d->fieldDef(*field).type == store::FieldType::Boolean;
}

bool DataGridModel::cellChecked(int row, int dataCol) const
{
    store::Dataset* d = source_->dataset();
    const auto field =
        d->findField(columns_.at(static_cast<std::size_t>(dataCol)).field.toStdString());
    return field && d->withRecord(row, [&] { return d->field(*field).asBoolean(); });
}

Qt::Alignment DataGridModel::cellAlignment(int dataCol) const
{
    store::Dataset* d = source_ ? source_->dataset() : nullptr;
    if (!d) return Qt::AlignLeft | Qt::AlignVCenter;
    const auto field =
        d->findField(columns_.at(static_cast<std::size_t>(dataCol)).field.toStdString());
    if (!field) return Qt::AlignLeft | Qt::AlignVCenter;
    switch (d->fieldDef(*field).type) {
    case store::FieldType::Integer:
    case store::FieldType::Float:
    case store::FieldType::Decimal:
        return Qt::AlignRight | Qt::AlignVCenter;
    case store::FieldType::Boolean:
        return Qt::AlignCenter;
    case store::FieldType::String:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int dataCol = dataColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(index.row(), dataCol);
    case Qt::TextAlignmentRole:
        return static_cast<int>(cellAlignment(dataCol));
    default:
        return {};
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section < columnCount())
            return columns_[static_cast<std::size_t>(dataColumn(section))].title;
        return {};
    }
    if (role != Qt::DisplayRole || !source_ || !source_->active()) return {};
    store::Dataset* d = source_->dataset();
    if (section != d->displayCurrent()) return QString();
    // The indicator: an arrow on the current row, an I-beam while it is being edited, a star
    // for a new record.
    switch (d->state()) {
    case store::DatasetState::Edit:
        return QStringLiteral("I");
    case store::DatasetState::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("\u25BA"); // a triangle the window font holds
    }
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace ui
