// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "flash/FlashExtract.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

struct Session;

// File > Open Compilation...: a compilation file chosen, then loaded as
// loadCompilation() does. The dialog starts beside the last compilation,
// else in `browsed`, the folder the browser shows.
void openCompilation(Session& session, const QString& browsed);

// Loads a compilation file into the list: every line is checked first and
// any bad one loads nothing (one message lists them); snapshots that need
// hardware the cartridge lacks are asked about once, all listed; a list
// with unsaved changes is replaced only after settleChanges(), another list
// that is not empty only once the user confirms. The file becomes the most
// recent compilation and the document; one that is gone leaves the recent
// list. True when loaded.
bool loadCompilation(Session& session, const QString& path);

// File > Save Compilation...: writes the list to a file the user chooses,
// asking before replacing one. The dialog starts as openCompilation()'s does.
// True when saved.
bool saveCompilation(Session& session, const QString& browsed);

// An image made earlier, read with the kit's offsets.
struct OpenedImage
{
    QString path;
    FlashContents contents;
};

// The first half of Open Flash Image and Image Contents: an image chosen in
// a dialog with the given title and read, writing nothing. A file that is
// not an image of this kit is told why and gives nothing.
std::optional<OpenedImage> chooseFlashImage(Session& session, const QString& title);

// The second half: the image taken apart into a folder the user picks (ten
// snapshots and their compilation), never replacing a file there without
// asking; the list is then filled from it. The snapshots hold what the
// image holds, trainers' pokes included, and the message says so. True when
// done.
bool takeApartImage(Session& session, const OpenedImage& image);

// File > Open Flash Image...: both halves.
void openFlashImage(Session& session);

// An image file (one dropped, say) read with the kit's offsets and taken
// apart as takeApartImage() does. True when loaded.
bool loadFlashImage(Session& session, const QString& image);

// Before the list is replaced or the window closes: when the list has
// changes no file holds, asks whether to save them first (Save, Discard,
// Cancel). True to go on: nothing to save, saved, or discarded.
bool settleChanges(Session& session);

// File > New: an empty list and no document, after settleChanges() when
// there is something to save, else after a question of its own. True when
// emptied.
bool newList(Session& session);

} // namespace tessel
