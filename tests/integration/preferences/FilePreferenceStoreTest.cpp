// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/FilePreferenceStore.h"
#include "CapturingLog.h"
#include "PreferencesTestSupport.h"
#include "PrivateServers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace Platform;
using namespace PreferencesTest;

namespace {

const std::string domain = "com.plexwerk.cuebolt";
const PlistData zeroSysex{0xf0, 0x7d, 0x01, 0xf7};

class FilePreferenceStoreTest : public testing::Test {
protected:
    // Not created yet: the first write makes it.
    fs::path directory() const { return mRoot.path() / "config" / "preferences"; }
    fs::path fileOf(const std::string& name) const { return directory() / (name + ".plist"); }
    std::optional<PlistValue> stored(const std::string& name) const
    {
        return readPropertyListFile(fileOf(name));
    }

    TemporaryDirectory mRoot;
    Doubles::CapturingLog mLog;
};

TEST_F(FilePreferenceStoreTest, ValuesAreVisibleAtOnceAndWrittenBySynchronize)
{
    FilePreferenceStore store(directory());
    store.CFPreferencesSetValue("sysex", zeroSysex, domain);
    EXPECT_EQ(store.CFPreferencesCopyValue("sysex", domain), zeroSysex);
    EXPECT_FALSE(fs::exists(directory())) << "nothing is written before synchronize";

    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"sysex", zeroSysex}}));
    EXPECT_EQ(permissions(fileOf(domain)), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(permissions(directory()), fs::perms::owner_all);
    EXPECT_EQ(readFile(fileOf(domain)).rfind("<?xml", 0), 0u) << "written as XML for people to read";

    FilePreferenceStore later(directory());
    EXPECT_EQ(later.CFPreferencesCopyValue("sysex", domain), zeroSysex);
    EXPECT_FALSE(later.CFPreferencesCopyValue("other", domain));
    EXPECT_FALSE(later.CFPreferencesCopyValue("sysex", "com.example.elsewhere"));
    EXPECT_TRUE(mLog.lines().empty());
}

TEST_F(FilePreferenceStoreTest, ReadsBinaryFiles)
{
    writeFile(fileOf(domain), [] {
        const auto bytes = serializePropertyList(PlistDictionary{{"enabled", true}}, PlistFormat::Binary);
        return std::string(bytes.begin(), bytes.end());
    }());
    FilePreferenceStore store(directory());
    EXPECT_EQ(store.CFPreferencesCopyValue("enabled", domain), PlistValue(true));
}

TEST_F(FilePreferenceStoreTest, RemovingAKey)
{
    FilePreferenceStore store(directory());
    store.CFPreferencesSetValue("a", 1, domain);
    store.CFPreferencesSetValue("b", 2, domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));

    store.CFPreferencesSetValue("a", std::nullopt, domain);
    EXPECT_FALSE(store.CFPreferencesCopyValue("a", domain)) << "the removal is visible before synchronize";
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"b", 2}}));
}

TEST_F(FilePreferenceStoreTest, SynchronizeWithoutChangesWritesNothing)
{
    FilePreferenceStore store(directory());
    EXPECT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_FALSE(fs::exists(directory()));

    store.CFPreferencesSetValue("a", 1, domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    struct stat before {};
    ::stat(fileOf(domain).c_str(), &before);
    EXPECT_TRUE(store.CFPreferencesSynchronize(domain));
    struct stat after {};
    ::stat(fileOf(domain).c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an unchanged domain is not rewritten";
}

TEST_F(FilePreferenceStoreTest, TwoStoresShareADomainThroughSynchronize)
{
    FilePreferenceStore pane(directory());
    FilePreferenceStore listener(directory());
    pane.CFPreferencesSetValue("mappings", 1, domain);
    ASSERT_TRUE(pane.CFPreferencesSynchronize(domain));
    EXPECT_EQ(listener.CFPreferencesCopyValue("mappings", domain), PlistValue(1));

    pane.CFPreferencesSetValue("mappings", 2, domain);
    ASSERT_TRUE(pane.CFPreferencesSynchronize(domain));
    EXPECT_EQ(listener.CFPreferencesCopyValue("mappings", domain), PlistValue(1)) << "read from the cache";
    ASSERT_TRUE(listener.CFPreferencesSynchronize(domain));
    EXPECT_EQ(listener.CFPreferencesCopyValue("mappings", domain), PlistValue(2));

    listener.CFPreferencesSetValue("launched", true, domain);
    ASSERT_TRUE(listener.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"mappings", 2}, {"launched", true}}))
        << "keys of both merged";
}

TEST_F(FilePreferenceStoreTest, PendingKeysWinOverOtherWriters)
{
    FilePreferenceStore first(directory());
    FilePreferenceStore second(directory());
    first.CFPreferencesSetValue("k", "mine", domain);
    second.CFPreferencesSetValue("k", "theirs", domain);
    second.CFPreferencesSetValue("other", "theirs", domain);
    ASSERT_TRUE(second.CFPreferencesSynchronize(domain));

    EXPECT_EQ(first.CFPreferencesCopyValue("k", domain), PlistValue("mine"));
    ASSERT_TRUE(first.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"k", "mine"}, {"other", "theirs"}}));
}

TEST_F(FilePreferenceStoreTest, AnotherProcessWritesAndWeSynchronize)
{
    FilePreferenceStore store(directory());
    store.CFPreferencesSetValue("state", "before", domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));

    TestSupport::ChildProcess writer(
        {CUEBOLT_PREFERENCES_WRITER, directory().string(), domain, "state", "after"});
    int status = 0;
    ASSERT_TRUE(writer.waitForExit(5000, &status));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(store.CFPreferencesCopyValue("state", domain), PlistValue("before"));
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(store.CFPreferencesCopyValue("state", domain), PlistValue("after"));
}

