// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PlistDBus.h"

#include "Platform/Log.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QStringList>

#include <limits>
#include <string>

namespace Platform::PlistDBus {

namespace {

// Seconds between the Unix epoch and the property-list epoch, 2001-01-01 00:00 UTC.
constexpr double plistEpochOffset = 978307200.0;

double secondsSincePlistEpoch(PlistDate date)
{
    return std::chrono::duration<double>(date.time_since_epoch()).count() - plistEpochOffset;
}

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::optional<PlistValue> arrayFromArgument(const QDBusArgument& argument)
{
    PlistArray array;
    argument.beginArray();
    while (!argument.atEnd()) {
        if (auto element = fromDBus(argument.asVariant()))
            array.push_back(std::move(*element));
    }
    argument.endArray();
    return array;
}

std::optional<PlistValue> dictionaryFromArgument(const QDBusArgument& argument)
{
    PlistDictionary dictionary;
    bool stringKeys = true;
    argument.beginMap();
    while (!argument.atEnd()) {
        argument.beginMapEntry();
        const QVariant key = argument.asVariant();
        const QVariant value = argument.asVariant();
        argument.endMapEntry();
        if (key.typeId() != QMetaType::QString) {
            stringKeys = false;
            continue;
        }
        if (auto converted = fromDBus(value))
            dictionary.emplace(key.toString().toStdString(), std::move(*converted));
    }
    argument.endMap();
    if (!stringKeys) {
        NSLog("D-Bus notification: ignoring a dictionary whose keys are not strings");
        return std::nullopt;
    }
    return dictionary;
}

std::optional<PlistValue> fromArgument(const QDBusArgument& argument)
{
    switch (argument.currentType()) {
    case QDBusArgument::ArrayType:
        return arrayFromArgument(argument);
    case QDBusArgument::MapType:
        return dictionaryFromArgument(argument);
    default:
        NSLog("D-Bus notification: ignoring a value of D-Bus type '" +
              argument.currentSignature().toStdString() + "', it has no property-list form");
        return std::nullopt;
    }
}

} // namespace

QVariant toDBus(const PlistValue& value)
{
    return std::visit(Overloaded{
                          [](const std::string& s) { return QVariant(QString::fromStdString(s)); },
                          [](const PlistData& d) {
                              return QVariant(
                                  QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())));
                          },
                          [](std::int64_t i) { return QVariant::fromValue(qlonglong(i)); },
                          [](double r) { return QVariant(r); },
                          [](bool b) { return QVariant(b); },
                          [](PlistDate d) { return QVariant(secondsSincePlistEpoch(d)); },
                          [](const PlistArray& a) {
                              QVariantList list;
                              list.reserve(qsizetype(a.size()));
                              for (const auto& element : a)
                                  list.push_back(toDBus(element));
                              return QVariant(list);
                          },
                          [](const PlistDictionary& d) { return QVariant(toDBus(d)); },
                      },
                      value.storage());
}

QVariantMap toDBus(const PlistDictionary& dictionary)
{
    QVariantMap map;
    for (const auto& [key, value] : dictionary)
        map.insert(QString::fromStdString(key), toDBus(value));
    return map;
}

std::optional<PlistValue> fromDBus(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return PlistValue(value.toString().toStdString());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return PlistValue(PlistData(bytes.begin(), bytes.end()));
    }
    case QMetaType::Bool:
        return PlistValue(value.toBool());
    case QMetaType::Double:
        return PlistValue(value.toDouble());
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return PlistValue(std::int64_t(value.toLongLong()));
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<std::int64_t>::max())) {
            NSLog("D-Bus notification: ignoring the unsigned integer " + std::to_string(u) +
                  ", it does not fit a property-list integer");
            return std::nullopt;
        }
        return PlistValue(std::int64_t(u));
    }
    case QMetaType::QStringList: {
        PlistArray array;
        for (const QString& s : value.toStringList())
            array.emplace_back(s.toStdString());
        return PlistValue(std::move(array));
    }
    default:
        break;
    }
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return fromDBus(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return fromArgument(value.value<QDBusArgument>());
    NSLog(std::string("D-Bus notification: ignoring a value of type '") + value.metaType().name() +
          "', it has no property-list form");
    return std::nullopt;
}

std::optional<PlistDictionary> dictionaryFromDBus(const QVariant& value)
{
    auto converted = fromDBus(value);
    if (!converted || !converted->is<PlistDictionary>())
        return std::nullopt;
    return std::move(*converted->getIf<PlistDictionary>());
}

} // namespace Platform::PlistDBus
