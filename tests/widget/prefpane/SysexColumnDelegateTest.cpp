// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "SysexColumnDelegate.h"
#include "QtApplicationEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

void PrintTo(const QString& string, std::ostream* os)
{
    *os << '"' << string.toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << bytes.toHex(' ').toStdString();
}

namespace {

// One row: function name in column 0, the message bytes in column 1, edited through the delegate.
class SysexColumnTest : public testing::Test {
protected:
    void SetUp() override
    {
        mModel.setRowCount(1);
        mModel.setColumnCount(2);
        mView.setModel(&mModel);
        mView.setItemDelegateForColumn(
            1, new SysexColumnDelegate(std::make_unique<CBSysexFormatter>([this] { ++mBeeps; }), &mView));
        mView.show();
    }

    QModelIndex cell() const { return mModel.index(0, 1); }

    QString shownText(const QVariant& cellValue)
    {
        mModel.setData(cell(), cellValue);
        const auto* delegate = static_cast<QStyledItemDelegate*>(mView.itemDelegateForColumn(1));
        return delegate->displayText(cell().data(), QLocale());
    }

    QLineEdit* openEditor(const QByteArray& bytes)
    {
        mModel.setData(cell(), bytes);
        mView.edit(cell());
        return qobject_cast<QLineEdit*>(mView.indexWidget(cell()));
    }

    // Text set by code, not typed: nothing screens it.
    static void showLowerCase(QLineEdit* editor, const QString& text)
    {
        editor->setText(text);
        ASSERT_EQ(editor->text(), text);
    }

    // The view commits and closes an editor through a queued call after Return.
    bool commitEditor(QLineEdit* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QDeadlineTimer deadline(std::chrono::seconds(5));
        while (mView.indexWidget(cell()) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return !mView.indexWidget(cell());
    }

    static void paste(QLineEdit* editor, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    }

    int mBeeps = 0;
    QStandardItemModel mModel;
    QTableView mView;
};

TEST_F(SysexColumnTest, ShowsOnlyBytesAsText)
{
    EXPECT_EQ(shownText(QByteArray("\xF0\x7D\x01\xF7")), QStringLiteral("F0 7D 01 F7 "));
    EXPECT_EQ(shownText(QByteArray()), QString());
    EXPECT_EQ(shownText(QStringLiteral("F0 7D 01 F7")), QString());
    EXPECT_EQ(shownText(QVariant()), QString());
}

TEST_F(SysexColumnTest, EditingStartsWithTheTextForm)
{
    QLineEdit* editor = openEditor(QByteArray("\xF0\x7D\x01\xF7"));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("F0 7D 01 F7 "));
}

TEST_F(SysexColumnTest, TypedLowerCaseShowsUpperCase)
{
    QLineEdit* editor = openEditor(QByteArray());
    ASSERT_NE(editor, nullptr);

    QTest::keyClick(editor, 'a');

    EXPECT_EQ(editor->text(), QStringLiteral("A"));
    EXPECT_EQ(editor->cursorPosition(), 1);
    EXPECT_EQ(mBeeps, 0);
}

TEST_F(SysexColumnTest, EveryAcceptedEditUpperCasesTheWholeText)
{
    QLineEdit* editor = openEditor(QByteArray());
    ASSERT_NE(editor, nullptr);
    showLowerCase(editor, QStringLiteral("f0 7d"));
    editor->setCursorPosition(2);

    QTest::keyClick(editor, 'b');
    EXPECT_EQ(editor->text(), QStringLiteral("F0B 7D"));
    EXPECT_EQ(editor->cursorPosition(), 3);

    showLowerCase(editor, QStringLiteral("f0b 7d"));
    editor->setCursorPosition(6);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), QStringLiteral("F0B 7"));
    EXPECT_EQ(editor->cursorPosition(), 5);
    EXPECT_EQ(mBeeps, 0);
}

TEST_F(SysexColumnTest, RefusedCharacterBeepsAndKeepsTextAndSelection)
{
    QLineEdit* editor = openEditor(QByteArray("\xF0\x7D"));
    ASSERT_NE(editor, nullptr);
    editor->setSelection(5, -2); // "7D", selected leftwards

    QTest::keyClick(editor, 'g');

    EXPECT_EQ(mBeeps, 1);
    EXPECT_EQ(editor->text(), QStringLiteral("F0 7D "));
    EXPECT_EQ(editor->selectionStart(), 3);
    EXPECT_EQ(editor->selectedText(), QStringLiteral("7D"));
    EXPECT_EQ(editor->cursorPosition(), 3);

    editor->setCursorPosition(2);
    QTest::keyClick(editor, 'x');

    EXPECT_EQ(mBeeps, 2);
    EXPECT_EQ(editor->text(), QStringLiteral("F0 7D "));
    EXPECT_EQ(editor->cursorPosition(), 2);
    EXPECT_FALSE(editor->hasSelectedText());
}

TEST_F(SysexColumnTest, DeletionsAreAccepted)
{
    struct Deletion {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Deletion deletions[] = {{"backspace", Qt::Key_Backspace, Qt::NoModifier},
                                  {"delete", Qt::Key_Delete, Qt::NoModifier},
                                  {"cut", Qt::Key_X, Qt::ControlModifier}};

    QLineEdit* editor = openEditor(QByteArray());
    ASSERT_NE(editor, nullptr);
    for (const Deletion& deletion : deletions) {
        SCOPED_TRACE(deletion.name);
        showLowerCase(editor, QStringLiteral("f0 7d"));
        editor->setSelection(0, 3);

        QTest::keyClick(editor, deletion.key, deletion.modifiers);

        EXPECT_EQ(editor->text(), QStringLiteral("7D"));
        EXPECT_EQ(editor->cursorPosition(), 0);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("f0 "));
    EXPECT_EQ(mBeeps, 0);
}

TEST_F(SysexColumnTest, PasteWithoutHexDigitIsRefused)
{
    QLineEdit* editor = openEditor(QByteArray("\xF0"));
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(3);

    paste(editor, QStringLiteral("zz"));

    EXPECT_EQ(mBeeps, 1);
    EXPECT_EQ(editor->text(), QStringLiteral("F0 "));
    EXPECT_EQ(editor->cursorPosition(), 3);
}

TEST_F(SysexColumnTest, PastedTextWithDigitIsUpperCasedAndCommittedAsBytes)
{
    QLineEdit* editor = openEditor(QByteArray());
    ASSERT_NE(editor, nullptr);

    paste(editor, QStringLiteral("z1"));
    EXPECT_EQ(editor->text(), QStringLiteral("Z1"));
    EXPECT_EQ(mBeeps, 0);

    ASSERT_TRUE(commitEditor(editor));

    const QVariant committed = cell().data(Qt::EditRole);
    EXPECT_EQ(committed.typeId(), QMetaType::QByteArray);
    EXPECT_EQ(committed.toByteArray(), QByteArray("\x31"));
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new TestSupport::QtApplicationEnvironment);
    return RUN_ALL_TESTS();
}
