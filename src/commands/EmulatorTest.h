// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"
#include "formats/SnapshotReader.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace tessel {

class Kit;
class Prompts;
class ProcessLauncher;

// The emulator that a test starts: the kit's own, whatever is placed there.
QString emulatorProgram(const Kit& kit);

// The 48K .sna an entry becomes on the cartridge, its trainers' pokes
// included, as Test SNA runs it.
std::optional<SnapshotRead> snapshotForTest(const SnapshotEntry& entry, const Kit& kit,
                                            QString* error);

// Test SNA and a double click on the list: the snapshot is read first, so a
// file gone or refused is told before anything else; then, once the user
// agrees, the emulator starts without waiting on the very .sna the cartridge
// would get, written to a temporary file that lives until the next test or
// the end of the program. An entry without a path (no row, or a blank one)
// only gets a hint. A start that fails is reported and changes nothing.
class EmulatorTest
{
public:
    void run(const SnapshotEntry& entry, const Kit& kit, Prompts& prompts,
             ProcessLauncher& launcher);
    // The file the last test gave the emulator; empty when there is none.
    QString lastFile() const { return m_file; }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_file;
};

} // namespace tessel
