// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <QString>
#include <functional>
#include <optional>

// A selection in a text, counted in UTF-16 units as QLineEdit and QString count them.
struct Range {
    qsizetype location = 0;
    qsizetype length = 0;

    bool operator==(const Range&) const = default;
};

// Converts the sysex column's cell object to and from its text, and screens every edit of that text.
// It works in QString because the text field does; the byte conversions are CBDataAdditions.
class CBSysexFormatter {
public:
    using Beep = std::function<void()>;

    CBSysexFormatter(); // beeps with QApplication::beep()
    explicit CBSysexFormatter(Beep beep);

    // The text form of a data object; none for any other object and for none.
    std::optional<QString> stringForObjectValue(const std::optional<Platform::PlistValue>& object) const;

    // Stores the bytes parsed from the text in object; without a text, object is left as it is.
    // Every text converts, so the answer is always true.
    bool getObjectValue(Platform::PlistData& object, const std::optional<QString>& string) const;

    // Screens one edit. partialString holds the text after the edit; proposedSelectedRange is the
    // selection after it, origString and origSelectedRange the state before it.
    // Refusal (the inserted text holds no hex digit nor space): beeps, writes "Input is not valid" to
    // *error, leaves partialString alone; the caller keeps the text and selection from before the edit.
    // Acceptance: replaces partialString with its upper-case form and clears *error; the caller shows
    // that text with the proposed selection. error may be null. The answer is always false.
    bool isPartialStringValid(QString& partialString, Range proposedSelectedRange, const QString& origString,
                              Range origSelectedRange, std::optional<QString>* error) const;

private:
    Beep mBeep;
    QString mHexDigits;
};
