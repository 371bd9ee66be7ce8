#pragma once

#include <QString>

namespace tessel {

class FolderBrowser;
class Prompts;
class SnapshotGrid;
struct SnapshotTable;

// A 48K snapshot: a 27-byte register header and 48 KiB of memory.
constexpr qint64 kSnapshotSize = 49179;
constexpr int kMaxNameLength = 20;

// Menu names are counted in characters, not UTF-16 units, so that a
// character outside the basic plane is never cut in half.
int nameLength(const QString& name);
QString nameLeft(const QString& name, int characters);

// The name offered for the next entry: "Snapshot", a blank, and the number
// with the blank a non-negative number is written with.
QString defaultName(int number);

// Adds the file selected in the file list to the table and the grid, after
// checking its size and asking for its menu name.
void AgregarSnaps(FolderBrowser& browser, SnapshotTable& table, SnapshotGrid& grid,
                  Prompts& prompts);

} // namespace tessel
