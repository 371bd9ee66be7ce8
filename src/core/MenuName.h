// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace tessel {

// The one rule for a menu name, used wherever a name comes in: the naming
// box, renaming, compilation files, drops, taking an image apart and the
// build. A name the rule takes in one of them is taken in all.

// A name's length as the cartridge stores it: one byte a character, after
// decomposed accents are composed ("e" + U+0301 is one character), a
// character outside the basic plane counted once.
int nameLength(const QString& name);

// The first `characters` characters of a name, counted as above.
QString nameLeft(const QString& name, int characters);

// What is wrong with a name for the cartridge's menu.
struct NameCheck
{
    enum Problem { None, Length, Control };
    Problem problem = None;
    int length = 0; // as nameLength() counts
    char32_t control = 0; // the first control character, for Control
};

// A name has 1 to 20 characters and no control character (C0 and C1
// controls, DEL; a tab or a line break is one). Blanks are characters like
// any other, leading and trailing ones included.
NameCheck checkMenuName(const QString& name);

// The name with each control character made a blank, as a pasted tab or
// line break was most likely meant.
QString withoutControls(const QString& name);
// The name with each control character shown as "?", for a message.
QString controlsShown(const QString& name);

// The name as the image stores it: 20 bytes, one per character in the
// cartridge's code page, padded with blanks. For a name the rule takes.
QByteArray menuNameBytes(const QString& name);

// The name offered for the next entry: "Snapshot", a blank, and the number
// with the blank a non-negative number is written with.
QString defaultName(int number);

} // namespace tessel
