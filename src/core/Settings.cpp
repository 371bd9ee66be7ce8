#include "core/Settings.h"

#include "core/IniFile.h"

#include <QStringDecoder>

namespace tessel {
namespace {

// The program has always read through a buffer of this size.
constexpr int kReadBuffer = 255;

} // namespace

QString LeerIni(const QString& file, const QString& section, const QString& key)
{
    const ProfileRead read = readProfileStringFromFile(file, section.toLocal8Bit(),
                                                       key.toLocal8Bit(), {}, kReadBuffer);
    if (read.count < kReadBuffer - 1)
        return QString::fromLocal8Bit(read.bytes);
    // The cut may split a multibyte character; a stateful decoder holds that
    // part back instead of turning it into a replacement character.
    QStringDecoder decoder(QStringConverter::System);
    return decoder(read.bytes);
}

void EscribirIni(const QString& file, const QString& section, const QString& key,
                 const QString& value)
{
    // Silent by design: a failed write leaves the old file as it was.
    static_cast<void>(writeProfileStringToFile(file, section.toLocal8Bit(), key.toLocal8Bit(),
                                               value.toLocal8Bit()));
}

} // namespace tessel
