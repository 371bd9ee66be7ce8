// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace tessel::test {

// Whole files, for fixtures and for comparing before and after. A file that
// cannot be read reads as empty; a write says whether all of it landed.
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

// Every entry below a folder, by relative path: its permissions and bytes
// ("<dir>" for a folder). Equal maps mean nothing there changed.
QMap<QString, QByteArray> treeContents(const QString& folder);

} // namespace tessel::test
