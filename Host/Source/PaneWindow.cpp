// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneWindow.h"

#include <QCloseEvent>
#include <QLabel>

PaneWindow::PaneWindow(std::function<void()> onClose) : mOnClose(std::move(onClose))
{
    setWindowTitle(QStringLiteral("System Preferences"));
}

void PaneWindow::showView(QWidget* view, const QString& title)
{
    takeView();
    mView = view;
    setCentralWidget(view);
    setWindowTitle(title);
    adjustSize();
    bringForward();
}

void PaneWindow::takeView()
{
    if (mView && centralWidget() == mView)
        takeCentralWidget()->hide();
    mView = nullptr;
}

void PaneWindow::showMessage(const QString& message)
{
    takeView();
    auto* label = new QLabel(message);
    label->setWordWrap(true);
    label->setMargin(24);
    label->setMinimumWidth(420);
    setCentralWidget(label);
    setWindowTitle(QStringLiteral("System Preferences"));
    adjustSize();
    bringForward();
}

void PaneWindow::bringForward()
{
    show();
    raise();
    activateWindow();
}

void PaneWindow::closeEvent(QCloseEvent* event)
{
    // Accepted: the application's own quit closes every window and must not be refused.
    event->accept();
    mOnClose();
}
