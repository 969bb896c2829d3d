// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The mappings table: its working copy of the stored mappings, the function pictures, restoring
// the defaults, and the table's data source.
#include "CBPreferencePane.h"

#include "DefaultMappings.h"
#include "MappingsTableModel.h"

#include "Platform/ImageRegistry.h"
#include "Platform/Log.h"

#include <QTableView>

#include <utility>

using namespace Platform;

namespace {

constexpr const char* kFunctionKey = "function";
constexpr const char* kSysexKey = "sysex";

const PlistDictionary* recordAt(const std::optional<PlistArray>& records, int row)
{
    if (!records || row < 0 || static_cast<std::size_t>(row) >= records->size())
        return nullptr;
    return (*records)[static_cast<std::size_t>(row)].getIf<PlistDictionary>();
}

PlistDictionary* recordAt(std::optional<PlistArray>& records, int row)
{
    return const_cast<PlistDictionary*>(recordAt(std::as_const(records), row));
}

} // namespace

void CBPreferencePane::initMappingsPane()
{
    loadFromPrefs();
    for (const char* name : DefaultMappings::kFunctionNames)
        tifImageNamed(name);
    // A Qt view keeps the row count it last asked for.
    reloadTable();
}

void CBPreferencePane::deallocMappingsPane()
{
    mMappingsArray.reset();
    reloadTable();
}

std::optional<QImage> CBPreferencePane::tifImageNamed(const std::string& name)
{
    const auto path = bundle()->pathForResource(name, "tif");
    if (!path) {
        NSLog("the picture " + name + ".tif is missing from " + bundle()->bundlePath() +
              "; its mappings show no function picture");
        return std::nullopt;
    }
    QImage image(QString::fromStdString(*path));
    if (image.isNull()) {
        NSLog("cannot read the picture " + *path + "; its mappings show no function picture");
        return std::nullopt;
    }
    ImageRegistry::setName(name, image);
    return image;
}

void CBPreferencePane::loadFromPrefs()
{
    mMappingsArray.reset();
    auto stored = prefsGetMappingsArray();
    if (!stored) {
        restoreDefaultMappings(this);
        stored = prefsGetMappingsArray();
    }
    PlistArray working;
    if (stored) {
        if (const auto* records = stored->getIf<PlistArray>())
            working = *records;
        else
            NSLog(
                "the stored mappings are not a list; the table stays empty until the defaults are restored");
    }
    mMappingsArray = std::move(working);
}

void CBPreferencePane::restoreDefaultMappings(const void* sender)
{
    const bool askedByUser = sender != this;
    if (askedByUser && mTableView)
        mTableView->clearSelection();
    prefsSetMappingsArray(DefaultMappings::records());
    if (askedByUser) {
        loadFromPrefs();
        reloadTable();
    }
}

void CBPreferencePane::reloadTable()
{
    if (!mTableView)
        return;
    if (auto* model = qobject_cast<MappingsTableModel*>(mTableView->model()))
        model->reloadData();
    mTableView->viewport()->update();
}

int CBPreferencePane::numberOfRowsInTableView(const QTableView*) const
{
    return mMappingsArray ? static_cast<int>(mMappingsArray->size()) : 0;
}

QVariant CBPreferencePane::tableViewObjectValueForTableColumnRow(const QTableView*, const TableColumn* column,
                                                                 int row) const
{
    const PlistDictionary* record = recordAt(mMappingsArray, row);
    if (!record)
        return {};
    if (column == mFunctionColumn) {
        const auto function = record->find(kFunctionKey);
        const auto* name = function != record->end() ? function->second.getIf<std::string>() : nullptr;
        const auto image = name ? ImageRegistry::imageNamed(*name) : std::nullopt;
        return image ? QVariant(*image) : QVariant();
    }
    if (column == mSysexColumn) {
        const auto sysex = record->find(kSysexKey);
        const auto* bytes = sysex != record->end() ? sysex->second.getIf<PlistData>() : nullptr;
        if (!bytes)
            return {};
        return QByteArray(reinterpret_cast<const char*>(bytes->data()),
                          static_cast<qsizetype>(bytes->size()));
    }
    return {};
}

void CBPreferencePane::tableViewSetObjectValueForTableColumnRow(const QTableView*, const QVariant& object,
                                                                const TableColumn* column, int row)
{
    if (column != mSysexColumn)
        return;
    PlistDictionary* record = recordAt(mMappingsArray, row);
    if (!record) {
        NSLog("mapping " + std::to_string(row) + " is not a record; the edit is dropped");
        return;
    }
    if (object.typeId() != QMetaType::QByteArray) {
        NSLog("an edited message that is not bytes is dropped");
        return;
    }
    const QByteArray bytes = object.toByteArray();
    (*record)[kSysexKey] = PlistData(bytes.begin(), bytes.end());
    prefsSetMappingsArray(*mMappingsArray);
}
