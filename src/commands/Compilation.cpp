// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Compilation.h"

#include "core/Cartridge.h"
#include "core/Errors.h"
#include "core/MenuName.h"
#include "formats/EntryList.h"
#include "machine/Source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tessel {

namespace {

// A message box of a hundred lines helps nobody; the first few show the way.
constexpr int kShownProblems = 10;

// What is wrong with the name on line `line` of the list, as that line of the
// message; empty when nothing.
QString nameProblem(const QString& name, int line)
{
    const NameCheck check = checkMenuName(name);
    if (check.problem == NameCheck::Length)
        return QCoreApplication::translate(
                   "Compilation",
                   "Line %1: the menu name \"%2\" has %3 characters; it must have 1 to %4.")
            .arg(QString::number(line), name, QString::number(check.length),
                 QString::number(kMaxNameLength));
    if (check.problem == NameCheck::Control)
        return QCoreApplication::translate("Compilation",
                                           "Line %1: the menu name holds a control character; it "
                                           "may hold only printable ones.")
            .arg(line);
    return {};
}

QString recentKey(int i)
{
    return QStringLiteral("Recent%1").arg(i + 1);
}

QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

std::optional<SnapshotEntries> readCompilation(const QString& path, const Kit* kit, QString* error)
{
    const std::optional<QList<EntryLine>> lines = readEntryLines(path, error);
    if (!lines)
        return std::nullopt;
    SnapshotEntries entries;
    QStringList problems;
    for (const EntryLine& line : *lines) {
        if (!line.problem.isEmpty()) {
            problems << line.problem;
            continue;
        }
        if (entries.size() == kEntryCount) {
            problems << QCoreApplication::translate(
                            "Compilation", "Line %1: entry %2 and any after it do not fit; a "
                                           "compilation holds %3 at most.")
                            .arg(line.number)
                            .arg(kEntryCount + 1)
                            .arg(kEntryCount);
            break;
        }
        if (const QString wrong = nameProblem(line.entry.name, line.number); !wrong.isEmpty()) {
            problems << wrong;
            continue;
        }
        QString why;
        if (!readSource(line.entry.path, kit, &why))
            //: %2 is a sentence of its own, naming the file on that line.
            problems << QCoreApplication::translate("Compilation", "Line %1: %2")
                            .arg(QString::number(line.number), why);
        else
            entries.append(line.entry);
    }
    if (problems.isEmpty())
        return entries;

    const int count = static_cast<int>(problems.size());
    QString text = QCoreApplication::translate("Compilation",
                                               "The compilation %1 was not opened: %n of its lines "
                                               "cannot be taken as they are.",
                                               nullptr, count)
                       .arg(quotedPath(path));
    for (const QString& problem : problems.mid(0, kShownProblems))
        text += QLatin1Char('\n') + problem;
    if (problems.size() > kShownProblems)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("Compilation", "... and %1 more.")
                      .arg(problems.size() - kShownProblems);
    fail(error, text);
    return std::nullopt;
}

RecentCompilations::RecentCompilations(Settings settings)
    : m_settings(std::move(settings))
{ }

QStringList RecentCompilations::paths() const
{
    QStringList paths;
    for (int i = 0; i < kCount; ++i) {
        const QString path = m_settings.wholeValue(recentKey(i), kSection);
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    }
    return paths;
}

bool RecentCompilations::add(const QString& path)
{
    // The settings file keeps a value on one line.
    if (path.contains(u'\n') || path.contains(u'\r') || path.contains(QChar(u'\0')))
        return false;
    const QString added = QDir::toNativeSeparators(normalised(path));
    QStringList list = paths();
    list.removeIf([&](const QString& p) { return normalised(p) == normalised(added); });
    list.prepend(added);
    return store(list.mid(0, kCount));
}

bool RecentCompilations::remove(const QString& path)
{
    QStringList list = paths();
    list.removeIf([&](const QString& p) { return normalised(p) == normalised(path); });
    return store(list);
}

bool RecentCompilations::store(const QStringList& paths)
{
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < kCount; ++i)
        values.append({recentKey(i), paths.value(i)});
    return m_settings.setValues(values, kSection);
}

} // namespace tessel
