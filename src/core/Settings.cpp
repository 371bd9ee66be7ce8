// TEMPORARY stand-in until the private-profile engine lands; replace wholesale.
#include "core/Settings.h"

#include <QFile>

namespace tessel {

QString LeerIni(const QString& file, const QString& section, const QString& key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    bool inSection = false;
    while (!f.atEnd()) {
        const QString line = QString::fromLocal8Bit(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inSection && eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed().left(254);
    }
    return {};
}

void EscribirIni(const QString& file, const QString& section, const QString& key,
                 const QString& value)
{
    QFile f(file);
    QStringList lines;
    if (f.open(QIODevice::ReadOnly)) {
        lines = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
        f.close();
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    int sectionAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            if (sectionAt >= 0)
                break;
            if (line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0)
                sectionAt = i;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (sectionAt >= 0 && eq > 0
            && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = key + QLatin1Char('=') + value;
            sectionAt = -2;
            break;
        }
    }
    if (sectionAt == -1) {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + value;
    } else if (sectionAt >= 0) {
        int at = sectionAt + 1;
        while (at < lines.size() && !lines[at].trimmed().startsWith(QLatin1Char('[')))
            ++at;
        lines.insert(at, key + QLatin1Char('=') + value);
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLocal8Bit());
}

} // namespace tessel
