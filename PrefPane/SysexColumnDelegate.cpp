// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "SysexColumnDelegate.h"

#include "SysexEditHook.h"

#include <QByteArray>
#include <QLineEdit>

namespace {

// The model's QVariant as the property-list object the formatter expects; the conversions between
// Qt values and cell objects all live here.
std::optional<Platform::PlistValue> cellObject(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        return Platform::PlistValue(Platform::PlistData(bytes.begin(), bytes.end()));
    }
    // Any other object is not bytes, and the formatter shows none for it.
    return Platform::PlistValue(value.toString().toStdString());
}

QByteArray byteArray(const Platform::PlistData& data)
{
    return QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
}

} // namespace

SysexColumnDelegate::SysexColumnDelegate(std::unique_ptr<CBSysexFormatter> formatter, QObject* parent)
    : QStyledItemDelegate(parent), mFormatter(std::move(formatter))
{
}

SysexColumnDelegate::~SysexColumnDelegate() = default;

QString SysexColumnDelegate::textForCell(const QVariant& value) const
{
    return mFormatter->stringForObjectValue(cellObject(value)).value_or(QString());
}

QString SysexColumnDelegate::displayText(const QVariant& value, const QLocale& /*locale*/) const
{
    return textForCell(value);
}

QWidget* SysexColumnDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                           const QModelIndex& /*index*/) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    new SysexEditHook(editor, *mFormatter);
    return editor;
}

void SysexColumnDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* lineEdit = qobject_cast<QLineEdit*>(editor))
        lineEdit->setText(textForCell(index.data(Qt::EditRole)));
}

void SysexColumnDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const
{
    const auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (!lineEdit)
        return;
    Platform::PlistData bytes;
    mFormatter->getObjectValue(bytes, lineEdit->text());
    model->setData(index, byteArray(bytes), Qt::EditRole);
}
