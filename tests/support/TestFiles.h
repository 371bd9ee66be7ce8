#pragma once

#include <QByteArray>
#include <QString>

namespace tessel::test {

// Whole files, for fixtures and for comparing before and after. A file that
// cannot be read reads as empty; a write says whether all of it landed.
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace tessel::test
