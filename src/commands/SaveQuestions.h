// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Prompts;

// The name a save dialog's answer really stands for: a name typed without
// an extension gets the default one, whatever the dialog itself did, so
// that any question about it is about the file really written.
QString withDefaultExtension(const QString& chosen, const QString& extension);

// True when nothing is there, or the user agrees to replace it; asked with
// No as the default answer, as save dialogs do.
bool mayReplaceFile(Prompts& prompts, const QString& target, const QString& title);

} // namespace tessel
