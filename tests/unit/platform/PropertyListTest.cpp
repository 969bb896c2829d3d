// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/PropertyList.h"
#include "CapturingLog.h"
#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <pthread.h>

using namespace Platform;
using namespace std::chrono;

namespace {

PlistDate utcDate(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0)
{
    return sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day)) +
           hours(hour) + minutes(minute) + seconds(second);
}

// Every type, nested, with the awkward values of each.
PlistValue everyType()
{
    return PlistDictionary{
        {"string", "transport-zero"},
        {"escapes", "<&> \"quoted\" ünïcödé"},
        {"empty string", ""},
        {"data", PlistData{0xf0, 0x7d, 0x01, 0xf7}},
        {"empty data", PlistData{}},
        {"zero", 0},
        {"negative", -42},
        {"largest", std::numeric_limits<std::int64_t>::max()},
        {"smallest", std::numeric_limits<std::int64_t>::min()},
        {"real", 0.5},
        {"negative real", -1.25e300},
        {"true", true},
        {"false", false},
        {"date", utcDate(2026, 12, 11, 15, 0, 0)},
        {"date before 2001", utcDate(1990, 6, 1, 12, 30, 5)},
        {"empty array", PlistArray{}},
        {"empty dictionary", PlistDictionary{}},
        {"nested", PlistArray{PlistDictionary{{"function", "transport-play"},
                                              {"sysex", PlistData{0xf0, 0x7d, 0x02, 0xf7}}},
                              PlistArray{1, "two", PlistArray{3.5}}}},
    };
}

class PlistRoundTrip : public testing::TestWithParam<PlistFormat> {};

TEST_P(PlistRoundTrip, KeepsEveryTypeNested)
{
    const auto bytes = serializePropertyList(everyType(), GetParam());
    const auto parsed = parsePropertyList(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, everyType()) << parsed->description();
}

TEST_P(PlistRoundTrip, KeepsTopLevelScalars)
{
    for (const PlistValue& value :
         {PlistValue("alone"), PlistValue(7), PlistValue(true), PlistValue(PlistData{1})}) {
        const auto parsed = parsePropertyList(serializePropertyList(value, GetParam()));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(*parsed, value);
    }
}

TEST_P(PlistRoundTrip, KeepsLargeValues)
{
    const PlistValue large =
        PlistDictionary{{"blob", PlistData(300 * 1024, 0xa5)}, {"list", PlistArray(5000, "item")}};
    const auto parsed = parsePropertyList(serializePropertyList(large, GetParam()));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, large);
}

INSTANTIATE_TEST_SUITE_P(Formats, PlistRoundTrip, testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& info) { return info.param == PlistFormat::Xml ? "Xml" : "Binary"; });

TEST(PropertyList, WritesTheRequestedFormat)
{
    const auto xml = serializePropertyList(everyType(), PlistFormat::Xml);
    const auto binary = serializePropertyList(everyType(), PlistFormat::Binary);
    EXPECT_EQ(std::string(xml.begin(), xml.begin() + 5), "<?xml");
    EXPECT_EQ(std::string(binary.begin(), binary.begin() + 8), "bplist00");
}

TEST(PropertyList, BinaryKeepsFractionalSecondsOfDates)
{
    for (const auto date :
         {utcDate(2026, 1, 2) + milliseconds(250), utcDate(1999, 1, 2) + milliseconds(750)}) {
        const auto parsed = parsePropertyList(serializePropertyList(date, PlistFormat::Binary));
        ASSERT_TRUE(parsed && parsed->is<PlistDate>());
        EXPECT_EQ(floor<milliseconds>(*parsed->getIf<PlistDate>()), floor<milliseconds>(date));
    }
}

TEST(PropertyList, DamagedBytesAreNoPropertyList)
{
    const auto xml = serializePropertyList(everyType(), PlistFormat::Xml);
    const auto binary = serializePropertyList(everyType(), PlistFormat::Binary);
    const auto bytesOf = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> cases = {
        {"empty", {}},
        {"plain text", bytesOf("hello, world")},
        {"binary header only", bytesOf("bplist00")},
        {"binary cut in half", std::vector<std::uint8_t>(binary.begin(), binary.begin() + binary.size() / 2)},
        {"binary without its last byte", std::vector<std::uint8_t>(binary.begin(), binary.end() - 1)},
        {"xml cut in half", std::vector<std::uint8_t>(xml.begin(), xml.begin() + xml.size() / 2)},
        {"xml with no value", bytesOf("<?xml version=\"1.0\"?><plist version=\"1.0\"></plist>")},
        {"zeros", std::vector<std::uint8_t>(64, 0)},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(parsePropertyList(bytes)) << name;
}

// `depth` arrays in a binary property list, each holding the next; 4-byte offsets and references.
std::vector<std::uint8_t> nestedBinaryArrays(std::uint32_t depth)
{
    std::vector<std::uint8_t> bytes{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    const auto putBigEndian = [&bytes](std::uint64_t value, int size) {
        for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < depth; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
        const bool last = i + 1 == depth;
        bytes.push_back(last ? 0xa0 : 0xa1);
        if (!last)
            putBigEndian(i + 1, 4);
    }
    const auto offsetTable = bytes.size();
    for (auto offset : offsets)
        putBigEndian(offset, 4);
    bytes.insert(bytes.end(), 6, 0);
    bytes.push_back(4);
    bytes.push_back(4);
    putBigEndian(depth, 8);
    putBigEndian(0, 8);
    putBigEndian(offsetTable, 8);
    return bytes;
}

TEST(PropertyList, RefusesHostileNesting)
{
    std::string deepXml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 0; i < 2000; ++i)
        deepXml += "<array>";
    for (int i = 0; i < 2000; ++i)
        deepXml += "</array>";
    deepXml += "</plist>";
    EXPECT_FALSE(parsePropertyList(std::vector<std::uint8_t>(deepXml.begin(), deepXml.end())));

    ASSERT_TRUE(parsePropertyList(nestedBinaryArrays(10))) << "the hand-made binary layout is valid";
}

TEST(PropertyList, ParsesDeepInputWithoutOverflowingTheCallersStack)
{
    // libplist needs over a megabyte of stack for this; the caller offers 256 KiB.
    const auto deep = nestedBinaryArrays(12000);
    struct Job {
        const std::vector<std::uint8_t>* bytes;
        bool parsed = true;
    } job{&deep};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attributes,
                  [](void* context) -> void* {
                      auto* j = static_cast<Job*>(context);
                      j->parsed = parsePropertyList(*j->bytes).has_value();
                      return nullptr;
                  },
                  &job),
              0);
    pthread_attr_destroy(&attributes);
    pthread_join(thread, nullptr);
    EXPECT_FALSE(job.parsed) << "nesting this deep is refused";
}

TEST(PropertyList, RefusesHugeInput)
{
    Doubles::CapturingLog log;
    EXPECT_FALSE(parsePropertyList(std::vector<std::uint8_t>(17 * 1024 * 1024, ' ')));
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(PropertyList, ReadsFiles)
{
    PlatformTest::TemporaryDirectory dir;
    const auto file = dir.path() / "values.plist";
    PlatformTest::writeFile(file, serializePropertyList(everyType(), PlistFormat::Binary));
    EXPECT_EQ(readPropertyListFile(file), everyType());
    EXPECT_FALSE(readPropertyListFile(dir.path() / "missing.plist"));
    EXPECT_FALSE(readPropertyListFile(dir.path())) << "a directory is not a property list";
    EXPECT_FALSE(readPropertyListFile("/dev/zero")) << "an endless file is refused, not read forever";
}

} // namespace
