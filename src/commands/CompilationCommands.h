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
// any bad one loads nothing (one message lists them); a list that is not
// empty is replaced only once the user confirms. The file becomes the most
// recent compilation; one that is gone leaves the recent list. True when
// loaded.
bool loadCompilation(Session& session, const QString& path);

// File > Save Compilation...: writes the list to a file the user chooses,
// asking before replacing one. The dialog starts as openCompilation()'s does.
void saveCompilation(Session& session, const QString& browsed);

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
// asking; the list is then filled from it. True when done.
bool takeApartImage(Session& session, const OpenedImage& image);

// File > Open Flash Image...: both halves.
void openFlashImage(Session& session);

// Files dropped on the file list or the grid.
void dropFiles(Session& session, const QStringList& paths);

} // namespace tessel
