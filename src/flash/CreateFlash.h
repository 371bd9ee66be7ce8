#pragma once

#include "flash/FlashSources.h"

#include <QString>

namespace tessel {

class Kit;
class Prompts;
struct SnapshotTable;

// What the window shows while the command runs: the hourglass, the grid
// hidden so that "Please Wait !" shows, and an immediate repaint.
class BusySign
{
public:
    virtual ~BusySign() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
};

// Create Flash in its two halves: everything checked, then everything
// written. Sources may still change in between; the build notices.
struct FlashJob
{
    FlashSources sources;
    QString workingFolder;
};
bool prepareCreateFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                        FlashJob& job, QString& error);
void buildAndExport(const FlashJob& job, Prompts& prompts);

// Builds "tessel.rom" in the working folder from the ten listed snapshots,
// then asks where to save a copy. Every source and setting is checked first;
// any problem is one warning and nothing is built or copied. Outcomes are
// told through prompts only.
void CrearFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                Prompts& prompts);

// The Create Flash button and menu item: a full list or a warning, then
// CrearFlash under the busy sign, dialogs and messages included.
void runCreateFlash(const SnapshotTable& table, const Kit& kit, const QString& RutaIni,
                    Prompts& prompts, BusySign& busy);

} // namespace tessel
