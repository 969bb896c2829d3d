// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "CBSysexFormatter.h"

#include <QStyledItemDelegate>
#include <memory>

// The sysex column's cell: shows and edits each message as text through its CBSysexFormatter.
//
// Contract with the model:
// - data(index, Qt::DisplayRole / Qt::EditRole) is the cell object: a QByteArray holding the message
//   bytes, or an invalid QVariant for none. Other values (a QString, a number, a bool) are shown as
//   empty text, as any object that is not bytes.
// - On a committed edit, setData(index, value, Qt::EditRole) receives the parsed bytes as a QByteArray
//   (possibly empty).
class SysexColumnDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit SysexColumnDelegate(std::unique_ptr<CBSysexFormatter> formatter, QObject* parent = nullptr);
    ~SysexColumnDelegate() override;

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    QString textForCell(const QVariant& value) const;

    std::unique_ptr<CBSysexFormatter> mFormatter;
};
