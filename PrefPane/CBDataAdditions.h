// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <optional>
#include <string>

// The text form of a System Exclusive message: two upper-case hexadecimal digits and one space per byte.
namespace CBDataAdditions {

// "F0 7D 01 F7 " for the bytes F0 7D 01 F7; the empty text for no bytes.
std::string sysexStringValue(const Platform::PlistData& data);

// Parses UTF-8 text: upper-cased, spaces removed, an odd last digit padded with "0", then read in pairs
// of characters. Every character converts (code - 55 above '@', code - 48 otherwise), so no text fails;
// none gives no bytes.
Platform::PlistData dataWithSysexString(const std::optional<std::string>& string);

} // namespace CBDataAdditions
