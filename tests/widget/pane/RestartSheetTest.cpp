// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"

#include <QDialog>

using namespace Platform;

namespace {

constexpr const char* kQuitRequest = "Cuebolt listener quit request";

class RestartSheetTest : public PaneTest {
protected:
    QDialog* sheet() const { return mHost.mWindow.findChild<QDialog*>("mWillRestartPanel"); }
    bool sheetShown() const { return sheet() && sheet()->isVisible(); }
};

TEST_F(RestartSheetTest, SheetAppearsWhenTheVersionOnDiskDiffers)
{
    struct Case {
        std::optional<std::string> onDisk;
        bool sheet;
        std::string logLine;
    };
    const Case cases[] = {
        {"1.0", false, "Cuebolt.prefPane version 1.0 did load"},
        {"1.1", true, "Cuebolt.prefPane version 1.1 did load"},
        {"1.0.0", true, "Cuebolt.prefPane version 1.0.0 did load"},
        {std::nullopt, true, "Cuebolt.prefPane version (null) did load"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logLine);
        TempDir scratch;
        mPaneBundle = scratch.path() / "Cuebolt.prefPane";
        mListenerBundle = mPaneBundle / "Contents" / "Resources" / "CueboltListener.app";
        writePaneInfo("1.0");
        writeListenerInfo(mListenerBundle);
        ASSERT_EQ(Bundle::bundleWithPath(mPaneBundle.string())->infoDictionary().at("CFBundleVersion"),
                  PlistValue("1.0"));
        writePaneInfo(c.onDisk);
        mLog.clear();

        openPane();

        EXPECT_TRUE(logged(c.logLine));
        EXPECT_EQ(sheetShown(), c.sheet);
        if (c.sheet) {
            EXPECT_EQ(sheet()->parentWidget(), &mHost.mWindow);
            EXPECT_EQ(sheet()->windowModality(), Qt::WindowModal);
        }
        // Set up behind the sheet all the same.
        EXPECT_EQ(table()->model()->rowCount(), 6);
        EXPECT_EQ(statusText(), QStringLiteral("Listener is not running."));
        mPane.reset();
    }
}

TEST_F(RestartSheetTest, SetUpLoadsTheMappingsBeforeLookingAtTheListener)
{
    int processQueriesWhenStored = -1;
    mCenter.addObserver(
        this, [&](const Notification&) { processQueriesWhenStored = mFakeProcesses.queries(); },
        "Cuebolt prefs changed", std::nullopt);

    openPane();

    EXPECT_EQ(processQueriesWhenStored, 0);
    EXPECT_GT(mFakeProcesses.queries(), 0);
}

class SheetButtonTest : public RestartSheetTest {
protected:
    void SetUp() override
    {
        mFakeProcesses.add("CueboltListener");
        mCenter.addObserver(
            this, [this](const Notification&) { mFakeProcesses.remove("CueboltListener"); }, kQuitRequest,
            kListenerID);
        Bundle::bundleWithPath(mPaneBundle.string())->infoDictionary(); // loaded as 1.0
        writePaneInfo("1.1");
        openPane();
        ASSERT_TRUE(sheetShown());
    }

    void pressSheetButton()
    {
        auto* sheetButton = sheet()->findChild<QAbstractButton*>("restartSheetButton");
        ASSERT_NE(sheetButton, nullptr);
        sheetButton->click();
    }
};

TEST_F(SheetButtonTest, RemovesTheSheetRestartsTheListenerThenLaunchesPanecycler)
{
    const fs::path panecycler = mPaneBundle / "Contents" / "Resources" / "Panecycler.app";
    fs::create_directories(panecycler / "Contents" / "MacOS");
    std::vector<std::string> seenAtLaunch;
    mLaunch.onLaunch = [&](const Doubles::LaunchRequest& request) {
        seenAtLaunch.push_back(request.path + (sheetShown() ? " with sheet" : "") +
                               (posted(kQuitRequest).empty() ? "" : " after quit request"));
    };

    pressSheetButton();

    EXPECT_EQ(mLaunch.requests(), (std::vector<Doubles::LaunchRequest>{{mListenerBundle.string(), 0xB00},
                                                                       {panecycler.string(), 0x300}}));
    EXPECT_EQ(seenAtLaunch, (std::vector<std::string>{mListenerBundle.string() + " after quit request",
                                                      panecycler.string() + " after quit request"}));
    EXPECT_FALSE(sheetShown());
}

TEST_F(SheetButtonTest, WithoutPanecyclerOnlyTheListenerIsRestarted)
{
    pressSheetButton();

    EXPECT_FALSE(sheetShown());
    EXPECT_EQ(posted(kQuitRequest).size(), 1u);
    EXPECT_EQ(mLaunch.requests(), (std::vector<Doubles::LaunchRequest>{{mListenerBundle.string(), 0xB00}}));
    EXPECT_TRUE(logged("Panecycler.app is not in " + mPaneBundle.string() +
                       "; System Preferences keeps the loaded pane"));
}

TEST_F(SheetButtonTest, EscapeDoesNotEndTheSheet)
{
    sheet()->reject();
    EXPECT_TRUE(sheetShown());
    EXPECT_TRUE(mLaunch.requests().empty());
}

} // namespace
