// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "CBSysexFormatter.h"

#include <QObject>
#include <QString>

class QLineEdit;

// Makes a QLineEdit screen every user edit (typing, paste, drop, backspace, delete, cut, undo) through
// CBSysexFormatter::isPartialStringValid, given the text and selection from before the edit. A refused
// edit is rolled back to that state; an accepted one shows the formatter's replacement with the
// selection the edit left. A child of the line edit; the formatter must outlive it.
class SysexEditHook : public QObject {
    Q_OBJECT

public:
    SysexEditHook(QLineEdit* editor, const CBSysexFormatter& formatter);

private:
    // Text, selection and cursor side of a selection, so a rollback looks exactly as before.
    struct EditorState {
        QString text;
        Range selection;
        qsizetype cursor = 0;
    };

    EditorState currentState() const;
    void showState(const EditorState& state);
    void recordState();
    void screenEdit();

    QLineEdit* mEditor;
    const CBSysexFormatter& mFormatter;
    EditorState mBefore;
    bool mScreening = false;
};
