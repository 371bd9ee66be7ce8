// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

class FolderBrowser;
class Prompts;
struct Session;

// Start-up after the single-instance check: an empty list, the working
// folder made current (and made when missing), the first run's defaults, and
// the browser back on the folder shown last. Any failure ends it silently.
void startUp(Session& session, FolderBrowser& browser);

// What the browser cannot show is told through the prompts, before the
// browser goes on.
void tellFolderProblems(FolderBrowser& browser, Prompts& prompts);

} // namespace tessel
