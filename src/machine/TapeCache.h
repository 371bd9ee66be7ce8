// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/TapeLoader.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tessel {

// What loading each tape came to, kept on disk by the tape's content, the
// ROM's and this converter's version, so that adding a tape, the build's
// checks, the image and Test SNA never load the same tape twice. A loaded
// tape's snapshot is a plain .sna there, which an emulator can open.
class TapeCache
{
public:
    // Goes up whenever loading changes what a tape comes to.
    static constexpr int kConverterVersion = 2;

    // The user's cache folder, shared by the three programs:
    // ~/.cache/tessel-zizerev/tapes.
    static QString defaultFolder();

    explicit TapeCache(QString folder = defaultFolder());

    static QByteArray key(QByteArrayView tape, const Rom& rom);

    std::optional<TapeOutcome> find(const QByteArray& key) const;
    // Cancelled loads are not kept. Never leaves a half-written entry.
    bool store(const QByteArray& key, const TapeOutcome& outcome, QString* error) const;
    // Where a loaded tape's .sna lies.
    QString snaPath(const QByteArray& key) const;

private:
    QString path(const QByteArray& key, const char* extension) const;

    QString m_folder;
};

} // namespace tessel
