// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MappingsTableModel.h"

#include <QImage>
#include <QTableView>

MappingsTableModel::MappingsTableModel(TableDataSource& dataSource, QTableView& tableView,
                                       std::vector<std::unique_ptr<TableColumn>> columns)
    : QAbstractTableModel(&tableView), mDataSource(dataSource), mTableView(tableView),
      mColumns(std::move(columns))
{
}

MappingsTableModel::~MappingsTableModel() = default;

const TableColumn* MappingsTableModel::column(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= mColumns.size())
        return nullptr;
    return mColumns[static_cast<std::size_t>(index)].get();
}

void MappingsTableModel::reloadData()
{
    beginResetModel();
    endResetModel();
}

int MappingsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mDataSource.numberOfRowsInTableView(&mTableView);
}

int MappingsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mColumns.size());
}

QVariant MappingsTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QVariant object =
        mDataSource.tableViewObjectValueForTableColumnRow(&mTableView, column(index.column()), index.row());
    if (object.typeId() == QMetaType::QImage)
        return role == Qt::DecorationRole ? object : QVariant();
    return role == Qt::DisplayRole || role == Qt::EditRole ? object : QVariant();
}

bool MappingsTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    mDataSource.tableViewSetObjectValueForTableColumnRow(&mTableView, value, column(index.column()),
                                                         index.row());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags MappingsTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (const TableColumn* c = index.isValid() ? column(index.column()) : nullptr; c && c->isEditable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant MappingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const TableColumn* c = column(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !c)
        return QAbstractTableModel::headerData(section, orientation, role);
    return c->title();
}
