// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TapeWriter.h"

#include "support/TestFiles.h"

#include <QFileInfo>

namespace tessel::test {

namespace {

void putWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

void putTriple(QByteArray& out, int value)
{
    putWord(out, value);
    out.append(char((value >> 16) & 0xff));
}

QByteArray withChecksum(quint8 flag, const QByteArray& bytes)
{
    QByteArray block(1, char(flag));
    block += bytes;
    char sum = 0;
    for (const char byte : block)
        sum = char(sum ^ byte);
    return block + sum;
}

// A number in a BASIC line: its digits, then its hidden five-byte form.
QByteArray number(int value)
{
    QByteArray out = QByteArray::number(value);
    out.append('\x0e').append(2, '\0');
    putWord(out, value);
    return out.append('\0');
}

} // namespace

TapeWriter& TapeWriter::header(quint8 type, const QByteArray& name, quint16 length, quint16 first,
                               quint16 second)
{
    QByteArray header(1, char(type));
    header += name.leftJustified(10, ' ', true);
    putWord(header, length);
    putWord(header, first);
    putWord(header, second);
    return block(0x00, header);
}

TapeWriter& TapeWriter::block(quint8 flag, const QByteArray& bytes)
{
    const QByteArray data = withChecksum(flag, bytes);
    m_romBlocks << data;
    m_tzx.append('\x10');
    putWord(m_tzx, 1000); // the pause after, in ms
    putWord(m_tzx, int(data.size()));
    m_tzx += data;
    return *this;
}

TapeWriter& TapeWriter::loader(quint16 start)
{
    // CLEAR, LOAD, CODE, RANDOMIZE and USR are one byte each.
    return program("\xfd" + number(start - 1) + ":\xef\"\"\xaf:\xf9\xc0" + number(start) + "\x0d");
}

TapeWriter& TapeWriter::resetter()
{
    return program("\xf9\xc0" + number(0) + "\x0d");
}

TapeWriter& TapeWriter::program(const QByteArray& text)
{
    QByteArray line;
    line.append('\0').append('\x0a'); // line 10, high byte first
    putWord(line, int(text.size()));
    line += text;
    header(0, "loader", quint16(line.size()), 10, quint16(line.size()));
    return block(0xff, line);
}

TapeWriter& TapeWriter::code(quint16 start, const QByteArray& bytes)
{
    header(3, "code", quint16(bytes.size()), start, 32768);
    return block(0xff, bytes);
}

TapeWriter& TapeWriter::turbo(quint16 start, const QByteArray& bytes)
{
    QByteArray payload;
    putWord(payload, start);
    putWord(payload, int(bytes.size()));
    const QByteArray data = withChecksum(0xff, payload + bytes);
    m_tzx.append('\x11');
    for (const int length : {1100, 300, 330, 400, 800, 2000})
        putWord(m_tzx, length); // pilot, sync 1 and 2, 0 and 1 pulses, pilot pulses
    m_tzx.append('\x08'); // bits used in the last byte
    putWord(m_tzx, 1000);
    putTriple(m_tzx, int(data.size()));
    m_tzx += data;
    return *this;
}

TapeWriter& TapeWriter::tone(quint16 length, quint16 pulses)
{
    m_tzx.append('\x12');
    putWord(m_tzx, length);
    putWord(m_tzx, pulses);
    return *this;
}

TapeWriter& TapeWriter::stop()
{
    m_tzx.append('\x2a').append(4, '\0');
    return *this;
}

QByteArray TapeWriter::tap() const
{
    QByteArray tap;
    for (const QByteArray& block : m_romBlocks) {
        putWord(tap, int(block.size()));
        tap += block;
    }
    return tap;
}

QByteArray TapeWriter::tzx() const
{
    return QByteArray("ZXTape!\x1a\x01\x14", 10) + m_tzx;
}

QByteArray gameCode()
{
    return readFile(QStringLiteral(TESSEL_Z80_BINARIES "/game.bin"));
}

QByteArray turboLoader()
{
    return readFile(QStringLiteral(TESSEL_Z80_BINARIES "/turbo.bin"));
}

TapeWriter romTape()
{
    TapeWriter tape;
    tape.loader(kGameStart).code(kGameStart, gameCode());
    return tape;
}

TapeWriter turboTape()
{
    TapeWriter tape;
    tape.loader(kTurboStart).code(kTurboStart, turboLoader()).turbo(kGameStart, gameCode());
    return tape;
}

QString sinclairRom()
{
    const QString path = qEnvironmentVariable("TESSEL_SINCLAIR_ROM");
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace tessel::test
