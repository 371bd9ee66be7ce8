// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/TapeCache.h"

#include "core/Cartridge.h"
#include "core/DurableFile.h"
#include "core/Errors.h"
#include "core/Files.h"
#include "core/KitLocation.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tessel {

namespace {

using Result = TapeOutcome::Result;

// Names stored in the cache files; never translated.
const std::pair<Result, QLatin1String> kResults[] = {
    {Result::Loaded, QLatin1String("loaded")},
    {Result::LoadingError, QLatin1String("loading-error")},
    {Result::LoadedNothing, QLatin1String("loaded-nothing")},
    {Result::Reset, QLatin1String("reset")},
    {Result::StillLoading, QLatin1String("still-loading")},
    {Result::Paged, QLatin1String("paged")},
    {Result::RomDidNotStart, QLatin1String("rom-did-not-start")},
    {Result::NoStack, QLatin1String("no-stack")},
};

constexpr qint64 kMaxFactsSize = 64 * 1024;

std::optional<QByteArray> readWhole(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!openRegularFile(file, nullptr, {}) || file.size() > limit)
        return std::nullopt;
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > limit)
        return std::nullopt;
    return bytes;
}

bool writeWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeDurably(path, bytes, {}, error);
}

} // namespace

QString TapeCache::defaultFolder()
{
    // Never a folder relative to wherever the program runs, nor the root's.
    const QString base = userCacheFolder();
    return base.isEmpty() ? QString() : QDir(base).filePath(QStringLiteral("tapes"));
}

TapeCache::TapeCache(QString folder)
    : m_folder(std::move(folder))
{ }

QByteArray TapeCache::key(QByteArrayView tape, const Rom& rom)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QCryptographicHash::hash(tape, QCryptographicHash::Sha256));
    hash.addData(rom.digest);
    hash.addData(QByteArray::number(kConverterVersion));
    return hash.result().toHex();
}

QString TapeCache::path(const QByteArray& key, const char* extension) const
{
    // No folder known: no name at all, rather than one in the current folder.
    if (m_folder.isEmpty())
        return {};
    return QDir(m_folder).filePath(QString::fromLatin1(key + extension));
}

QString TapeCache::snaPath(const QByteArray& key) const
{
    return path(key, ".sna");
}

std::optional<TapeOutcome> TapeCache::find(const QByteArray& key) const
{
    const std::optional<QByteArray> facts = readWhole(path(key, ".json"), kMaxFactsSize);
    if (!facts)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(*facts).object();
    const QString result = object.value(QLatin1String("result")).toString();
    TapeOutcome outcome;
    const auto known = std::find_if(std::begin(kResults), std::end(kResults),
                                    [&](const auto& pair) { return pair.second == result; });
    if (known == std::end(kResults))
        return std::nullopt;
    outcome.result = known->first;
    for (const QJsonValue block : object.value(QLatin1String("unread")).toArray())
        outcome.unreadBlocks << block.toInt();
    outcome.stillReading = object.value(QLatin1String("stillReading")).toBool();
    if (outcome.result == Result::Loaded) {
        std::optional<QByteArray> sna = readWhole(snaPath(key), kSnaFileSize);
        if (!sna || sna->size() != kSnaFileSize)
            return std::nullopt;
        outcome.sna = *sna;
    }
    return outcome;
}

bool TapeCache::store(const QByteArray& key, const TapeOutcome& outcome, QString* error) const
{
    const auto known = std::find_if(std::begin(kResults), std::end(kResults),
                                    [&](const auto& pair) { return pair.first == outcome.result; });
    if (known == std::end(kResults))
        return true;
    if (m_folder.isEmpty())
        return fail(error, QCoreApplication::translate("TapeCache",
                                                       "The tape cache folder cannot be found; "
                                                       "set HOME or XDG_CACHE_HOME."));
    if (!QDir().mkpath(m_folder))
        return fail(error,
                    QCoreApplication::translate("TapeCache", "The tape cache folder %1 could "
                                                             "not be made.")
                        .arg(quotedPath(m_folder)));
    // The facts go last: without them the snapshot beside is never used.
    if (outcome.result == Result::Loaded && !writeWhole(snaPath(key), outcome.sna, error))
        return false;
    QJsonArray unread;
    for (const int block : outcome.unreadBlocks)
        unread.append(block);
    const QJsonObject facts{{QLatin1String("result"), known->second},
                            {QLatin1String("unread"), unread},
                            {QLatin1String("stillReading"), outcome.stillReading}};
    return writeWhole(path(key, ".json"), QJsonDocument(facts).toJson(), error);
}

} // namespace tessel
