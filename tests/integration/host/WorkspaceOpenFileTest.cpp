// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// LinuxWorkspace::openFile of a pane reaches the host: the running one over the bus, else a host
// it starts from the application folders.
#include "HostTestSupport.h"

#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"

#include <QDBusReply>

#include <csignal>
#include <sstream>

using namespace HostTest;

namespace {

class NoWindows : public Platform::WindowActivator {
public:
    bool activateWindowOfProcess(pid_t) override { return false; }
};

std::string readFile(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class WorkspaceOpenFileTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        mPreviousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (scratch() / "home").c_str(), 1);
    }
    void TearDown() override
    {
        // A host the workspace started is no child of ours: end it by its bus pid if quitting failed.
        if (hostOnBus()) {
            const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(busName);
            quitHost();
            if (!waitFor([] { return !hostOnBus(); }) && pid.isValid())
                kill(pid_t(pid.value()), SIGKILL);
        }
        HostFixture::TearDown();
        setenv("HOME", mPreviousHome.c_str(), 1);
    }

    // ~/Applications/System Preferences.app made of the built host's Info.plist and executable.
    void installHostInHome()
    {
        const fs::path built = hostExecutable.parent_path().parent_path().parent_path();
        const fs::path bundle = scratch() / "home" / "Applications" / "System Preferences.app";
        fs::create_directories(bundle / "Contents" / "MacOS");
        fs::copy_file(built / "Contents" / "Info.plist", bundle / "Contents" / "Info.plist");
        fs::copy_file(hostExecutable, bundle / "Contents" / "MacOS" / "System Preferences");
    }

    Platform::ProcFsProcessList mProcesses;
    Platform::PosixLaunchServices mLaunchServices;
    NoWindows mActivator;
    Platform::LinuxWorkspace mWorkspace{mProcesses, mLaunchServices, mActivator};
    std::string mPreviousHome;
};

TEST_F(WorkspaceOpenFileTest, ReachesTheRunningHost)
{
    const fs::path other = makePane(scratch(), {.name = "Other"});
    auto host = startHostShowing(testPane);
    EXPECT_TRUE(mWorkspace.openFile(other.string()));
    EXPECT_TRUE(host->waitForLine("TestPane: view shown Other.prefPane", 10s)) << output(*host);
    EXPECT_EQ(host->countLines("TestPane: destroyed Test.prefPane"), 1u);
}

TEST_F(WorkspaceOpenFileTest, StartsTheHostWhenNoneRuns)
{
    installHostInHome();
    const fs::path log = scratch() / "pane.log";
    setenv("CUEBOLT_TEST_PANE_LOG", log.c_str(), 1);
    ASSERT_FALSE(hostOnBus());
    EXPECT_TRUE(mWorkspace.openFile(testPane.string()));
    unsetenv("CUEBOLT_TEST_PANE_LOG");
    EXPECT_TRUE(waitFor(
        [&] { return readFile(log).find("TestPane: view shown Test.prefPane") != std::string::npos; }, 10s))
        << readFile(log);
    EXPECT_TRUE(hostOnBus());
    EXPECT_EQ(quitHost().type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(waitFor([] { return !hostOnBus(); }));
    EXPECT_TRUE(waitFor(
        [&] { return readFile(log).find("TestPane: destroyed Test.prefPane") != std::string::npos; }));
}

} // namespace
