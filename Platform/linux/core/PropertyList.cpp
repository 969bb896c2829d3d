// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/PropertyList.h"

#include "Platform/Log.h"

#include <plist/plist.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <pthread.h>
#include <unistd.h>

namespace Platform {
namespace {

using std::chrono::microseconds;
using std::chrono::seconds;

// Property-list dates count from 2001-01-01 00:00:00 UTC.
constexpr seconds plistEpochOffset{978307200};
// Deeper nesting than this is refused rather than risking the stack on hostile input.
constexpr int maxDepth = 512;
// Up to this size the caller's stack holds any nesting the input can express.
constexpr std::size_t inlineParseLimit = 64 * 1024;
constexpr std::size_t maxInputSize = 16 * 1024 * 1024;
constexpr std::size_t baseStackSize = 1024 * 1024;
// Measured: libplist needs at most about 28 bytes of stack per input byte (binary, deepest nesting).
constexpr std::size_t stackPerInputByte = 48;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

struct FreeMemory {
    void operator()(void* p) const { std::free(p); }
};

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

plist_t dateNode(const PlistDate& date)
{
    const auto sinceEpoch =
        std::chrono::duration_cast<microseconds>(date.time_since_epoch()) - plistEpochOffset;
    auto secs = std::chrono::floor<seconds>(sinceEpoch);
    auto usecs = (sinceEpoch - secs).count();
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (secs.count() < lowest || secs.count() > highest) {
        NSLog(
            "a date outside the property-list range (1932-2069) was written as the nearest date it can hold");
        secs = seconds(secs.count() < lowest ? lowest : highest);
        usecs = 0;
    }
    return plist_new_date(static_cast<std::int32_t>(secs.count()), static_cast<std::int32_t>(usecs));
}

PlistDate dateValue(plist_t node)
{
    std::int32_t sec = 0;
    std::int32_t usec = 0;
    plist_get_date_val(node, &sec, &usec);
    // libplist truncates toward zero and reports the fraction as a magnitude.
    const auto fraction = microseconds(sec < 0 ? -usec : usec);
    return PlistDate(
        std::chrono::duration_cast<PlistDate::duration>(seconds(sec) + fraction + plistEpochOffset));
}

plist_t toNode(const PlistValue& value)
{
    return std::visit(Overloaded{
                          [](const std::string& s) { return plist_new_string(s.c_str()); },
                          [](const PlistData& d) {
                              return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
                          },
                          [](std::int64_t i) { return plist_new_uint(static_cast<std::uint64_t>(i)); },
                          [](double r) { return plist_new_real(r); },
                          [](bool b) { return plist_new_bool(b ? 1 : 0); },
                          [](const PlistDate& d) { return dateNode(d); },
                          [](const PlistArray& a) {
                              plist_t node = plist_new_array();
                              for (const auto& item : a)
                                  plist_array_append_item(node, toNode(item));
                              return node;
                          },
                          [](const PlistDictionary& d) {
                              plist_t node = plist_new_dict();
                              for (const auto& [key, item] : d)
                                  plist_dict_set_item(node, key.c_str(), toNode(item));
                              return node;
                          },
                      },
                      value.storage());
}

std::optional<PlistValue> fromNode(plist_t node, int depth);

std::optional<PlistValue> arrayFromNode(plist_t node, int depth)
{
    PlistArray array;
    const std::uint32_t count = plist_array_get_size(node);
    array.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto item = fromNode(plist_array_get_item(node, i), depth + 1);
        if (!item)
            return std::nullopt;
        array.push_back(std::move(*item));
    }
    return PlistValue(std::move(array));
}

std::optional<PlistValue> dictionaryFromNode(plist_t node, int depth)
{
    PlistDictionary dictionary;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    std::unique_ptr<void, FreeMemory> iterOwner(iter);
    for (;;) {
        char* rawKey = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &rawKey, &item);
        std::unique_ptr<char, FreeMemory> key(rawKey);
        if (!item)
            break;
        auto value = fromNode(item, depth + 1);
        if (!key || !value)
            return std::nullopt;
        dictionary.insert_or_assign(key.get(), std::move(*value));
    }
    return PlistValue(std::move(dictionary));
}

std::optional<PlistValue> fromNode(plist_t node, int depth)
{
    if (!node || depth > maxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return PlistValue(b != 0);
    }
    case PLIST_UINT: {
        std::uint64_t i = 0;
        plist_get_uint_val(node, &i);
        return PlistValue(static_cast<std::int64_t>(i));
    }
    case PLIST_REAL: {
        double r = 0;
        plist_get_real_val(node, &r);
        return PlistValue(r);
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        return PlistValue(std::string(s ? s : "", s ? length : 0));
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const auto* d = reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
        return PlistValue(d ? PlistData(d, d + length) : PlistData());
    }
    case PLIST_DATE:
        return PlistValue(dateValue(node));
    case PLIST_ARRAY:
        return arrayFromNode(node, depth);
    case PLIST_DICT:
        return dictionaryFromNode(node, depth);
    default:
        // Keys outside a dictionary, keyed-archiver UIDs: not values we hold.
        return std::nullopt;
    }
}

std::optional<PlistValue> parseHere(std::span<const std::uint8_t> bytes)
{
    plist_t raw = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
                      &raw);
    PlistNode root(raw);
    return fromNode(root.get(), 0);
}

// libplist descends one stack frame per nesting level, so hostile nesting in a large input would
// overflow an ordinary stack; such inputs are parsed on a thread whose stack grows with the input.
std::optional<PlistValue> parseOnLargeStack(std::span<const std::uint8_t> bytes)
{
    struct Job {
        std::span<const std::uint8_t> bytes;
        std::optional<PlistValue> result;
    } job{bytes, std::nullopt};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, baseStackSize + stackPerInputByte * bytes.size());
    pthread_t thread;
    const int error = pthread_create(
        &thread, &attributes,
        [](void* context) -> void* {
            auto* j = static_cast<Job*>(context);
            j->result = parseHere(j->bytes);
            return nullptr;
        },
        &job);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        NSLog("cannot parse a property list of " + std::to_string(bytes.size()) +
              " bytes: " + std::strerror(error));
        return std::nullopt;
    }
    pthread_join(thread, nullptr);
    return std::move(job.result);
}

} // namespace

std::optional<PlistValue> parsePropertyList(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    if (bytes.size() > maxInputSize) {
        NSLog("refusing a property list of " + std::to_string(bytes.size()) + " bytes; the limit is " +
              std::to_string(maxInputSize));
        return std::nullopt;
    }
    return bytes.size() <= inlineParseLimit ? parseHere(bytes) : parseOnLargeStack(bytes);
}

std::optional<PlistValue> readPropertyListFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[64 * 1024];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > maxInputSize)
            break; // refused below; a device or pipe never ends
    }
    ::close(fd);
    if (n < 0)
        return std::nullopt;
    return parsePropertyList(bytes);
}

std::vector<std::uint8_t> serializePropertyList(const PlistValue& value, PlistFormat format)
{
    PlistNode root(toNode(value));
    char* out = nullptr;
    std::uint32_t length = 0;
    if (format == PlistFormat::Xml)
        plist_to_xml(root.get(), &out, &length);
    else
        plist_to_bin(root.get(), &out, &length);
    std::vector<std::uint8_t> bytes(out, out + (out ? length : 0));
    if (format == PlistFormat::Xml)
        plist_to_xml_free(out);
    else
        plist_to_bin_free(out);
    return bytes;
}

} // namespace Platform
