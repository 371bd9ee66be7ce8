// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Background.h"

#include <QSemaphore>

#include <memory>

namespace tessel::test {

// Holds every thread of the background pool until released: background
// work queued meanwhile runs only after the test has set the stage.
class PoolBlocker
{
public:
    PoolBlocker()
        : m_count(backgroundPool().maxThreadCount())
    {
        auto started = std::make_shared<QSemaphore>();
        for (int i = 0; i < m_count; ++i) {
            backgroundPool().start([gate = m_gate, started] {
                started->release();
                gate->acquire();
            });
        }
        started->acquire(m_count);
    }
    ~PoolBlocker() { release(); }
    PoolBlocker(const PoolBlocker&) = delete;
    PoolBlocker& operator=(const PoolBlocker&) = delete;

    void release()
    {
        m_gate->release(m_count);
        m_count = 0;
    }

private:
    int m_count;
    std::shared_ptr<QSemaphore> m_gate = std::make_shared<QSemaphore>();
};

} // namespace tessel::test
