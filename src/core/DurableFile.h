// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QIODevice;
class QSaveFile;

namespace tessel {

// Commits the file and, where the system needs it, flushes its folder too, so
// that after a power cut the new name is there as well as the new data (the
// save file flushes only the data). On failure of the commit the old file is
// left as it was; `error` (may be null) then says which file and why. A
// folder flush the filesystem does not offer is not a failure.
[[nodiscard]] bool commitDurably(QSaveFile& file, QString* error);

// Why a write to out fell short. A write cut short by a full disk or a size
// limit sets no error on a file, yet leaves it incomplete.
QString writeFailure(const QIODevice& out);

} // namespace tessel
