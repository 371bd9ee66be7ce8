// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InstanceGuard.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace tessel::test {

// An instance check with a fixed answer; startedAgain stands for a later
// start giving way.
class FixedGuard final : public InstanceGuard
{
public:
    explicit FixedGuard(bool alone = true)
        : m_alone(alone)
    { }
    bool tryAcquire() override { return m_alone; }
    void onStartedAgain(std::function<void()> handler) override
    {
        startedAgain = std::move(handler);
    }

    std::function<void()> startedAgain;

private:
    bool m_alone;
};

// Leaves no window behind for the next test.
inline void deleteAllWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows << window;
    qDeleteAll(windows); // a window may take others with it; the guards go null
}

} // namespace tessel::test
