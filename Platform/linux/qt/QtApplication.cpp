// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "QtApplication.h"

#include <QApplication>
#include <QThread>

namespace Platform {

namespace {

bool onMainThread()
{
    return QThread::currentThread() == qApp->thread();
}

} // namespace

QtApplication::QtApplication()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] { beginTermination(); });
}

bool QtApplication::beginTermination()
{
    if (mTerminating)
        return false;
    mTerminating = true;
    if (mDelegate)
        mDelegate->applicationWillTerminate();
    return true;
}

void QtApplication::terminate(const void* /*sender*/)
{
    if (!onMainThread()) {
        performOnMainThread([this] { terminate(nullptr); }, false);
        return;
    }
    // Queued, so that terminating while the interface loads (before the loop runs) works too.
    if (beginTermination())
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void QtApplication::performOnMainThread(std::function<void()> work, bool waitUntilDone)
{
    if (waitUntilDone && onMainThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(qApp, std::move(work),
                              waitUntilDone ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

int QtApplication::run()
{
    QMetaObject::invokeMethod(
        qApp,
        [this] {
            if (!mTerminating && mDelegate)
                mDelegate->applicationDidFinishLaunching();
        },
        Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace Platform