TEST_F(FilePreferenceStoreTest, ADamagedFileIsMovedAsideAndReadsEmpty)
{
    const auto binary = serializePropertyList(PlistDictionary{{"a", 1}}, PlistFormat::Binary);
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"text", "this is not a property list"},
        {"cut binary", std::string(binary.begin(), binary.begin() + binary.size() / 2)},
        {"array, not a dictionary", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>"},
        {"empty", ""},
    };
    for (const auto& [name, contents] : cases) {
        fs::remove_all(directory());
        writeFile(fileOf(domain), contents);
        mLog.clear();

        FilePreferenceStore store(directory());
        EXPECT_FALSE(store.CFPreferencesCopyValue("a", domain)) << name;

        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator(directory()))
            if (entry.path().filename().string().starts_with(domain + ".plist.damaged-"))
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u) << name;
        EXPECT_EQ(readFile(aside[0]), contents) << name << ": kept as it was";
        EXPECT_FALSE(fs::exists(fileOf(domain))) << name;
        ASSERT_EQ(mLog.lines().size(), 1u) << name;
        EXPECT_NE(mLog.lines()[0].find(fileOf(domain).string()), std::string::npos) << name;
        EXPECT_NE(mLog.lines()[0].find(aside[0].string()), std::string::npos) << name;

        store.CFPreferencesSetValue("a", 2, domain);
        ASSERT_TRUE(store.CFPreferencesSynchronize(domain)) << name;
        EXPECT_EQ(stored(domain), (PlistDictionary{{"a", 2}})) << name;
        EXPECT_EQ(readFile(aside[0]), contents) << name << ": still intact after the next write";
    }
}

TEST_F(FilePreferenceStoreTest, ADamagedFileFoundBySynchronizeIsNotOverwritten)
{
    FilePreferenceStore store(directory());
    store.CFPreferencesSetValue("a", 1, domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    writeFile(fileOf(domain), "garbage written by someone else");

    store.CFPreferencesSetValue("b", 2, domain);
    ASSERT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"b", 2}}));
    EXPECT_EQ(fileNames(directory()).size(), 3u) << "file, lock and the damaged copy";
}

TEST_F(FilePreferenceStoreTest, RefusesDomainsThatAreNoPlainFileName)
{
    for (const std::string& bad : std::vector<std::string>{"", ".hidden", "a/b", "../escape",
                                                           "com.example/../../x", std::string("nul\0x", 5)}) {
        FilePreferenceStore store(directory());
        mLog.clear();
        store.CFPreferencesSetValue("k", 1, bad);
        EXPECT_FALSE(store.CFPreferencesCopyValue("k", bad)) << bad;
        EXPECT_FALSE(store.CFPreferencesSynchronize(bad)) << bad;
        EXPECT_FALSE(fs::exists(directory())) << bad;
        EXPECT_EQ(mLog.lines().size(), 3u) << bad;
    }
    EXPECT_EQ(fileNames(mRoot.path()).size(), 0u);
}

TEST_F(FilePreferenceStoreTest, AFailedSynchronizeKeepsThePendingKeys)
{
    writeFile(mRoot.path() / "config", "a file where the directory should be");
    FilePreferenceStore store(directory());
    store.CFPreferencesSetValue("k", 1, domain);
    EXPECT_FALSE(store.CFPreferencesSynchronize(domain));
    EXPECT_FALSE(mLog.lines().empty());
    EXPECT_EQ(store.CFPreferencesCopyValue("k", domain), PlistValue(1));

    fs::remove(mRoot.path() / "config");
    EXPECT_TRUE(store.CFPreferencesSynchronize(domain));
    EXPECT_EQ(stored(domain), (PlistDictionary{{"k", 1}}));
}

TEST_F(FilePreferenceStoreTest, ManyThreadsShareOneStore)
{
    FilePreferenceStore store(directory());
    constexpr int threads = 4;
    constexpr int keysEach = 25;
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t)
        writers.emplace_back([&store, t] {
            for (int i = 0; i < keysEach; ++i) {
                const auto key = std::to_string(t) + "-" + std::to_string(i);
                store.CFPreferencesSetValue(key, i, domain);
                EXPECT_EQ(store.CFPreferencesCopyValue(key, domain), PlistValue(i));
                EXPECT_TRUE(store.CFPreferencesSynchronize(domain));
            }
        });
    for (auto& w : writers)
        w.join();
    const auto contents = stored(domain);
    ASSERT_TRUE(contents && contents->is<PlistDictionary>());
    EXPECT_EQ(contents->getIf<PlistDictionary>()->size(), std::size_t{threads * keysEach});
}

// Sets or clears an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (mOld)
            ::setenv(mName, mOld->c_str(), 1);
        else
            ::unsetenv(mName);
    }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

TEST(FilePreferenceStoreLocation, FollowsTheBaseDirectoryVariables)
{
    struct Case {
        const char* configHome;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"/xdg/config", "/xdg/config/preferences"},
        {nullptr, "/home/tester/.config/preferences"},
        {"", "/home/tester/.config/preferences"},
        {"relative/config", "/home/tester/.config/preferences"},
    };
    ScopedEnvironment home("HOME", "/home/tester");
    for (const auto& c : cases) {
        ScopedEnvironment config("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(FilePreferenceStore::defaultDirectory(), fs::path(c.expected))
            << (c.configHome ? c.configHome : "unset");
    }
}

} // namespace
