// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <QVariant>
#include <QVariantMap>

namespace Platform::PlistDBus {

// Property-list values as D-Bus variants: string s, data ay, integer x, real d, boolean b, date d
// (seconds since 2001-01-01 00:00 UTC), array av, dictionary a{sv}.
QVariant toDBus(const PlistValue& value);
QVariantMap toDBus(const PlistDictionary& dictionary);

// A received variant as a property-list value: every D-Bus integer type becomes an integer, a
// string array an array of strings. None (and a log line) for what has no property-list form
// (object paths, structures, file descriptors, unsigned 64-bit values past the signed range).
std::optional<PlistValue> fromDBus(const QVariant& value);
// A received a{sv}; entries without a property-list form are left out. None when it is no
// string-keyed dictionary.
std::optional<PlistDictionary> dictionaryFromDBus(const QVariant& value);

} // namespace Platform::PlistDBus
