// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"

#include "DefaultMappings.h"

#include "Platform/ImageRegistry.h"

#include <QLineEdit>
#include <QTest>

using namespace Platform;

namespace {

constexpr const char* kPrefsChanged = "Cuebolt prefs changed";
constexpr const char* kMappingsKey = "default mappings";

PlistArray mappingsWithMessage(std::size_t row, PlistData sysex)
{
    PlistArray records = DefaultMappings::records();
    (*records[row].getIf<PlistDictionary>())["sysex"] = std::move(sysex);
    return records;
}

class MappingsTableTest : public PaneTest {
protected:
    std::optional<PlistValue> stored() const { return mMemoryPreferences.onDisk(kMappingsKey, kListenerID); }

    // Edits the message of a row as a user does: the cell's editor, the text typed, Return.
    void typeMessage(int row, const QString& text)
    {
        const QModelIndex cell = table()->model()->index(row, 1);
        table()->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(table()->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_TRUE(eventually([&] { return !table()->indexWidget(cell); }));
    }
};

TEST_F(MappingsTableTest, FirstOpeningStoresTheDefaultsAndShowsThem)
{
    openPane();

    EXPECT_EQ(stored(), PlistValue(DefaultMappings::records()));
    const auto notifications = posted(kPrefsChanged);
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].object, kListenerID);

    const auto* model = table()->model();
    ASSERT_EQ(model->rowCount(), 6);
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(messageText(row), QStringLiteral("F0 7D 0%1 F7 ").arg(row + 1));
        const auto picture = model->index(row, 0).data(Qt::DecorationRole).value<QImage>();
        EXPECT_FALSE(picture.isNull());
        EXPECT_EQ(picture, ImageRegistry::imageNamed(DefaultMappings::kFunctionNames[std::size_t(row)]));
    }
}

TEST_F(MappingsTableTest, StoredMappingsAreShownAsStoredWithoutWriting)
{
    PlistArray records = mappingsWithMessage(1, {0xF0, 0x01});
    records.push_back(PlistDictionary{{"function", "transport-rec"}}); // a seventh record, no message
    mMemoryPreferences.storeOnDisk(kMappingsKey, records, kListenerID);

    openPane();

    EXPECT_TRUE(posted(kPrefsChanged).empty());
    ASSERT_EQ(table()->model()->rowCount(), 7);
    EXPECT_EQ(messageText(1), QStringLiteral("F0 01 "));
    EXPECT_EQ(messageText(6), QString());
}

TEST_F(MappingsTableTest, CommittedEditWritesEveryRecordAndPostsOnce)
{
    openPane();
    mPosted->clear();

    typeMessage(2, QStringLiteral("f0 11 22 f7"));

    EXPECT_EQ(stored(), PlistValue(mappingsWithMessage(2, {0xF0, 0x11, 0x22, 0xF7})));
    const auto notifications = posted(kPrefsChanged);
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].object, kListenerID);
    EXPECT_EQ(messageText(2), QStringLiteral("F0 11 22 F7 "));
}

TEST_F(MappingsTableTest, FunctionColumnCannotBeEdited)
{
    openPane();
    mPosted->clear();
    const int synchronizations = mMemoryPreferences.synchronizeCount();
    const QModelIndex function = table()->model()->index(0, 0);

    EXPECT_FALSE(table()->model()->flags(function).testFlag(Qt::ItemIsEditable));
    table()->model()->setData(function, QByteArray("\xF0\x55\xF7"));

    EXPECT_EQ(stored(), PlistValue(DefaultMappings::records()));
    EXPECT_EQ(mMemoryPreferences.synchronizeCount(), synchronizations);
    EXPECT_TRUE(mPosted->empty());
}

TEST_F(MappingsTableTest, RestoreDefaultsClearsTheSelectionStoresAndShowsTheDefaults)
{
    mMemoryPreferences.storeOnDisk(kMappingsKey, mappingsWithMessage(3, {0xF0, 0x44, 0xF7}), kListenerID);
    openPane();
    table()->selectRow(3);
    ASSERT_TRUE(table()->selectionModel()->hasSelection());

    button("restoreDefaultsButton")->click();

    EXPECT_FALSE(table()->selectionModel()->hasSelection());
    EXPECT_EQ(stored(), PlistValue(DefaultMappings::records()));
    EXPECT_EQ(posted(kPrefsChanged).size(), 1u);
    EXPECT_EQ(messageText(3), QStringLiteral("F0 7D 04 F7 "));
}

TEST_F(MappingsTableTest, ChangeStoredByAnotherProcessIsOverwrittenAtTheNextEdit)
{
    openPane();
    mMemoryPreferences.storeOnDisk(kMappingsKey, mappingsWithMessage(5, {0xF0, 0x66, 0xF7}), kListenerID);
    EXPECT_EQ(messageText(5), QStringLiteral("F0 7D 06 F7 "));

    typeMessage(0, QStringLiteral("F0 01 F7"));

    EXPECT_EQ(stored(), PlistValue(mappingsWithMessage(0, {0xF0, 0x01, 0xF7})));
}

TEST_F(MappingsTableTest, StoredValueThatIsNoListLeavesTheTableEmpty)
{
    mMemoryPreferences.storeOnDisk(kMappingsKey, "damaged", kListenerID);

    openPane();

    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_TRUE(posted(kPrefsChanged).empty());
    EXPECT_TRUE(
        logged("the stored mappings are not a list; the table stays empty until the defaults are restored"));
}

TEST_F(MappingsTableTest, MissingListenerLeavesTheTableEmptyAndSaysWhy)
{
    fs::remove_all(mListenerBundle);

    openPane();

    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_TRUE(mPosted->empty());
    EXPECT_TRUE(logged("the listener application is missing from " + mPaneBundle.string() +
                       "; the mappings cannot be stored"));
}

TEST_F(MappingsTableTest, MissingPictureIsReported)
{
    fs::remove(mPaneBundle / "Contents" / "Resources" / "transport-loop.tif");
    makePane();

    EXPECT_EQ(mPane->tifImageNamed("transport-loop"), std::nullopt);
    EXPECT_TRUE(logged("the picture transport-loop.tif is missing from " + mPaneBundle.string() +
                       "; its mappings show no function picture"));
    EXPECT_NE(mPane->tifImageNamed("transport-rec"), std::nullopt);
}

} // namespace
