// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// org.freedesktop.Application at /com/apple/systempreferences: how a second start, the workspace
// and scripts reach the running host. Each request is carried out after the call is answered, so
// a caller never waits for a pane to load.
class ApplicationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    struct Handlers {
        std::function<void()> activate;
        std::function<void(const QString& panePath)> open;
        std::function<void()> quit;
    };

    static constexpr const char* objectPath = "/com/apple/systempreferences";

    explicit ApplicationService(Handlers handlers) : mHandlers(std::move(handlers)) {}

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& actionName, const QVariantList& parameter,
                        const QVariantMap& platformData);

private:
    void later(std::function<void()> work);

    Handlers mHandlers;
};
