// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <chrono>

namespace DBusTest {

using namespace Platform;

// One value of every kind, nested, sent between processes.
inline PlistDictionary sampleUserInfo()
{
    const PlistDate oneDayAfterPlistEpoch{std::chrono::seconds(978307200 + 86400)};
    return {
        {"string", "h\xc3\xa9llo, w\xc3\xb6rld"},
        {"emptyString", ""},
        {"data", PlistData{0xf0, 0x7d, 0x01, 0xf7}},
        {"emptyData", PlistData{}},
        {"integer", std::int64_t{-9007199254740993}},
        {"real", 2.5},
        {"bool", true},
        {"date", oneDayAfterPlistEpoch},
        {"array", PlistArray{1, "two", PlistArray{}, PlistDictionary{{"flag", false}}}},
        {"dictionary", PlistDictionary{{"inner", PlistDictionary{{"bytes", PlistData{0x00}}}},
                                       {"empty", PlistDictionary{}}}},
    };
}

// What arrives: a date travels as seconds since 2001-01-01.
inline PlistDictionary sampleUserInfoAsReceived()
{
    PlistDictionary received = sampleUserInfo();
    received["date"] = 86400.0;
    return received;
}

} // namespace DBusTest
