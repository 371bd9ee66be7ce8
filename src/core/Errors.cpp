// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Errors.h"

#include <QDir>

namespace tessel {

QString quotedPath(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

} // namespace tessel
