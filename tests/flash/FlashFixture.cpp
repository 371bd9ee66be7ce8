// SPDX-License-Identifier: GPL-3.0-or-later
#include "FlashFixture.h"

#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sys/wait.h>
#include <unistd.h>

#include <exception>

namespace tessel::test {

QByteArray patternBytes(int source, qint64 size)
{
    QByteArray bytes(size, '\0');
    for (qint64 k = 0; k < size; ++k) {
        quint32 x =
            static_cast<quint32>(k) * 0x9E3779B1u + static_cast<quint32>(source + 1) * 0x85EBCA77u;
        x ^= x >> 15;
        x *= 0x2C1B3C6Du;
        x ^= x >> 12;
        bytes[k] = static_cast<char>(x >> 8);
    }
    return bytes;
}

FlashKit::FlashKit()
{
    QDir(m_dir.path()).mkdir(QStringLiteral("flash"));
    writeFile(ini(),
              QStringLiteral("[tessel]\nstart=1\nDirectorioTrabajo=%1\nDireccionNombres=8192\n"
                             "DireccionRegistros=8448\n")
                  .arg(path(QStringLiteral("flash")))
                  .toUtf8());
    writeFile(path(QStringLiteral("bank1.rom")), patternBytes(kBank1, kBankSize));
    writeFile(path(QStringLiteral("bank32.rom")), patternBytes(kBank32, kBankSize));
    for (int i = 0; i < kEntryCount; ++i) {
        entries.append(
            {path(QStringLiteral("snap%1.sna").arg(i)), QStringLiteral("Snapshot %1").arg(i)});
        writeFile(entries[i].path, patternBytes(i, kSnaFileSize));
    }
}

void FlashKit::set(const QString& key, const QString& value) const
{
    Settings(ini()).setValue(key, value);
}

QByteArray FlashKit::expected(qint64 names, qint64 registers) const
{
    const auto fit = [](QByteArray bytes, qint64 size) {
        bytes.truncate(size);
        return bytes.append(size - bytes.size(), ' ');
    };
    QByteArray image = fit(readFile(path(QStringLiteral("bank1.rom"))), 16384);
    for (const SnapshotEntry& entry : entries)
        image += fit(readFile(entry.path).mid(27), 49152);
    image += fit(readFile(path(QStringLiteral("bank32.rom"))), 16384);
    for (int i = 0; i < 10; ++i)
        image.replace(names + 23 * qsizetype(i), 20, fit(entries[i].name.toLatin1(), 20));
    for (int i = 0; i < 10; ++i)
        image.replace(registers + 32 * qsizetype(i), 32, fit(readFile(entries[i].path), 32));
    return image;
}

int inChild(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 99;
        try {
            status = body();
        } catch (const std::exception&) { }
        _exit(status);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QByteArray firstDifference(const QByteArray& actual, const QByteArray& wanted)
{
    if (actual == wanted)
        return "equal";
    qsizetype at = 0;
    while (at < actual.size() && at < wanted.size() && actual[at] == wanted[at])
        ++at;
    return QStringLiteral("sizes %1 and %2, first difference at byte %3")
        .arg(actual.size())
        .arg(wanted.size())
        .arg(at)
        .toUtf8();
}

Run run(const QString& program, const QStringList& arguments, const QString& folder,
        const QProcessEnvironment& environment, int timeoutMs)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        result.err = program + QStringLiteral(": did not finish. ") + process.errorString();
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList entryArguments(const FlashKit& kit)
{
    QStringList arguments;
    for (const SnapshotEntry& entry : kit.entries)
        arguments << entry.name + QLatin1Char('=') + entry.path;
    return arguments;
}

} // namespace tessel::test
