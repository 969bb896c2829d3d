// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <optional>
#include <string>

namespace Platform {

// The per-user preference store. Every call is for the current user on any host; a domain is a
// bundle identifier or "loginwindow".
class PreferenceStore {
public:
    virtual ~PreferenceStore() = default;
    // The value under key, or none. Pending local writes are visible at once.
    virtual std::optional<PlistValue> CFPreferencesCopyValue(const std::string& key,
                                                             const std::string& domain) = 0;
    // Stores value under key (none removes the key); written out by CFPreferencesSynchronize.
    virtual void CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                                       const std::string& domain) = 0;
    // Writes this process's pending keys and picks up what other processes wrote.
    virtual bool CFPreferencesSynchronize(const std::string& domain) = 0;
};

} // namespace Platform
