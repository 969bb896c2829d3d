// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "TableColumn.h"
#include "TableDataSource.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

class QTableView;

// Puts a TableDataSource behind a QTableView: every question of the view goes to the data source,
// with the view and the column object of the cell. A QImage answer is the cell's decoration, any
// other answer its display and edit value.
class MappingsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    MappingsTableModel(TableDataSource& dataSource, QTableView& tableView,
                       std::vector<std::unique_ptr<TableColumn>> columns);
    ~MappingsTableModel() override;

    // None for an index outside the columns.
    const TableColumn* column(int index) const;
    // The data source's answers changed as a whole: the view asks again.
    void reloadData();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TableDataSource& mDataSource;
    QTableView& mTableView;
    std::vector<std::unique_ptr<TableColumn>> mColumns;
};
