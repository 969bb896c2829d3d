// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

#include "CBBundleAdditions.h"

#include <fstream>

using namespace Platform;
using namespace CBBundleAdditions;

namespace {

TEST(BundleVersion, LoadedVersionStaysWhileTheDiskCopyChanges)
{
    TempDir temp;
    const auto dir = makeBundle(temp.path() / "Pane.prefPane", "com.example.pane", "1.0");
    const auto bundle = Bundle::bundleWithPath(dir.native());
    EXPECT_EQ(bundleVersion(*bundle), "1.0");
    EXPECT_EQ(unCachedBundleVersion(*bundle), "1.0");

    makeBundle(dir, "com.example.pane", "1.1");
    EXPECT_EQ(bundleVersion(*bundle), "1.0");
    EXPECT_EQ(unCachedBundleVersion(*bundle), "1.1");

    fs::remove(dir / "Contents/Info.plist");
    EXPECT_EQ(bundleVersion(*bundle), "1.0");
    EXPECT_EQ(unCachedBundleVersion(*bundle), std::nullopt);
}

struct InfoCase {
    const char* name;
    std::string contents;
    friend void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }
};

class DamagedInfoTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(DamagedInfoTest, GivesNoVersion)
{
    TempDir temp;
    const auto dir = temp.path() / "X.app";
    fs::create_directories(dir / "Contents");
    std::ofstream(dir / "Contents/Info.plist") << GetParam().contents;
    const auto bundle = Bundle::bundleWithPath(dir.native());
    EXPECT_EQ(bundleVersion(*bundle), std::nullopt);
    EXPECT_EQ(unCachedBundleVersion(*bundle), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Info, DamagedInfoTest,
    ::testing::Values(InfoCase{"NotAPlist", "this is not a property list"},
                      InfoCase{"NoVersionKey", "<plist><dict><key>CFBundleIdentifier</key><string>x</string></dict></plist>"},
                      InfoCase{"VersionNotAString", "<plist><dict><key>CFBundleVersion</key><integer>3</integer></dict></plist>"},
                      InfoCase{"NotADictionary", "<plist><array><string>1.0</string></array></plist>"},
                      InfoCase{"Empty", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
