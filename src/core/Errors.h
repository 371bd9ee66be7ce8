// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The engine's one way to fail: a function returns false (or nothing) and,
// when the caller asked for it, says why in one sentence a user can act on.
inline bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// A path as the user should see it in a message: quoted, native separators.
QString quotedPath(const QString& path);

} // namespace tessel
