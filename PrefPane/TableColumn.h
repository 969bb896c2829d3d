// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QString>

// A column of a table as its data source sees it: an object the data source compares by identity.
class TableColumn {
public:
    TableColumn(QString title, bool editable) : mTitle(std::move(title)), mEditable(editable) {}
    TableColumn(const TableColumn&) = delete;
    TableColumn& operator=(const TableColumn&) = delete;

    const QString& title() const { return mTitle; }
    bool isEditable() const { return mEditable; }

private:
    QString mTitle;
    bool mEditable;
};
