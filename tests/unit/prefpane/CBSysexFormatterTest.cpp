// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CBSysexFormatter.h"

#include "CapturingLog.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QStrings in failure messages.
void PrintTo(const QString& string, std::ostream* os)
{
    *os << '"' << string.toStdString() << '"';
}

using Platform::PlistData;
using Platform::PlistValue;

namespace {

class SysexFormatterTest : public testing::Test {
protected:
    int mBeeps = 0;
    CBSysexFormatter mFormatter{[this] { ++mBeeps; }};
};

TEST_F(SysexFormatterTest, ShowsOnlyDataAsText)
{
    EXPECT_EQ(mFormatter.stringForObjectValue(PlistValue(PlistData{0xF0, 0x7D, 0x01, 0xF7})),
              QStringLiteral("F0 7D 01 F7 "));
    EXPECT_EQ(mFormatter.stringForObjectValue(PlistValue(PlistData{})), QString());
    EXPECT_EQ(mFormatter.stringForObjectValue(PlistValue("F0 7D 01 F7 ")), std::nullopt);
    EXPECT_EQ(mFormatter.stringForObjectValue(PlistValue(240)), std::nullopt);
    EXPECT_EQ(mFormatter.stringForObjectValue(std::nullopt), std::nullopt);
}

TEST_F(SysexFormatterTest, GetObjectValueParsesText)
{
    PlistData object;
    EXPECT_TRUE(mFormatter.getObjectValue(object, QStringLiteral("f0 7d 1 f7")));
    EXPECT_EQ(object, (PlistData{0xF0, 0x7D, 0x1F, 0x70}));
}

TEST_F(SysexFormatterTest, GetObjectValueWithoutTextLeavesResultAlone)
{
    PlistData object{0x42};
    EXPECT_TRUE(mFormatter.getObjectValue(object, std::nullopt));
    EXPECT_EQ(object, PlistData{0x42});
}

struct EditCase {
    const char* name;
    QString origString;
    Range origSelection;
    QString edited;
    Range proposedSelection;
    bool accepted;

    friend void PrintTo(const EditCase& row, std::ostream* os) { *os << row.name; }
};

class EditScreening : public SysexFormatterTest, public testing::WithParamInterface<EditCase> {};

TEST_P(EditScreening, AcceptsUpperCasedOrRefusesWithBeep)
{
    const EditCase& edit = GetParam();
    QString partial = edit.edited;
    std::optional<QString> error = QStringLiteral("stale");

    EXPECT_FALSE(mFormatter.isPartialStringValid(partial, edit.proposedSelection, edit.origString,
                                                 edit.origSelection, &error));

    if (edit.accepted) {
        EXPECT_EQ(partial, edit.edited.toUpper());
        EXPECT_EQ(error, std::nullopt);
        EXPECT_EQ(mBeeps, 0);
    } else {
        EXPECT_EQ(partial, edit.edited);
        EXPECT_EQ(error, QStringLiteral("Input is not valid"));
        EXPECT_EQ(mBeeps, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditScreening,
    testing::Values(EditCase{"TypeLowerCaseDigit", "", {0, 0}, "a", {1, 0}, true},
                    EditCase{"TypeSpace", "F0", {2, 0}, "F0 ", {3, 0}, true},
                    EditCase{"TypeLetterBeyondF", "F0", {2, 0}, "F0g", {3, 0}, false},
                    EditCase{"TypeX", "", {0, 0}, "x", {1, 0}, false},
                    EditCase{"TypeInMiddle", "f0 7d", {2, 0}, "f0a 7d", {3, 0}, true},
                    EditCase{"TypeRefusedInMiddle", "F0 7D", {2, 0}, "F0z 7D", {3, 0}, false},
                    EditCase{"TypeOverSelection", "F0 7D", {0, 2}, "1 7D", {1, 0}, true},
                    EditCase{"TypeRefusedOverSelection", "F0 7D", {0, 2}, "q 7D", {1, 0}, false},
                    // Only the inserted part is screened, wherever other characters stand.
                    EditCase{"DigitNextToForeignText", "zz", {2, 0}, "zz1", {3, 0}, true},
                    EditCase{"ForeignCharacterAfterDigit", "1", {1, 0}, "1z", {2, 0}, false},
                    EditCase{"Backspace", "f0 7d", {5, 0}, "f0 7", {4, 0}, true},
                    EditCase{"ForwardDelete", "F0 7D", {0, 0}, "0 7D", {0, 0}, true},
                    EditCase{"CutSelection", "F0 7D", {0, 3}, "7D", {0, 0}, true},
                    EditCase{"PasteWithoutDigit", "", {0, 0}, "zz", {2, 0}, false},
                    EditCase{"PasteWithDigit", "", {0, 0}, "z1", {2, 0}, true},
                    EditCase{"PasteWithSpace", "F0", {2, 0}, "F0 zz", {5, 0}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SysexFormatterTest, ScreensWithoutErrorPlace)
{
    QString refused = QStringLiteral("g");
    EXPECT_FALSE(mFormatter.isPartialStringValid(refused, {1, 0}, QString(), {0, 0}, nullptr));
    EXPECT_EQ(refused, QStringLiteral("g"));
    EXPECT_EQ(mBeeps, 1);

    QString accepted = QStringLiteral("b");
    EXPECT_FALSE(mFormatter.isPartialStringValid(accepted, {1, 0}, QString(), {0, 0}, nullptr));
    EXPECT_EQ(accepted, QStringLiteral("B"));
    EXPECT_EQ(mBeeps, 1);
}

TEST_F(SysexFormatterTest, SelectionOutsideTheTextIsLoggedAndScreensWhatIsThere)
{
    const struct {
        const char* name;
        Range orig;
        Range proposed;
        bool accepted;
    } strays[] = {{"past the end", {1, 0}, {9, 0}, false},
                  {"nothing there", {7, 0}, {9, 0}, true},
                  {"negative", {-4, 0}, {2, 0}, false}};

    for (const auto& stray : strays) {
        SCOPED_TRACE(stray.name);
        Doubles::CapturingLog log;
        QString partial = QStringLiteral("xx");
        std::optional<QString> error;

        mFormatter.isPartialStringValid(partial, stray.proposed, QStringLiteral("x"), stray.orig, &error);

        EXPECT_EQ(error.has_value(), !stray.accepted);
        EXPECT_EQ(partial, stray.accepted ? QStringLiteral("XX") : QStringLiteral("xx"));
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_NE(log.lines().front().find("lies outside its text"), std::string::npos);
    }
}

} // namespace
