// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/PokFile.h"

#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace tessel {

namespace {

constexpr int kRamStart = 0x4000;
constexpr int kStackPointerByte = 23; // in the .sna header, low byte first

// Names come from many hands: UTF-8 where it is, else Latin-1.
QString decodeName(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString name = utf8(bytes);
    if (utf8.hasError())
        name = QString::fromLatin1(bytes);
    // A tab would end the name in a compilation file.
    name.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return name.trimmed();
}

// The parts of `text` between runs of `separators`.
QList<QByteArrayView> fieldsOf(QByteArrayView text, QByteArrayView separators)
{
    QList<QByteArrayView> fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separators.contains(text.at(i)))
            continue;
        if (i > start)
            fields.append(text.sliced(start, i - start));
        start = i + 1;
    }
    return fields;
}

bool isText(QByteArrayView data)
{
    return std::none_of(data.begin(), data.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
    });
}

// One number of at most `digits` decimal digits.
std::optional<int> number(QByteArrayView field, int digits)
{
    if (field.isEmpty() || field.size() > digits)
        return std::nullopt;
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The four fields after M or Z, on line `line`; the first problem is the
// reason.
std::optional<PokFilePoke> parsePoke(QByteArrayView rest, int line, QString& problem)
{
    const QString at = QString::number(line);
    const QList<QByteArrayView> fields = fieldsOf(rest, " \t");
    if (fields.size() != 4) {
        problem = QCoreApplication::translate("PokFile",
                                              "Line %1: a poke needs four numbers (bank, address, "
                                              "value, original), not %2.")
                      .arg(at, QString::number(fields.size()));
        return std::nullopt;
    }
    const std::optional<int> bank = number(fields[0], 1);
    const std::optional<int> address = number(fields[1], 5);
    const std::optional<int> value = number(fields[2], 3);
    const std::optional<int> original = number(fields[3], 3);
    if (!bank || !address || !value || !original) {
        problem = QCoreApplication::translate("PokFile",
                                              "Line %1: a poke's bank is one digit, its address up "
                                              "to five and its value and original up to three.")
                      .arg(at);
        return std::nullopt;
    }
    PokFilePoke poke{*bank, *address, *value, *original};
    if (poke.value > kAskedValue) {
        problem = QCoreApplication::translate("PokFile", "Line %1: the value %2 is neither a byte "
                                                         "nor 256 (for the user to give).")
                      .arg(at, QString::number(poke.value));
        return std::nullopt;
    }
    if (poke.original > 255) {
        problem = QCoreApplication::translate("PokFile", "Line %1: the original %2 is not a byte.")
                      .arg(at, QString::number(poke.original));
        return std::nullopt;
    }
    if (poke.address > 0xFFFF) {
        problem = QCoreApplication::translate("PokFile", "Line %1: the address %2 is beyond 65535.")
                      .arg(at, QString::number(poke.address));
        return std::nullopt;
    }
    switch (poke.bank) {
    case 8:
        if (poke.address < kRamStart) {
            problem = QCoreApplication::translate(
                          "PokFile", "Line %1: the address %2 is in the ROM, which cannot be "
                                     "changed.")
                          .arg(at, QString::number(poke.address));
            return std::nullopt;
        }
        poke.target = static_cast<quint16>(poke.address);
        break;
    // The pages a 48K has, at their places in its map.
    case 5:
    case 2:
    case 0: {
        const int base = poke.bank == 5 ? 0x4000 : poke.bank == 2 ? 0x8000 : 0xC000;
        poke.target = static_cast<quint16>(base + (poke.address & 0x3FFF));
        break;
    }
    default:
        problem =
            poke.bank == 9
                ? QCoreApplication::translate("PokFile", "Line %1: the bank 9 is no memory bank.")
                      .arg(at)
                : QCoreApplication::translate(
                      "PokFile", "Line %1: the bank %2 is a page of a 128K's memory that "
                                 "a 48K Spectrum does not have.")
                      .arg(at, QString::number(poke.bank));
        return std::nullopt;
    }
    return poke;
}

qsizetype snaOffset(quint16 address)
{
    return kSnaHeaderSize + address - kRamStart;
}

} // namespace

bool PokFileTrainer::asksValue() const
{
    return std::any_of(pokes.cbegin(), pokes.cend(),
                       [](const PokFilePoke& poke) { return poke.value == kAskedValue; });
}

std::optional<PokFileContents> parsePokFile(QByteArrayView data, QString* error)
{
    // An old editor's end-of-file mark.
    while (data.endsWith('\x1A'))
        data.chop(1);
    if (!isText(data)) {
        fail(error, QCoreApplication::translate(
                        "PokFile", "These bytes are not text, so they are no trainer file."));
        return std::nullopt;
    }
    PokFileContents contents;
    // The trainer whose pokes are being read; none before the first N line
    // and after a Z line.
    PokFileTrainer* open = nullptr;
    const auto unfinished = [&] {
        if (open && open->usable())
            open->problem = QCoreApplication::translate(
                                "PokFile", "Line %1: the trainer has no last poke (a Z line).")
                                .arg(open->line);
        open = nullptr;
    };
    int lineNumber = 0;
    while (!data.isEmpty()) {
        ++lineNumber;
        const qsizetype end = data.indexOf('\n');
        QByteArrayView line = end < 0 ? data : data.first(end);
        data = end < 0 ? QByteArrayView() : data.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const char kind = line.front();
        if (kind == 'Y') {
            unfinished();
            return contents;
        }
        if (kind == 'N') {
            unfinished();
            contents.trainers.append({decodeName(line.sliced(1)), lineNumber, {}, {}});
            open = &contents.trainers.last();
            continue;
        }
        QString problem;
        if (kind != 'M' && kind != 'Z')
            problem = QCoreApplication::translate(
                          "PokFile", "Line %1: it starts with none of N, M, Z and Y, so it is no "
                                     "line of a trainer file.")
                          .arg(lineNumber);
        else if (!open)
            problem = QCoreApplication::translate(
                          "PokFile", "Line %1: a poke outside any trainer: no N line names it.")
                          .arg(lineNumber);
        if (!problem.isEmpty()) {
            if (open && open->usable())
                open->problem = problem;
            else if (!open)
                contents.problems << problem;
            continue;
        }
        const std::optional<PokFilePoke> poke = parsePoke(line.sliced(1), lineNumber, problem);
        if (poke)
            open->pokes.append(*poke);
        else if (open->usable())
            open->problem = problem;
        if (kind == 'Z')
            open = nullptr;
    }
    unfinished();
    return contents;
}

