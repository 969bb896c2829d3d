// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/LaunchServices.h"
#include "CapturingLog.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace Platform;
using PlatformTest::TemporaryDirectory;
namespace fs = std::filesystem;

namespace {

std::uint64_t bigEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = (value << 8) | bytes.at(offset + i);
    return value;
}

TEST(FSRef, RefersToExistingFilesOnly)
{
    TemporaryDirectory dir;
    PlatformTest::writeFile(dir.path() / "file", "x");
    struct stat info {};
    ASSERT_EQ(::stat((dir.path() / "file").c_str(), &info), 0);

    const auto ref = FSPathMakeRef((dir.path() / "." / "file").string());
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->path, (dir.path() / "file").string());
    EXPECT_EQ(ref->device, info.st_dev);
    EXPECT_EQ(ref->inode, info.st_ino);

    EXPECT_FALSE(FSPathMakeRef((dir.path() / "missing").string()));
    EXPECT_FALSE(FSPathMakeRef(""));
}

TEST(FSNewAlias, RecordsPathDeviceAndInodeInTheDocumentedLayout)
{
    const FSRef target{"/opt/Cuebolt/CueboltListener.app", 0x0102030405060708ULL, 0x1112131415161718ULL};
    const auto record = FSNewAlias(target);
    ASSERT_TRUE(record);
    ASSERT_EQ(record->size(), 26 + target.path.size());
    EXPECT_EQ(std::string(record->begin(), record->begin() + 4), "CBAL");
    EXPECT_EQ(bigEndian(*record, 4, 2), 1u);
    EXPECT_EQ(bigEndian(*record, 6, 8), target.device);
    EXPECT_EQ(bigEndian(*record, 14, 8), target.inode);
    EXPECT_EQ(bigEndian(*record, 22, 4), target.path.size());
    EXPECT_EQ(std::string(record->begin() + 26, record->end()), target.path);

    EXPECT_FALSE(FSNewAlias(FSRef{}));
}

class Launching : public testing::Test {
protected:
    void SetUp() override { ::setenv("CUEBOLT_PROBE_REPORT", report().c_str(), 1); }
    void TearDown() override { ::unsetenv("CUEBOLT_PROBE_REPORT"); }

    fs::path report() const { return mDir.path() / "report"; }

    OSStatus launch(const fs::path& path)
    {
        const auto ref = FSPathMakeRef(path.string());
        return ref ? mLaunchServices.LSOpenFromRefSpec(*ref, kLSLaunchDontSwitch | kLSLaunchNoParams)
                   : fnfErr;
    }

    // The launched probe's stdin and session, once it has reported them.
    std::vector<std::string> launchedReport() const
    {
        if (!PlatformTest::waitUntil([&] { return fs::exists(report()); }))
            return {};
        std::vector<std::string> lines;
        std::istringstream in(PlatformTest::readFile(report()));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    void expectDetachedLaunch()
    {
        const auto lines = launchedReport();
        ASSERT_EQ(lines.size(), 2u) << "the launched program did not report";
        EXPECT_EQ(lines[0], "/dev/null");
        EXPECT_NE(lines[1], std::to_string(::getsid(0))) << "the program should run in a session of its own";
    }

    TemporaryDirectory mDir;
    PosixLaunchServices mLaunchServices;
};

TEST_F(Launching, StartsTheBundlesNamedExecutable)
{
    const auto app = PlatformTest::makeBundle(mDir.path(), "Launched.app",
                                              PlistDictionary{{"CFBundleExecutable", "Probe"}}, "Probe");
    EXPECT_EQ(launch(app), noErr);
    expectDetachedLaunch();
}

TEST_F(Launching, WithoutANamedExecutableStartsTheOneNamedAfterTheBundle)
{
    const auto app = PlatformTest::makeBundle(mDir.path(), "Plain.app", std::nullopt, "Plain");
    EXPECT_EQ(launch(app), noErr);
    expectDetachedLaunch();
}

TEST_F(Launching, StartsAPlainExecutable)
{
    fs::copy_file(CUEBOLT_PLATFORM_PROBE, mDir.path() / "probe");
    EXPECT_EQ(launch(mDir.path() / "probe"), noErr);
    expectDetachedLaunch();
}

TEST_F(Launching, ReportsWhatCannotBeStarted)
{
    const auto noExecutable = mDir.path() / "Empty.app";
    PlatformTest::writeInfoPlist(noExecutable, {{"CFBundleExecutable", "Gone"}});
    const auto notExecutable = mDir.path() / "notes.txt";
    PlatformTest::writeFile(notExecutable, "not a program");
    ::chmod(notExecutable.c_str(), 0644);

    struct Case {
        const char* name;
        FSRef ref;
        OSStatus expected;
    };
    const std::vector<Case> cases = {
        {"missing path", FSRef{(mDir.path() / "Missing.app").string()}, fnfErr},
        {"bundle without its executable", FSRef{noExecutable.string()}, fnfErr},
        {"file that is no program", FSRef{notExecutable.string()}, kLSUnknownErr},
    };
    for (const auto& c : cases) {
        Doubles::CapturingLog log;
        EXPECT_EQ(mLaunchServices.LSOpenFromRefSpec(c.ref, 0), c.expected) << c.name;
        EXPECT_EQ(log.lines().size(), 1u) << c.name;
    }
}

} // namespace
