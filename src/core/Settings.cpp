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
    const ProfileRead read =
        readProfileStringFromFile(file, section.toLocal8Bit(), key.toLocal8Bit(), {}, kReadBuffer);
    // The cut may split a multibyte character; a stateful decoder holds that
    // part back instead of turning it into a replacement character. A leading
    // U+FEFF is part of the value, not a mark to drop.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
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
