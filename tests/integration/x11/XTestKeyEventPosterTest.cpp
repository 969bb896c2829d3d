// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/XTestKeyEventPoster.h"
#include "CapturingLog.h"
#include "StandinTarget.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Platform;
using TestSupport::StandinTarget;

// The stand-in installed the way the real application is, so the name cannot matter.
class StandinBundle {
public:
    StandinBundle()
        : mRoot(std::filesystem::temp_directory_path() / ("cuebolt-x11-" + std::to_string(getpid())))
    {
        const auto macOS = mRoot / "GarageBand.app" / "Contents" / "MacOS";
        std::filesystem::create_directories(macOS);
        std::filesystem::create_symlink(StandinTarget::builtPath(), macOS / "GarageBand");
        mExecutable = (macOS / "GarageBand").string();
    }
    ~StandinBundle() { std::filesystem::remove_all(mRoot); }
    const std::string& executable() const { return mExecutable; }

private:
    std::filesystem::path mRoot;
    std::string mExecutable;
};

class XTestKeyEventPosterTest : public testing::Test {
protected:
    static void SetUpTestSuite() { sServer = std::make_unique<TestSupport::PrivateXServer>(); }
    static void TearDownTestSuite() { sServer.reset(); }

    static bool isEvent(const std::string& line, const std::string& type, int keyCode)
    {
        return line.rfind(type + " keycode=" + std::to_string(keyCode) + " ", 0) == 0;
    }

    static inline std::unique_ptr<TestSupport::PrivateXServer> sServer;
    StandinBundle mBundle;
    StandinTarget mTarget{mBundle.executable()};
    XTestKeyEventPoster mPoster;
};

struct PostedKey {
    const char* name;
    CGCharCode character;
    CGKeyCode virtualKey;
    int xKeyCode;
    const char* keysym;
};

void PrintTo(const PostedKey& key, std::ostream* out)
{
    *out << key.name;
}

class XTestKeyEventPosterKeys : public XTestKeyEventPosterTest,
                                public testing::WithParamInterface<PostedKey> {};

TEST_P(XTestKeyEventPosterKeys, FocusedWindowReceivesPressThenRelease)
{
    const PostedKey& key = GetParam();
    EXPECT_EQ(mPoster.CGPostKeyboardEvent(key.character, key.virtualKey, true), kCGErrorSuccess);
    EXPECT_EQ(mPoster.CGPostKeyboardEvent(key.character, key.virtualKey, false), kCGErrorSuccess);

    const auto press = mTarget.waitForLine([](const std::string& line) { return line.rfind("Key", 0) == 0; });
    ASSERT_TRUE(press);
    EXPECT_TRUE(isEvent(*press, "KeyPress", key.xKeyCode)) << *press;
    EXPECT_NE(press->find(std::string(" keysym=") + key.keysym + " "), std::string::npos) << *press;
    const auto release =
        mTarget.waitForLine([](const std::string& line) { return line.rfind("Key", 0) == 0; });
    ASSERT_TRUE(release);
    EXPECT_TRUE(isEvent(*release, "KeyRelease", key.xKeyCode)) << *release;
}

INSTANTIATE_TEST_SUITE_P(TransportKeys, XTestKeyEventPosterKeys,
                         testing::Values(PostedKey{"Space", 0x20, 49, 65, "space"},
                                         PostedKey{"Left", 0, 123, 113, "Left"},
                                         PostedKey{"Right", 0, 124, 114, "Right"},
                                         PostedKey{"CapitalZ", 0x5A, 6, 52, "z"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(XTestKeyEventPosterTest, UnknownVirtualKeyPostsNothing)
{
    Doubles::CapturingLog log;
    EXPECT_EQ(mPoster.CGPostKeyboardEvent(0x63, 0xFFFF, true), kCGErrorFailure);
    EXPECT_EQ(mPoster.CGPostKeyboardEvent(0x63, 0xFFFF, false), kCGErrorFailure);
    EXPECT_EQ(log.lines().size(), 2u);

    // Events arrive in order, so the next one seen must be the key posted afterwards.
    mPoster.CGPostKeyboardEvent(0x20, 49, true);
    mPoster.CGPostKeyboardEvent(0x20, 49, false);
    const auto next = mTarget.waitForLine([](const std::string& line) { return line.rfind("Key", 0) == 0; });
    ASSERT_TRUE(next);
    EXPECT_TRUE(isEvent(*next, "KeyPress", 65)) << *next;
}

TEST_F(XTestKeyEventPosterTest, ThreadsPostingAtOnceLoseNoEvent)
{
    constexpr int kPresses = 25;
    const std::vector<std::pair<CGKeyCode, int>> keys = {{0, 38}, {1, 39}, {2, 40}, {3, 41}}; // A S D F
    std::vector<std::thread> threads;
    for (const auto& key : keys)
        threads.emplace_back([this, vk = key.first] {
            for (int i = 0; i < kPresses; ++i) {
                mPoster.CGPostKeyboardEvent(0, vk, true);
                mPoster.CGPostKeyboardEvent(0, vk, false);
            }
        });
    for (auto& thread : threads)
        thread.join();

    std::map<int, int> presses;
    int total = 0;
    while (total < kPresses * int(keys.size())) {
        const auto line =
            mTarget.waitForLine([](const std::string& l) { return l.rfind("KeyPress", 0) == 0; });
        ASSERT_TRUE(line) << "only " << total << " presses arrived";
        ++presses[std::stoi(line->substr(line->find('=') + 1))];
        ++total;
    }
    for (const auto& key : keys)
        EXPECT_EQ(presses[key.second], kPresses) << key.second;
}

TEST(XTestKeyEventPosterWithoutDisplay, FailsEveryPostAndSaysWhy)
{
    const std::string previous = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":999", 1);
    Doubles::CapturingLog log;
    XTestKeyEventPoster poster;
    EXPECT_EQ(poster.CGPostKeyboardEvent(0x20, 49, true), kCGErrorFailure);
    EXPECT_EQ(poster.CGPostKeyboardEvent(0x20, 49, false), kCGErrorFailure);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find(":999"), std::string::npos) << log.lines()[0];
    if (previous.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", previous.c_str(), 1);
}

} // namespace