std::optional<PokFileContents> readPokFile(const QString& path, QString* error)
{
    QFile file(path);
    const QString cannotRead =
        QCoreApplication::translate("PokFile", "The trainer file %1 cannot be read (%2).");
    if (!openRegularFile(file, error, cannotRead))
        return std::nullopt;
    const QByteArray data = file.read(kMaxPokFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(error, cannotRead.arg(quotedPath(path), file.errorString()));
        return std::nullopt;
    }
    if (data.size() > kMaxPokFileSize) {
        fail(error, QCoreApplication::translate("PokFile",
                                                "The trainer file %1 cannot be read (it is larger "
                                                "than %2 bytes, which no trainer file is).")
                        .arg(quotedPath(path), QString::number(kMaxPokFileSize)));
        return std::nullopt;
    }
    std::optional<PokFileContents> contents = parsePokFile(data, nullptr);
    if (!contents)
        fail(error, QCoreApplication::translate(
                        "PokFile", "The trainer file %1 cannot be read: it is not a text file.")
                        .arg(quotedPath(path)));
    return contents;
}

QString findPokFile(const QString& snapshotPath)
{
    const QFileInfo snapshot(snapshotPath);
    const QString base = snapshot.completeBaseName();
    const QDir folder = snapshot.absoluteDir();
    for (const QString& sub : {QString(), QStringLiteral("POKES/")}) {
        for (const QString& extension : {QStringLiteral(".pok"), QStringLiteral(".POK")}) {
            const QString path = folder.filePath(sub + base + extension);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

Trainer settleTrainer(const PokFileTrainer& trainer, const QList<quint8>& asked)
{
    Trainer settled{trainer.name, {}};
    qsizetype next = 0;
    for (const PokFilePoke& poke : trainer.pokes) {
        const quint8 value =
            poke.value == kAskedValue ? asked.value(next++) : static_cast<quint8>(poke.value);
        settled.pokes.append({poke.target, value});
    }
    return settled;
}

bool matchesOriginals(const PokFileTrainer& trainer, QByteArrayView sna)
{
    return std::all_of(trainer.pokes.cbegin(), trainer.pokes.cend(), [&](const PokFilePoke& p) {
        const qsizetype at = snaOffset(p.target);
        return p.original == 0 || p.target < kRamStart
               || (at < sna.size() && static_cast<unsigned char>(sna.at(at)) == p.original);
    });
}

bool applyTrainers(QByteArray& sna, const QList<Trainer>& trainers, QString* error)
{
    if (sna.size() != kSnaFileSize)
        return fail(error, QCoreApplication::translate(
                               "PokFile", "Trainers apply to a 48K snapshot of %1 bytes only.")
                               .arg(kSnaFileSize));
    const int sp = static_cast<unsigned char>(sna.at(kStackPointerByte))
                   | static_cast<unsigned char>(sna.at(kStackPointerByte + 1)) << 8;
    for (const Trainer& trainer : trainers) {
        for (const Poke& poke : trainer.pokes) {
            if (poke.address < kRamStart)
                return fail(error, QCoreApplication::translate(
                                       "PokFile", "The trainer \"%1\" pokes the address %2, in "
                                                  "the ROM, which cannot be changed.")
                                       .arg(trainer.name, QString::number(poke.address)));
            if (poke.address == sp || poke.address == ((sp + 1) & 0xFFFF))
                continue;
            sna[snaOffset(poke.address)] = static_cast<char>(poke.value);
        }
    }
    return true;
}

std::optional<QList<Poke>> parsePokeList(const QString& text, QString* error)
{
    QList<Poke> pokes;
    for (const QString& pair : text.split(QLatin1Char(':'))) {
        const QStringList parts = pair.split(QLatin1Char(','));
        bool addressOk = false;
        bool valueOk = false;
        const uint address = parts.value(0).trimmed().toUInt(&addressOk);
        const uint value = parts.value(1).trimmed().toUInt(&valueOk);
        if (parts.size() != 2 || !addressOk || !valueOk) {
            fail(error, QCoreApplication::translate(
                            "PokFile", "\"%1\" is not a poke; write ADDRESS,VALUE in decimal.")
                            .arg(pair));
            return std::nullopt;
        }
        if (address < kRamStart || address > 0xFFFF || value > 255) {
            fail(error, QCoreApplication::translate(
                            "PokFile", "The poke \"%1\" is out of range: the address must be "
                                       "16384 to 65535 and the value 0 to 255.")
                            .arg(pair));
            return std::nullopt;
        }
        pokes.append({static_cast<quint16>(address), static_cast<quint8>(value)});
    }
    return pokes;
}

QString formatPokeList(const QList<Poke>& pokes)
{
    QStringList pairs;
    for (const Poke& poke : pokes)
        pairs << QStringLiteral("%1,%2").arg(poke.address).arg(poke.value);
    return pairs.join(QLatin1Char(':'));
}

} // namespace tessel
