// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CBDataAdditions.h"

#include <QString>

namespace CBDataAdditions {

namespace {

// The value of one character of the text, in UTF-16 units as the text field counts them.
unsigned nibbleValue(QChar character)
{
    const unsigned code = character.unicode();
    return code > 0x40 ? code - 0x37 : code - 0x30;
}

} // namespace

std::string sysexStringValue(const Platform::PlistData& data)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 3);
    for (const std::uint8_t byte : data) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
        text += ' ';
    }
    return text;
}

Platform::PlistData dataWithSysexString(const std::optional<std::string>& string)
{
    if (!string)
        return {};
    // Upper-casing may change the length (ß becomes SS), so it comes before the pairing.
    QString digits = QString::fromStdString(*string).toUpper();
    digits.remove(QLatin1Char(' '));
    if (digits.size() % 2 != 0)
        digits.append(QLatin1Char('0'));

    Platform::PlistData data;
    data.reserve(static_cast<std::size_t>(digits.size() / 2));
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        // Unsigned arithmetic wraps, and the low eight bits are the byte.
        const unsigned value = 16 * nibbleValue(digits[i]) + nibbleValue(digits[i + 1]);
        data.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    return data;
}

} // namespace CBDataAdditions
