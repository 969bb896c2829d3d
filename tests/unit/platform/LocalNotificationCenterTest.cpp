// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/LocalNotificationCenter.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

using Opt = std::optional<std::string>;

struct MatchCase {
    Opt registeredName;
    Opt registeredObject;
    std::string postedName;
    Opt postedObject;
    bool delivered;
};

TEST(LocalNotificationCenter, DeliversToMatchingRegistrations)
{
    const std::vector<MatchCase> cases = {
        {"launch", std::nullopt, "launch", std::nullopt, true},
        {"launch", std::nullopt, "launch", "com.example", true},
        {std::nullopt, std::nullopt, "anything", "anyone", true},
        {std::nullopt, "com.example", "anything", "com.example", true},
        {"launch", "com.example", "launch", "com.example", true},
        {"launch", std::nullopt, "terminate", std::nullopt, false},
        {"launch", "com.example", "launch", "com.other", false},
        {"launch", "com.example", "launch", std::nullopt, false},
        {"launch", "", "launch", std::nullopt, false},
    };
    for (const auto& c : cases) {
        LocalNotificationCenter center;
        int calls = 0;
        Notification received;
        center.addObserver(
            &calls,
            [&](const Notification& n) {
                ++calls;
                received = n;
            },
            c.registeredName, c.registeredObject);
        center.postNotificationName(c.postedName, c.postedObject, PlistDictionary{{"pid", 12}}, false);

        const auto label = c.registeredName.value_or("*") + "/" + c.registeredObject.value_or("*") + " <- " +
                           c.postedName + "/" + c.postedObject.value_or("*");
        EXPECT_EQ(calls, c.delivered ? 1 : 0) << label;
        if (c.delivered) {
            EXPECT_EQ(received.name, c.postedName) << label;
            EXPECT_EQ(received.object, c.postedObject) << label;
            EXPECT_EQ(received.userInfo, (PlistDictionary{{"pid", 12}})) << label;
        }
    }
}

TEST(LocalNotificationCenter, AbsentUserInfoArrivesEmpty)
{
    LocalNotificationCenter center;
    std::optional<PlistDictionary> userInfo;
    center.addObserver(
        this, [&](const Notification& n) { userInfo = n.userInfo; }, "n", std::nullopt);
    center.postNotificationName("n", std::nullopt);
    EXPECT_EQ(userInfo, PlistDictionary{});
}

TEST(LocalNotificationCenter, RemovesOnlyTheMatchingRegistrationsOfTheObserver)
{
    LocalNotificationCenter center;
    std::vector<std::string> calls;
    const int first = 0;
    const int second = 0;
    const auto record = [&](std::string tag) {
        return [&calls, tag](const Notification&) { calls.push_back(tag); };
    };
    center.addObserver(&first, record("first a"), "a", std::nullopt);
    center.addObserver(&first, record("first b"), "b", std::nullopt);
    center.addObserver(&first, record("first any"), std::nullopt, std::nullopt);
    center.addObserver(&second, record("second a"), "a", std::nullopt);

    center.removeObserver(&first, "a", std::nullopt);
    center.postNotificationName("a", std::nullopt);
    EXPECT_EQ(calls, (std::vector<std::string>{"first any", "second a"}));

    calls.clear();
    center.removeObserver(&first);
    center.postNotificationName("a", std::nullopt);
    center.postNotificationName("b", std::nullopt);
    EXPECT_EQ(calls, (std::vector<std::string>{"second a"}));
}

TEST(LocalNotificationCenter, HandlersMayChangeRegistrationsWhileCalled)
{
    LocalNotificationCenter center;
    int selfRemoving = 0;
    int added = 0;
    int observerA = 0;
    int observerB = 0;
    center.addObserver(
        &observerA,
        [&](const Notification&) {
            ++selfRemoving;
            center.removeObserver(&observerA);
            center.addObserver(
                &observerB, [&](const Notification&) { ++added; }, "n", std::nullopt);
        },
        "n", std::nullopt);

    center.postNotificationName("n", std::nullopt);
    EXPECT_EQ(selfRemoving, 1);
    EXPECT_EQ(added, 0) << "an observer added during a post waits for the next one";

    center.postNotificationName("n", std::nullopt);
    EXPECT_EQ(selfRemoving, 1);
    EXPECT_EQ(added, 1);
}

} // namespace
