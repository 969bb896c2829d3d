// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CBSysexFormatter.h"

#include "CBDataAdditions.h"
#include "Platform/Log.h"

#include <QApplication>
#include <algorithm>
#include <string>
#include <utility>

CBSysexFormatter::CBSysexFormatter() : CBSysexFormatter(&QApplication::beep) {}

CBSysexFormatter::CBSysexFormatter(Beep beep)
    : mBeep(std::move(beep)), mHexDigits(QStringLiteral("0123456789ABCDEFabcdef "))
{
}

std::optional<QString>
CBSysexFormatter::stringForObjectValue(const std::optional<Platform::PlistValue>& object) const
{
    if (!object)
        return std::nullopt;
    const auto* data = object->getIf<Platform::PlistData>();
    if (!data)
        return std::nullopt;
    return QString::fromStdString(CBDataAdditions::sysexStringValue(*data));
}

bool CBSysexFormatter::getObjectValue(Platform::PlistData& object, const std::optional<QString>& string) const
{
    if (string)
        object = CBDataAdditions::dataWithSysexString(string->toStdString());
    return true;
}

bool CBSysexFormatter::isPartialStringValid(QString& partialString, Range proposedSelectedRange,
                                            const QString& /*origString*/, Range origSelectedRange,
                                            std::optional<QString>* error) const
{
    // The selection before the edit may lie past the shorter edited text (a deletion at the end).
    if (origSelectedRange.location < 0 || proposedSelectedRange.location < 0 ||
        proposedSelectedRange.location > partialString.size())
        NSLog("CBSysexFormatter: an edit's selection (from " + std::to_string(origSelectedRange.location) +
              " to " + std::to_string(proposedSelectedRange.location) + ") lies outside its text of " +
              std::to_string(partialString.size()) + " characters; screening only the text there");

    // The inserted text runs from where the old selection began to where the new one begins; mid()
    // keeps a range that strays past the text inside it.
    const qsizetype insertedLength = proposedSelectedRange.location - origSelectedRange.location;
    const QString inserted =
        insertedLength > 0 ? partialString.mid(origSelectedRange.location, insertedLength) : QString();

    const bool holdsHexDigit =
        std::ranges::any_of(inserted, [this](QChar character) { return mHexDigits.contains(character); });
    if (!inserted.isEmpty() && !holdsHexDigit) {
        mBeep();
        if (error)
            *error = QStringLiteral("Input is not valid");
        return false;
    }

    partialString = partialString.toUpper();
    if (error)
        error->reset();
    return false;
}
