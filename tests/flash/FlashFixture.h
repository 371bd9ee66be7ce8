// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Cartridge.h"
#include "core/Kit.h"
#include "core/SnapshotEntry.h"
#include "support/TestFiles.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace tessel::test {

// Every byte tells where it came from: which source, which offset. A byte
// that lands shifted or in another source's place then no longer matches.
QByteArray patternBytes(int source, qint64 size);

// A kit in a temporary folder: settings file (offsets 8192 and 8448, the
// working folder "flash"), two 16 KiB bank files and ten patterned
// snapshots named "Snapshot 0".."Snapshot 9".
class FlashKit
{
public:
    static constexpr int kBank1 = 100;
    static constexpr int kBank32 = 132;

    FlashKit();

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    Kit kit() const { return Kit(m_dir.path()); }
    QString ini() const { return path(QStringLiteral("tessel.ini")); }
    QString workImage() const { return path(QStringLiteral("flash/tessel.rom")); }
    void set(const QString& key, const QString& value) const;

    SnapshotEntries entries;

    // The image as the layout describes it, from whatever the files hold now.
    QByteArray expected(qint64 names = 8192, qint64 registers = 8448) const;

private:
    QTemporaryDir m_dir;
};

// Runs body in a forked child and returns its exit status (or -1 when it
// did not exit normally). For file-size limits that must not touch the
// test process itself.
int inChild(const std::function<int()>& body);

// A program run to its end: its exit status (-1 when it did not end
// normally) and what it printed.
struct Run
{
    int status = -1;
    QString out;
    QString err;
};
Run run(const QString& program, const QStringList& arguments, const QString& folder = QString(),
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 60000);

// The kit's ten entries as NAME=PATH arguments of tessel-flash.
QStringList entryArguments(const FlashKit& kit);

// A sentence for QVERIFY2: where two images first differ.
QByteArray firstDifference(const QByteArray& actual, const QByteArray& wanted);

} // namespace tessel::test
