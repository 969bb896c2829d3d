// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// cmake --install into a scratch prefix (with a space in it, as home folders have): the bundles as
// built, a valid desktop entry, and installed code that finds the installed host.
#include "HostTestSupport.h"

#include <sstream>

using namespace HostTest;

namespace {

const fs::path buildTree = BUILD_TREE;
const fs::path builtBundles = buildTree / "bundles";

std::string readFile(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> run(const std::vector<std::string>& argv, int* exitCode)
{
    TestSupport::CapturedProcess process(argv);
    const auto status = process.waitForExit(120s);
    *exitCode = status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    return process.lines();
}

class InstallTest : public HostFixture {
protected:
    static void SetUpTestSuite()
    {
        sScratch = std::make_unique<QTemporaryDir>();
        sPrefix = fs::path(sScratch->path().toStdString()) / "my prefix";
        int exitCode = 0;
        const auto output =
            run({CMAKE_COMMAND, "--install", buildTree.string(), "--prefix", sPrefix.string()}, &exitCode);
        ASSERT_EQ(exitCode, 0) << [&] {
            std::string text;
            for (const auto& line : output)
                text += line + '\n';
            return text;
        }();
    }
    static void TearDownTestSuite() { sScratch.reset(); }

    static fs::path applications() { return sPrefix / "Applications"; }
    static fs::path installedHost() { return applications() / "System Preferences.app"; }

    static inline std::unique_ptr<QTemporaryDir> sScratch;
    static inline fs::path sPrefix;
};

TEST_F(InstallTest, BundlesAreInstalledAsBuiltWithTheirModes)
{
    for (const char* bundle : {"System Preferences.app", "Cuebolt.prefPane"}) {
        SCOPED_TRACE(bundle);
        for (const auto& entry : fs::recursive_directory_iterator(builtBundles / bundle)) {
            if (!entry.is_regular_file())
                continue;
            const fs::path installed = applications() / fs::relative(entry.path(), builtBundles);
            ASSERT_TRUE(fs::is_regular_file(installed)) << installed;
            EXPECT_EQ(fs::status(installed).permissions(), entry.status().permissions()) << installed;
        }
    }
    const auto hostMode = fs::status(installedHost() / "Contents/MacOS/System Preferences").permissions();
    EXPECT_NE(hostMode & fs::perms::owner_exec, fs::perms::none);
    EXPECT_TRUE(fs::is_regular_file(applications() / "Cuebolt.prefPane/Contents/MacOS/Cuebolt"));
    EXPECT_TRUE(fs::is_regular_file(
        applications() /
        "Cuebolt.prefPane/Contents/Resources/CueboltListener.app/Contents/MacOS/CueboltListener"));
}

TEST_F(InstallTest, DesktopEntryOpensTheInstalledPaneInTheInstalledHost)
{
    const fs::path entry = sPrefix / "share/applications/cuebolt.desktop";
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nName=Cuebolt\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=\"" + installedHost().string() + "/Contents/MacOS/System Preferences\" \"" +
                        (applications() / "Cuebolt.prefPane").string() + "\"\n"),
              std::string::npos)
        << text;
    if (!TestSupport::haveProgram("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    int exitCode = 0;
    const auto complaints = run({"desktop-file-validate", entry.string()}, &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(complaints.empty()) << complaints.front();
}

TEST_F(InstallTest, CodeInsideTheInstalledPaneFindsTheInstalledHost)
{
    const fs::path peer =
        applications() / "Cuebolt.prefPane/Contents/Resources/Peer.app/Contents/MacOS/workspace_peer";
    fs::create_directories(peer.parent_path());
    fs::copy_file(WORKSPACE_PEER, peer);
    int exitCode = 0;
    const auto output = run({peer.string(), "find", busName}, &exitCode);
    fs::remove_all(peer.parent_path().parent_path().parent_path());
    EXPECT_EQ(exitCode, 0);
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.back(), installedHost().string());
}

TEST_F(InstallTest, InstalledHostShowsAPane)
{
    TestSupport::CapturedProcess host(
        {(installedHost() / "Contents/MacOS/System Preferences").string(), testPane.string()});
    EXPECT_TRUE(host.waitForLine("TestPane: view shown Test.prefPane", 10s)) << output(host);
    ASSERT_TRUE(waitFor(hostOnBus));
    EXPECT_EQ(quitHost().type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(exitCode(host), 0);
}

} // namespace
