// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MenuName.h"

#include "core/Cartridge.h"
#include "core/Cp1252.h"

#include <QList>

namespace tessel {

namespace {

// The characters as the code page conversion takes them: composed, unless
// composing would make the name longer.
QList<uint> storedCharacters(const QString& name)
{
    QList<uint> chars = name.toUcs4();
    const QList<uint> composed = name.normalized(QString::NormalizationForm_C).toUcs4();
    return composed.size() <= chars.size() ? composed : chars;
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

int nameLength(const QString& name)
{
    return static_cast<int>(storedCharacters(name).size());
}

QString nameLeft(const QString& name, int characters)
{
    const QList<uint> chars = storedCharacters(name);
    if (chars.size() <= characters)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), characters);
}

NameCheck checkMenuName(const QString& name)
{
    NameCheck check;
    check.length = nameLength(name);
    if (check.length < 1 || check.length > kMaxNameLength) {
        check.problem = NameCheck::Length;
        return check;
    }
    for (const uint c : name.toUcs4()) {
        if (isControl(c)) {
            check.problem = NameCheck::Control;
            check.control = c;
            break;
        }
    }
    return check;
}

QString replaceControls(const QString& name, char32_t by)
{
    QList<uint> chars = name.toUcs4();
    for (uint& c : chars) {
        if (isControl(c))
            c = by;
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), chars.size());
}

QString withoutControls(const QString& name)
{
    return replaceControls(name, U' ');
}

QString controlsShown(const QString& name)
{
    return replaceControls(name, U'?');
}

QByteArray menuNameBytes(const QString& name)
{
    QByteArray bytes = toCp1252(name).left(kMaxNameLength);
    bytes.append(kMaxNameLength - bytes.size(), kFill);
    return bytes;
}

QString defaultName(int number)
{
    return QStringLiteral("Snapshot  %1").arg(number);
}

} // namespace tessel
