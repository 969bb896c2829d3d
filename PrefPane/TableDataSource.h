// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QVariant>

class QTableView;
class TableColumn;

// What a table asks of its data source. A cell object is an invalid QVariant for none, a QImage
// for a picture, anything else for text.
class TableDataSource {
public:
    virtual ~TableDataSource() = default;
    virtual int numberOfRowsInTableView(const QTableView* tableView) const = 0;
    virtual QVariant tableViewObjectValueForTableColumnRow(const QTableView* tableView,
                                                           const TableColumn* column, int row) const = 0;
    // A committed edit of a cell.
    virtual void tableViewSetObjectValueForTableColumnRow(const QTableView* tableView, const QVariant& object,
                                                          const TableColumn* column, int row) = 0;
};
