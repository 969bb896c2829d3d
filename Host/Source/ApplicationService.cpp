// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ApplicationService.h"

#include "Platform/Log.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QTimer>
#include <QUrl>

namespace {

// A file: URI or a plain absolute path; none for anything else.
std::optional<QString> localPath(const QString& uri)
{
    const QUrl url(uri);
    if (url.isLocalFile())
        return url.toLocalFile();
    if (uri.startsWith(QLatin1Char('/')))
        return uri;
    return std::nullopt;
}

} // namespace

void ApplicationService::later(std::function<void()> work)
{
    QTimer::singleShot(0, this, std::move(work));
}

void ApplicationService::Activate(const QVariantMap& /*platformData*/)
{
    later(mHandlers.activate);
}

void ApplicationService::Open(const QStringList& uris, const QVariantMap& /*platformData*/)
{
    // One window shows one pane: the first URI is opened.
    const auto path = uris.isEmpty() ? std::nullopt : localPath(uris.first());
    if (!path) {
        const QString message = "Open needs the file URI of a .prefPane; got \"" + uris.join(' ') + '"';
        NSLog(message.toStdString());
        sendErrorReply(QDBusError::InvalidArgs, message);
        return;
    }
    if (uris.size() > 1)
        NSLog("Open was given " + std::to_string(uris.size()) + " panes; only the first is shown");
    later([this, pane = *path] { mHandlers.open(pane); });
}

void ApplicationService::ActivateAction(const QString& actionName, const QVariantList& /*parameter*/,
                                        const QVariantMap& /*platformData*/)
{
    if (actionName != QLatin1String("quit")) {
        const QString message = "the pane host has no action \"" + actionName + "\"; it knows \"quit\"";
        NSLog(message.toStdString());
        sendErrorReply(QDBusError::InvalidArgs, message);
        return;
    }
    later(mHandlers.quit);
}
