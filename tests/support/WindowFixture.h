// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FakeVolumes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/WindowTesting.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QTemporaryDir>

#include <optional>

namespace tessel::test {

// What every window test starts from: a kit in a temporary folder, the main
// window over it with scripted prompts, a launcher that starts nothing, one
// volume, and no other instance. Leaves no window and no current folder
// behind.
class WindowFixture
{
public:
    // The kit: its tessel.ini holds `ini` (by default a first run with the
    // demo kit's two offsets), and flash/ and snaps/ are made. The window
    // asks through `asks` when given (real dialogs), else through `prompts`.
    explicit WindowFixture(const QByteArray& ini = defaultIni(), Prompts* asks = nullptr);
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    static QByteArray defaultIni();

    // A path inside the kit folder, and one in the temporary folder beside it.
    QString kit(const QString& relative = {}) const;
    QString beside(const QString& relative = {}) const
    {
        return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
    }
    bool isValid() const { return m_dir.isValid(); }

    // A new window, started up and shown; an old one goes first (a restart).
    // False when start-up refused or the window never showed.
    [[nodiscard]] bool start();
    // A new window, neither started up nor shown, for tests that do either
    // themselves; `other` stands in for the fixture's guard.
    MainWindow& create(InstanceGuard* other = nullptr);
    // Closes the window, as the program's end does.
    void stop();
    MainWindow& window() { return *m_window; }

    // A control or menu item of the window, by object name.
    template <typename T> T* control(const char* name) const
    {
        return m_window->findChild<T*>(QLatin1String(name));
    }
    void trigger(const char* action) const { control<QAction>(action)->trigger(); }

    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    FakeVolumes volumes;
    FixedGuard guard;

private:
    Prompts& m_asks;
    QString m_cwd;
    QTemporaryDir m_dir;
    std::optional<MainWindow> m_window;
};

} // namespace tessel::test
