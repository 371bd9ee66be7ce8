// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace tessel {

// A long job's share done and the user's wish to stop it, shared between the
// thread that does the job and the one that shows it.
class Progress
{
public:
    // From 0 to 1; the job says how far it got.
    void report(double done) { m_permille.store(static_cast<int>(done * 1000 + 0.5)); }
    double done() const { return m_permille.load() / 1000.0; }

    // The one who shows the job asks it to stop; the job looks often.
    void cancel() { m_cancelled.store(true); }
    bool cancelled() const { return m_cancelled.load(); }

private:
    std::atomic<int> m_permille{0};
    std::atomic<bool> m_cancelled{false};
};

} // namespace tessel
