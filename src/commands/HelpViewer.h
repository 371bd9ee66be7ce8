// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace tessel {

class Kit;
class Prompts;

QString helpFile(const Kit& kit);

// Help: the kit's help text for the program's own window, read as UTF-8
// from a regular file. A text that cannot be read is told, with the file,
// and gives nothing.
std::optional<QString> readHelp(const Kit& kit, Prompts& prompts);

} // namespace tessel
