// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// Web addresses the windows show; they are only displayed, never opened.
inline const QString kNewsPage = QStringLiteral("https://tessel-zizerev.example.org/news");
inline const QString kMakersSite = QStringLiteral("tessel-zizerev.example.org");
inline const QString kEmulatorSite = QStringLiteral("aspectrum.sourceforge.net");

} // namespace tessel
