// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The host application as a process on a private session bus.
#include "HostTestSupport.h"

#include <csignal>
#include <functional>

using namespace HostTest;

namespace {

// Indexes of the lines holding each text, in the order given; -1 where one is missing.
std::vector<long> positions(TestSupport::CapturedProcess& process, const std::vector<std::string>& texts)
{
    const auto lines = process.lines();
    std::vector<long> found;
    for (const auto& text : texts) {
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
        found.push_back(it == lines.end() ? -1 : long(it - lines.begin()));
    }
    return found;
}

bool ascending(const std::vector<long>& indexes)
{
    return std::find(indexes.begin(), indexes.end(), -1) == indexes.end() &&
           std::is_sorted(indexes.begin(), indexes.end());
}

class HostProcessTest : public HostFixture {};

TEST_F(HostProcessTest, CreatesLoadsAndShowsThePaneInOrder)
{
    auto host = startHostShowing(testPane);
    EXPECT_TRUE(
        ascending(positions(*host, {"TestPane: factory Test.prefPane", "TestPane: loadMainView Test.prefPane",
                                    "TestPane: mainViewDidLoad Test.prefPane with a main window",
                                    "TestPane: view shown Test.prefPane"})));
    quitHost();
    EXPECT_EQ(exitCode(*host), 0);
}

struct QuitWay {
    const char* name;
    std::function<void(TestSupport::CapturedProcess&)> quit;
};

void PrintTo(const QuitWay& way, std::ostream* os)
{
    *os << way.name;
}

class HostQuitTest : public HostFixture, public ::testing::WithParamInterface<QuitWay> {};

TEST_P(HostQuitTest, TearsThePaneDownAndExitsZero)
{
    auto host = startHostShowing(testPane);
    GetParam().quit(*host);
    EXPECT_EQ(exitCode(*host), 0);
    EXPECT_EQ(host->countLines("TestPane: destroyed Test.prefPane"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, HostQuitTest,
    ::testing::Values(QuitWay{"ActivateActionQuit",
                              [](TestSupport::CapturedProcess&) {
                                  EXPECT_EQ(quitHost().type(), QDBusMessage::ReplyMessage);
                              }},
                      QuitWay{"Sigterm", [](TestSupport::CapturedProcess& host) { host.signal(SIGTERM); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostProcessTest, SecondStartHandsItsPaneToTheRunningHostAndExitsZero)
{
    const fs::path other = makePane(scratch(), {.name = "Other"});
    auto first = startHostShowing(testPane);

    auto second = startHost({other.string()});
    EXPECT_EQ(exitCode(*second), 0);
    EXPECT_EQ(second->countLines("TestPane:"), 0u);

    ASSERT_TRUE(first->waitForLine("TestPane: view shown Other.prefPane", 10s));
    EXPECT_TRUE(
        ascending(positions(*first, {"TestPane: destroyed Test.prefPane", "TestPane: factory Other.prefPane",
                                     "TestPane: view shown Other.prefPane"})));
    quitHost();
    EXPECT_EQ(exitCode(*first), 0);
    EXPECT_EQ(first->countLines("TestPane: destroyed Other.prefPane"), 1u);
}

TEST_F(HostProcessTest, SecondStartWithoutAPaneOnlyActivatesTheRunningHost)
{
    auto first = startHostShowing(testPane);
    auto second = startHost();
    EXPECT_EQ(exitCode(*second), 0);
    EXPECT_TRUE(hostOnBus());
    EXPECT_EQ(first->countLines("TestPane: destroyed"), 0u);
    quitHost();
    EXPECT_EQ(exitCode(*first), 0);
}

TEST_F(HostProcessTest, OpeningTheShownPaneAgainKeepsIt)
{
    const fs::path other = makePane(scratch(), {.name = "Other"});
    auto host = startHostShowing(testPane);
    EXPECT_EQ(openInHost(testPane).type(), QDBusMessage::ReplyMessage);
    // Requests are handled in order: once Other shows, the repeated Open has been handled.
    EXPECT_EQ(openInHost(other).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(host->waitForLine("TestPane: view shown Other.prefPane", 10s));
    EXPECT_EQ(host->countLines("TestPane: factory Test.prefPane"), 1u);
    EXPECT_EQ(host->countLines("TestPane: destroyed Test.prefPane"), 1u);
}

TEST_F(HostProcessTest, RejectsWhatItCannotDo)
{
    auto host = startHostShowing(testPane);
    EXPECT_EQ(callHost("ActivateAction", {QString("fly"), QVariant::fromValue(QVariantList()), QVariantMap()})
                  .type(),
              QDBusMessage::ErrorMessage);
    EXPECT_EQ(callHost("Open", {QStringList{"https://example.invalid/x.prefPane"}, QVariantMap()}).type(),
              QDBusMessage::ErrorMessage);
    EXPECT_EQ(callHost("Open", {QStringList{}, QVariantMap()}).type(), QDBusMessage::ErrorMessage);
    EXPECT_TRUE(host->waitForLine("the pane host has no action \"fly\"", 5s));
    EXPECT_EQ(host->countLines("TestPane: destroyed"), 0u);
    quitHost();
    EXPECT_EQ(exitCode(*host), 0);
}

// A pane that cannot be shown: the host says which pane and what failed, and keeps running.
struct BrokenPane {
    const char* name;
    PaneSpec spec;
    const char* failure;
};

void PrintTo(const BrokenPane& broken, std::ostream* os)
{
    *os << broken.name;
}

class BrokenPaneTest : public HostFixture, public ::testing::WithParamInterface<BrokenPane> {};

TEST_P(BrokenPaneTest, IsLoggedAndTheHostKeepsRunning)
{
    const BrokenPane& broken = GetParam();
    const fs::path pane =
        broken.spec.name.empty() ? scratch() / "Absent.prefPane" : makePane(scratch(), broken.spec);
    auto host = startHost({pane.string()});
    const auto line = host->waitForLine("cannot load the preference pane " + pane.string() + ": ", 10s);
    ASSERT_TRUE(line) << output(*host);
    EXPECT_NE(host->lines().at(*line).find(broken.failure), std::string::npos) << host->lines().at(*line);
    ASSERT_TRUE(waitFor(hostOnBus));
    EXPECT_EQ(quitHost().type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(exitCode(*host), 0);
    EXPECT_EQ(host->countLines("TestPane: factory"), host->countLines("TestPane: destroyed"));
}

INSTANTIATE_TEST_SUITE_P(
    Panes, BrokenPaneTest,
    ::testing::Values(
        BrokenPane{"NoBundle", {.name = ""}, "there is no bundle directory"},
        BrokenPane{"NoInfoPlist", {.name = "NoInfo", .withInfo = false}, "it has no Contents/Info.plist"},
        BrokenPane{
            "NoPrincipalClass", {.name = "NoClass", .principalClass = ""}, "names no NSPrincipalClass"},
        BrokenPane{"NoExecutableKey", {.name = "NoKey", .executable = ""}, "names no CFBundleExecutable"},
        BrokenPane{"ExecutableOutsideMacOS",
                   {.name = "Escape", .executable = "../../../TestPane"},
                   "names no CFBundleExecutable inside Contents/MacOS"},
        BrokenPane{"NoPlugin", {.name = "NoPlugin", .withPlugin = false}, "cannot load its plug-in"},
        BrokenPane{"NoFactorySymbol",
                   {.name = "NoSymbol", .principalClass = "Absent"},
                   "exports no NSPrincipalClass_Absent"},
        BrokenPane{"FactoryThrows",
                   {.name = "Throwing", .principalClass = "ThrowingPane"},
                   "NSPrincipalClass_ThrowingPane threw: the test pane refuses to be made"},
        BrokenPane{"FactoryMakesNothing",
                   {.name = "Null", .principalClass = "NullPane"},
                   "NSPrincipalClass_NullPane made no pane"},
        BrokenPane{
            "NoView", {.name = "Viewless", .principalClass = "ViewlessPane"}, "loadMainView gave no view"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
