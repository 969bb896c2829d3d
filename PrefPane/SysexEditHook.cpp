// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "SysexEditHook.h"

#include <QLineEdit>

SysexEditHook::SysexEditHook(QLineEdit* editor, const CBSysexFormatter& formatter)
    : QObject(editor), mEditor(editor), mFormatter(formatter), mBefore(currentState())
{
    // QLineEdit emits textEdited before it reports the edit's new cursor and selection, so these
    // keep the state from before each edit; textChanged covers text set by code (not an edit).
    connect(mEditor, &QLineEdit::cursorPositionChanged, this, &SysexEditHook::recordState);
    connect(mEditor, &QLineEdit::selectionChanged, this, &SysexEditHook::recordState);
    connect(mEditor, &QLineEdit::textChanged, this, &SysexEditHook::recordState);
    connect(mEditor, &QLineEdit::textEdited, this, &SysexEditHook::screenEdit);
}

SysexEditHook::EditorState SysexEditHook::currentState() const
{
    const Range selection = mEditor->hasSelectedText()
                                ? Range{mEditor->selectionStart(), mEditor->selectionLength()}
                                : Range{mEditor->cursorPosition(), 0};
    return {mEditor->text(), selection, mEditor->cursorPosition()};
}

void SysexEditHook::showState(const EditorState& state)
{
    if (mEditor->text() != state.text)
        mEditor->setText(state.text);
    const auto start = static_cast<int>(state.selection.location);
    const auto length = static_cast<int>(state.selection.length);
    if (length == 0)
        mEditor->setCursorPosition(start);
    else if (state.cursor == start)
        mEditor->setSelection(start + length, -length); // keeps the cursor at the selection's start
    else
        mEditor->setSelection(start, length);
}

void SysexEditHook::recordState()
{
    if (!mScreening)
        mBefore = currentState();
}

void SysexEditHook::screenEdit()
{
    if (mScreening)
        return;
    mScreening = true;

    EditorState proposed = currentState();
    std::optional<QString> error;
    mFormatter.isPartialStringValid(proposed.text, proposed.selection, mBefore.text, mBefore.selection,
                                    &error);
    // The formatter writes an error only when it refuses the edit.
    showState(error ? mBefore : proposed);

    mScreening = false;
    recordState();
}
