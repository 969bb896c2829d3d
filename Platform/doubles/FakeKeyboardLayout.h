// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/KeyboardLayout.h"

#include <map>
#include <string>
#include <vector>

namespace Doubles {

// Layout resources the test builds: N tables of 128 characters under a layout id.
class FakeKeyboardLayout : public Platform::KeyboardLayoutResources {
public:
    using Table = std::vector<std::uint8_t>; // 128 entries, key code -> character

    long GetScriptVariable(std::int16_t script, std::int16_t selector) override
    {
        ++mIdQueries;
        return script == Platform::smCurrentScript && selector == Platform::smScriptKeys ? mCurrentId : 0;
    }
    std::optional<std::vector<std::uint8_t>> GetResource(std::uint32_t type, std::int16_t id) override
    {
        ++mResourceLoads;
        auto it = mResources.find(id);
        if (type != Platform::kKCHRResourceType || it == mResources.end())
            return std::nullopt;
        return it->second;
    }

    void select(std::int16_t id) { mCurrentId = id; }
    void addLayout(std::int16_t id, const std::vector<Table>& tables) { mResources[id] = record(tables, int(tables.size())); }
    void addRawLayout(std::int16_t id, std::vector<std::uint8_t> bytes) { mResources[id] = std::move(bytes); }
    int resourceLoads() const { return mResourceLoads; }
    int idQueries() const { return mIdQueries; }

    // A big-endian layout record: version, modifier map, table count, tables.
    static std::vector<std::uint8_t> record(const std::vector<Table>& tables, int claimedCount)
    {
        std::vector<std::uint8_t> bytes(258, 0);
        bytes.push_back(std::uint8_t((claimedCount >> 8) & 0xFF));
        bytes.push_back(std::uint8_t(claimedCount & 0xFF));
        for (const auto& t : tables) {
            Table padded = t;
            padded.resize(128, 0);
            bytes.insert(bytes.end(), padded.begin(), padded.end());
        }
        return bytes;
    }
    // A table that types character c at key k for each pair.
    static Table table(std::initializer_list<std::pair<int, char>> keys)
    {
        Table t(128, 0);
        for (auto [k, c] : keys)
            t[std::size_t(k)] = std::uint8_t(c);
        return t;
    }

private:
    std::int16_t mCurrentId = 0;
    std::map<std::int16_t, std::vector<std::uint8_t>> mResources;
    int mResourceLoads = 0;
    int mIdQueries = 0;
};

} // namespace Doubles
