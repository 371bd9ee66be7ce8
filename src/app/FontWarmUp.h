// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace tessel {

// Reads the system's font configuration on a second core while the
// application connects to the display. Read on the window's thread, when
// the first caption is measured, it took about a fifth of the time to the
// window's first appearance. Where Qt does not use fontconfig this does
// nothing. Must end (join) before any font is used.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp() { join(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    void join();

private:
    std::thread m_thread;
};

} // namespace tessel
