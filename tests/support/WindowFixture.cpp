// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowFixture.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QTest>

namespace tessel::test {

WindowFixture::WindowFixture(const QByteArray& ini, Prompts* asks)
    : m_asks(asks ? *asks : prompts)
    , m_cwd(QDir::currentPath())
{
    QDir().mkpath(kit(QStringLiteral("flash")));
    QDir().mkpath(kit(QStringLiteral("snaps")));
    writeFile(kit(QStringLiteral("tessel.ini")), ini);
    volumes.add(QStringLiteral("/"));
}

WindowFixture::~WindowFixture()
{
    stop();
    deleteAllWindows();
    QDir::setCurrent(m_cwd);
}

QByteArray WindowFixture::defaultIni()
{
    return "[tessel]\nstart=0\nDireccionNombres=8192\nDireccionRegistros=8448\n";
}

QString WindowFixture::kit(const QString& relative) const
{
    return relative.isEmpty() ? m_dir.filePath(QStringLiteral("kit"))
                              : m_dir.filePath(QStringLiteral("kit/") + relative);
}

MainWindow& WindowFixture::create(InstanceGuard* other)
{
    stop();
    m_window.emplace(Kit(kit()), m_asks, other ? *other : guard, launcher, volumes);
    return *m_window;
}

bool WindowFixture::start()
{
    create();
    if (!m_window->startUp())
        return false;
    m_window->show();
    return QTest::qWaitForWindowExposed(&*m_window);
}

void WindowFixture::stop()
{
    m_window.reset();
}

} // namespace tessel::test
