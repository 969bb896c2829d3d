// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/ProcFsProcessList.h"
#include "PlatformTestSupport.h"
#include "PrivateServers.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Platform;
using PlatformTest::TemporaryDirectory;
namespace fs = std::filesystem;

namespace {

std::optional<RunningProcess> find(pid_t pid)
{
    for (auto& process : ProcFsProcessList().runningProcesses())
        if (process.pid == pid)
            return process;
    return std::nullopt;
}

// Waits until the child has executed the program (before that it still shows as this test).
std::optional<RunningProcess> findNamed(pid_t pid, const std::string& name)
{
    std::optional<RunningProcess> found;
    PlatformTest::waitUntil([&] {
        found = find(pid);
        return found && found->name == name;
    });
    return found;
}

TEST(ProcFsProcessList, NamesABundledApplicationAfterItsBundle)
{
    TemporaryDirectory dir;
    const auto app = PlatformTest::makeBundle(dir.path(), "T.app",
                                              PlistDictionary{{"CFBundleIdentifier", "com.example.t"}}, "T");
    TestSupport::ChildProcess child({(app / "Contents" / "MacOS" / "T").string(), "wait"});

    const auto process = findNamed(child.pid(), "T");
    ASSERT_TRUE(process);
    EXPECT_EQ(process->name, "T");
    EXPECT_EQ(process->bundlePath, app.string());
    EXPECT_EQ(process->bundleIdentifier, "com.example.t");
}

TEST(ProcFsProcessList, NamesOtherProcessesAfterTheirExecutableFile)
{
    const auto self = find(::getpid());
    ASSERT_TRUE(self);
    EXPECT_EQ(self->name, fs::read_symlink("/proc/self/exe").filename().string());
    EXPECT_FALSE(self->bundlePath);
    EXPECT_FALSE(self->bundleIdentifier);
}

TEST(ProcFsProcessList, NamesAProcessWhoseExecutableWasDeletedWithoutTheMark)
{
    TemporaryDirectory dir;
    const auto executable = dir.path() / "a-rather-long-program-name";
    fs::copy_file(CUEBOLT_PLATFORM_PROBE, executable);
    TestSupport::ChildProcess child({executable.string(), "wait"});
    ASSERT_TRUE(findNamed(child.pid(), executable.filename().string()));

    fs::remove(executable);
    const auto process = find(child.pid());
    ASSERT_TRUE(process);
    EXPECT_EQ(process->name, "a-rather-long-program-name");
}

} // namespace
