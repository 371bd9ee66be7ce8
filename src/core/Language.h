// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The environment variable that names the language to use instead of the
// system's: "en" (or "C") keeps English, "es" asks for Spanish.
inline constexpr char kLanguageVariable[] = "TESSEL_LANGUAGE";

// Installs the program's translation for the user's language, and Qt's own
// (buttons, file dialogs, command-line help) when the system has it. Call it
// once, right after the application object is made and before any text is
// built. Returns the language installed, empty when the program speaks English.
QString installTranslations();

} // namespace tessel
