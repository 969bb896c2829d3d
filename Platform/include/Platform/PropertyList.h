// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace Platform {

class PlistValue;
using PlistData = std::vector<std::uint8_t>;
using PlistArray = std::vector<PlistValue>;
using PlistDictionary = std::map<std::string, PlistValue>;
using PlistDate = std::chrono::system_clock::time_point;

// A property-list value: string, data, integer, real, boolean, date, array or dictionary.
class PlistValue {
public:
    using Storage = std::variant<std::string, PlistData, std::int64_t, double, bool, PlistDate,
                                 PlistArray, PlistDictionary>;

    PlistValue() : mStorage(std::string()) {}
    PlistValue(std::string s) : mStorage(std::move(s)) {}
    PlistValue(const char* s) : mStorage(std::string(s)) {}
    PlistValue(PlistData d) : mStorage(std::move(d)) {}
    PlistValue(std::int64_t i) : mStorage(i) {}
    PlistValue(int i) : mStorage(std::int64_t{i}) {}
    PlistValue(double r) : mStorage(r) {}
    PlistValue(bool b) : mStorage(b) {}
    PlistValue(PlistDate d) : mStorage(d) {}
    PlistValue(PlistArray a) : mStorage(std::move(a)) {}
    PlistValue(PlistDictionary d) : mStorage(std::move(d)) {}

    template <class T> bool is() const { return std::holds_alternative<T>(mStorage); }
    template <class T> const T* getIf() const { return std::get_if<T>(&mStorage); }
    template <class T> T* getIf() { return std::get_if<T>(&mStorage); }
    const Storage& storage() const { return mStorage; }

    bool operator==(const PlistValue& other) const = default;

    // The platform's one-line text description, e.g. {function = "transport-zero"; sysex = <f07d01f7>; }
    std::string description() const;

private:
    Storage mStorage;
};

enum class PlistFormat { Xml, Binary };

// Parses XML or binary property-list bytes; none when they are not a property list.
std::optional<PlistValue> parsePropertyList(std::span<const std::uint8_t> bytes);
// Reads a whole file as a property list; none when missing, unreadable or not a property list.
std::optional<PlistValue> readPropertyListFile(const std::filesystem::path& path);
std::vector<std::uint8_t> serializePropertyList(const PlistValue& value, PlistFormat format);

} // namespace Platform
