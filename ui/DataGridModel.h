#pragma once

#include "ui/DataGrid.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace ui {

// The rows and shown columns of a data source, as a grid reads them: a row's values are read
// only while the dataset presents that row.
class DataGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DataGridModel(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    // Keeps a column's new width (the full column list's place), as the master dragged it.
    void setColumnWidth(int dataCol, int width)
    {
        columns_.at(static_cast<std::size_t>(dataCol)).width = width;
    }
    // The place in the full column list of a shown column.
    int dataColumn(int visibleColumn) const
    {
        return shown_.at(static_cast<std::size_t>(visibleColumn));
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text and alignment a cell shows, and whether its field is a Boolean.
    QString cellText(int row, int dataCol) const;
    Qt::Alignment cellAlignment(int dataCol) const;
    bool isBooleanColumn(int dataCol) const;
    bool cellChecked(int row, int dataCol) const;

signals:
    void cursorMoved();

private:
    void reset();
    QPointer<DataSource> source_;
    std::vector<GridColumn> columns_;
    std::vector<int> shown_;
};

} // namespace ui
