// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/AutostartLoginItems.h"

#include "CapturingLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace Platform;
namespace fs = std::filesystem;

namespace {

constexpr const char* kKey = "AutoLaunchedApplicationDictionary";
constexpr const char* kDomain = "loginwindow";

class AutostartLoginItemsTest : public testing::Test {
protected:
    ~AutostartLoginItemsTest() override { fs::remove_all(mRoot); }

    static fs::path makeRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "cuebolt-autostart-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory");
        return pattern;
    }

    void writeFile(const std::string& name, const std::string& text) const
    {
        fs::create_directories(mFolder);
        std::ofstream(mFolder / name, std::ios::binary) << text;
    }
    std::string readFile(const std::string& name) const
    {
        std::ifstream in(mFolder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(mFolder, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    PlistArray items()
    {
        const auto value = mStore.CFPreferencesCopyValue(kKey, kDomain);
        return value && value->is<PlistArray>() ? *value->getIf<PlistArray>() : PlistArray();
    }
    void store(PlistArray list)
    {
        mStore.CFPreferencesSetValue(kKey, PlistValue(std::move(list)), kDomain);
        EXPECT_TRUE(mStore.CFPreferencesSynchronize(kDomain));
    }
    // An application bundle whose Info.plist names its executable.
    fs::path makeApp(const std::string& name, const std::string& executable) const
    {
        const fs::path app = mRoot / name;
        fs::create_directories(app / "Contents");
        const auto bytes =
            serializePropertyList(PlistDictionary{{"CFBundleExecutable", executable}}, PlistFormat::Xml);
        std::ofstream(app / "Contents" / "Info.plist", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return app;
    }

    Doubles::CapturingLog mLog;
    fs::path mRoot = makeRoot();
    fs::path mFolder = mRoot / "autostart";
    AutostartLoginItems mStore{mFolder};
};

TEST_F(AutostartLoginItemsTest, NoFolderMeansNoList)
{
    EXPECT_EQ(mStore.CFPreferencesCopyValue(kKey, kDomain), std::nullopt);
}

TEST_F(AutostartLoginItemsTest, OtherProgramsArePresentedByTheProgramTheyStart)
{
    struct Case {
        const char* exec;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"Exec=/usr/bin/editor --restore %U", "/usr/bin/editor"},
        {R"(Exec="/opt/My Tools/run \\"now\\"" -x)", R"(/opt/My Tools/run "now")"},
        {"Exec=/opt/100%%/run", "/opt/100%/run"},
        {"Exec=\\s/usr/bin/spaced", "/usr/bin/spaced"},
        {"Hidden=true", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exec);
        writeFile("other.desktop",
                  std::string("# a comment\n[Desktop Entry]\nName=Other\nExec[de]=/wrong\n") + c.exec +
                      "\n[Desktop Action quit]\nExec=/also/wrong\n");
        PlistDictionary expected{{"AutostartFile", "other.desktop"}};
        if (c.path)
            expected["Path"] = *c.path;
        EXPECT_EQ(items(), PlistArray{expected});
    }
}

TEST_F(AutostartLoginItemsTest, NewEntriesBecomeFilesThatStartTheBundleExecutable)
{
    const fs::path app = makeApp("My Listener.app", "listen");
    const PlistData alias{0x43, 0x42, 0x00, 0xFF};
    store({PlistDictionary{{"Path", app.string()}, {"AliasData", alias}, {"Hide", false}},
           PlistDictionary{{"Path", app.string()}, {"Hide", true}}});

    ASSERT_EQ(files(), (std::vector<std::string>{"My_Listener-2.desktop", "My_Listener.desktop"}));
    const std::string text = readFile("My_Listener.desktop");
    EXPECT_NE(text.find("\nExec=\"" + (app / "Contents" / "MacOS" / "listen").string() + "\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nX-Cuebolt-AliasData=434200ff\n"), std::string::npos) << text;

    EXPECT_EQ(items(), (PlistArray{PlistDictionary{{"Path", app.string()},
                                                   {"Hide", true},
                                                   {"AutostartFile", "My_Listener-2.desktop"}},
                                   PlistDictionary{{"Path", app.string()},
                                                   {"AliasData", alias},
                                                   {"Hide", false},
                                                   {"AutostartFile", "My_Listener.desktop"}}}));
}

TEST_F(AutostartLoginItemsTest, WritingTheListRemovesDroppedEntriesAndKeepsOthersUntouched)
{
    const std::string other = "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/other\n";
    writeFile("other.desktop", other);
    store({items()[0], PlistDictionary{{"Path", "/apps/A.app"}, {"Hide", false}}});
    ASSERT_EQ(files(), (std::vector<std::string>{"A.desktop", "other.desktop"}));

    PlistArray list = items();
    (*list[0].getIf<PlistDictionary>())["Hide"] = true;              // ours: rewritten
    (*list[1].getIf<PlistDictionary>())["Path"] = "/somewhere/else"; // theirs: never rewritten
    store(list);
    EXPECT_NE(readFile("A.desktop").find("\nX-Cuebolt-Hide=true\n"), std::string::npos);
    EXPECT_EQ(readFile("other.desktop"), other);

    store({items()[1]});
    EXPECT_EQ(files(), std::vector<std::string>{"other.desktop"});
    EXPECT_EQ(readFile("other.desktop"), other);
}

TEST_F(AutostartLoginItemsTest, PendingListIsReadBackButWrittenOnlyBySynchronize)
{
    const PlistArray list{PlistDictionary{{"Path", "/apps/A.app"}, {"Hide", false}}};
    mStore.CFPreferencesSetValue(kKey, PlistValue(list), kDomain);

    EXPECT_EQ(items(), list);
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(mStore.CFPreferencesSynchronize(kDomain));
    EXPECT_EQ(files(), std::vector<std::string>{"A.desktop"});
}

TEST_F(AutostartLoginItemsTest, BadInputIsRefusedWithAReason)
{
    writeFile("keep.desktop", "[Desktop Entry]\nExec=/usr/bin/keep\n");
    writeFile("ours.desktop", "[Desktop Entry]\nX-Cuebolt-Path=/apps/B.app\nX-Cuebolt-AliasData=xyz\n");

    mStore.CFPreferencesSetValue(kKey, PlistValue("not a list"), kDomain);
    mStore.CFPreferencesSetValue(kKey, std::nullopt, kDomain);
    EXPECT_EQ(mStore.CFPreferencesCopyValue("SomethingElse", kDomain), std::nullopt);
    store({PlistValue(7), PlistDictionary{{"Hide", true}}});

    const auto lines = mLog.lines();
    for (const char* reason :
         {"refusing to replace the login items with something that is not a list: it would "
          "remove every program's autostart entry",
          "the autostart folder holds only \"AutoLaunchedApplicationDictionary\" of "
          "\"loginwindow\", not \"SomethingElse\" of \"loginwindow\"",
          "skipping a login item that is not a dictionary",
          "skipping a login item without a \"Path\" string: it cannot start anything"}) {
        SCOPED_TRACE(reason);
        EXPECT_NE(std::find(lines.begin(), lines.end(), reason), lines.end());
    }
    // Both files were presented before the last write and are not in it.
    EXPECT_TRUE(files().empty());
}

TEST_F(AutostartLoginItemsTest, DamagedAliasDataIsLeftOutAndLogged)
{
    writeFile("ours.desktop", "[Desktop Entry]\nX-Cuebolt-Path=/apps/B.app\nX-Cuebolt-AliasData=xyz\n");

    EXPECT_EQ(items(), (PlistArray{PlistDictionary{
                           {"Path", "/apps/B.app"}, {"Hide", false}, {"AutostartFile", "ours.desktop"}}}));
    const auto lines = mLog.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "the alias data in " + (mFolder / "ours.desktop").string() +
                            " is not hexadecimal; the entry has none"),
              lines.end());
}

} // namespace
