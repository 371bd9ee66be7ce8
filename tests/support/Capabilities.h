// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel::test {

// Root passes permission checks through the file capabilities; without them
// it meets the mode bits like anyone. Irreversible: only for a child
// process. False where this cannot be done.
bool dropFileCapabilities();

} // namespace tessel::test
