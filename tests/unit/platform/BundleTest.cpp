// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Bundle.h"
#include "CapturingLog.h"
#include "PlatformTestSupport.h"
#include "PrivateServers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <sstream>
#include <sys/wait.h>

using namespace Platform;
using PlatformTest::TemporaryDirectory;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Runs `executable bundle <report>` and returns the three lines it reports.
std::vector<std::string> probeBundles(const fs::path& executable, const fs::path& report)
{
    TestSupport::ChildProcess probe({executable.string(), "bundle", report.string()});
    int status = 0;
    if (!probe.waitForExit(5000, &status) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return lines(PlatformTest::readFile(report));
}

TEST(Bundle, ReadsTheInformationOnceAndSharesOneInstancePerPath)
{
    TemporaryDirectory dir;
    const auto path = dir.path() / "Once.app";
    PlatformTest::writeInfoPlist(path, {{"CFBundleIdentifier", "com.example.once"}});

    const auto bundle = Bundle::bundleWithPath(path.string());
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.once");

    PlatformTest::writeInfoPlist(path, {{"CFBundleIdentifier", "com.example.changed"}});
    const auto again = Bundle::bundleWithPath((dir.path() / "." / "Once.app" / "").string());
    EXPECT_EQ(again, bundle);
    EXPECT_EQ(again->bundleIdentifier(), "com.example.once");
    EXPECT_EQ(again->bundlePath(), path.string());
}

TEST(Bundle, UnreadableInformationIsEmpty)
{
    struct Case {
        const char* name;
        std::optional<std::string> infoPlist;
        bool logged;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, false},
        {"damaged", std::string("<?xml version=\"1.0\"?><plist><dict><key>"), true},
        {"not a dictionary", std::string("<?xml version=\"1.0\"?><plist><array/></plist>"), true},
        {"empty file", std::string(), true},
    };
    for (const auto& c : cases) {
        TemporaryDirectory dir;
        fs::create_directories(dir.path() / "Broken.app" / "Contents");
        if (c.infoPlist)
            PlatformTest::writeFile(dir.path() / "Broken.app" / "Contents" / "Info.plist", *c.infoPlist);
        Doubles::CapturingLog log;
        const auto bundle = Bundle::bundleWithPath((dir.path() / "Broken.app").string());
        ASSERT_TRUE(bundle) << c.name;
        EXPECT_TRUE(bundle->infoDictionary().empty()) << c.name;
        EXPECT_FALSE(bundle->bundleIdentifier()) << c.name;
        EXPECT_EQ(log.lines().size(), c.logged ? 1u : 0u) << c.name;
    }
}

TEST(Bundle, IdentifierMustBeAString)
{
    TemporaryDirectory dir;
    PlatformTest::writeInfoPlist(dir.path() / "Odd.app", {{"CFBundleIdentifier", 12}});
    EXPECT_FALSE(Bundle::bundleWithPath((dir.path() / "Odd.app").string())->bundleIdentifier());
}

TEST(Bundle, OnlyDirectoriesAreBundles)
{
    TemporaryDirectory dir;
    PlatformTest::writeFile(dir.path() / "file", "x");
    EXPECT_FALSE(Bundle::bundleWithPath((dir.path() / "file").string()));
    EXPECT_FALSE(Bundle::bundleWithPath((dir.path() / "missing").string()));
}

TEST(Bundle, FindsResources)
{
    TemporaryDirectory dir;
    const auto bundle = dir.path() / "Pane.prefPane";
    PlatformTest::writeFile(bundle / "Contents" / "Resources" / "Help.rtf", "{\\rtf1}");
    PlatformTest::writeFile(bundle / "Contents" / "Resources" / "LICENSE", "MIT");
    const auto expected = (bundle / "Contents" / "Resources" / "Help.rtf").string();

    EXPECT_EQ(Bundle::bundleWithPath(bundle.string())->pathForResource("Help", "rtf"), expected);
    EXPECT_EQ(Bundle::pathForResourceOfTypeInDirectory("Help", "rtf", bundle.string()), expected);
    EXPECT_EQ(Bundle::pathForResourceOfTypeInDirectory("LICENSE", "", bundle.string()),
              (bundle / "Contents" / "Resources" / "LICENSE").string());
    EXPECT_FALSE(Bundle::pathForResourceOfTypeInDirectory("Help", "tif", bundle.string()));
    EXPECT_FALSE(Bundle::pathForResourceOfTypeInDirectory("Missing", "rtf", bundle.string()));
}

TEST(Bundle, AnExecutableInsideABundleBelongsToIt)
{
    TemporaryDirectory dir;
    const auto app = PlatformTest::makeBundle(
        dir.path(), "Fake.app", PlistDictionary{{"CFBundleIdentifier", "com.example.fake"}}, "Fake");
    EXPECT_EQ(probeBundles(app / "Contents" / "MacOS" / "Fake", dir.path() / "report"),
              (std::vector<std::string>{app.string(), app.string(), "com.example.fake"}));
}

TEST(Bundle, AnExecutableOutsideABundleBelongsToItsDirectory)
{
    TemporaryDirectory dir;
    fs::create_directories(dir.path() / "bin");
    fs::copy_file(CUEBOLT_PLATFORM_PROBE, dir.path() / "bin" / "probe");
    const auto bin = (dir.path() / "bin").string();
    EXPECT_EQ(probeBundles(dir.path() / "bin" / "probe", dir.path() / "report"),
              (std::vector<std::string>{bin, bin, "-"}));
}

TEST(Bundle, CodeInASharedLibraryBelongsToTheLibrarysDirectory)
{
    Dl_info libc{};
    ASSERT_TRUE(dladdr(reinterpret_cast<const void*>(&std::strlen), &libc));
    const auto bundle = Bundle::bundleContainingAddress(reinterpret_cast<const void*>(&std::strlen));
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), fs::canonical(libc.dli_fname).parent_path().string());
}

TEST(Bundle, AnAddressOutsideAnyCodeHasNoBundle)
{
    const auto heap = std::make_unique<int>(1);
    EXPECT_FALSE(Bundle::bundleContainingAddress(heap.get()));
}

} // namespace
