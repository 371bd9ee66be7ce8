// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedPrompts.h"

#include "core/Progress.h"

#include <QTest>

#include <stdexcept>

namespace tessel::test {

namespace {
[[noreturn]] void unexpected(const QString& what)
{
    const QByteArray text = (QStringLiteral("Unscripted question: ") + what).toUtf8();
    QTest::qFail(text.constData(), __FILE__, __LINE__);
    throw std::runtime_error(text.toStdString());
}
} // namespace

int ScriptedPrompts::count(Kind kind) const
{
    int n = 0;
    for (const Call& call : m_calls)
        n += call.kind == kind ? 1 : 0;
    return n;
}

bool ScriptedPrompts::allAnswered() const
{
    return m_messages.isEmpty() && m_inputs.isEmpty() && m_saves.isEmpty() && m_opens.isEmpty()
           && m_folders.isEmpty() && m_cancels.isEmpty();
}

void ScriptedPrompts::clear()
{
    m_calls.clear();
    m_messages.clear();
    m_inputs.clear();
    m_saves.clear();
    m_opens.clear();
    m_folders.clear();
    m_cancels.clear();
}

void ScriptedPrompts::record(const Call& call)
{
    m_calls.append(call);
    if (m_hook)
        m_hook(call);
}

Answer ScriptedPrompts::message(const QString& text, const QString& title, Icon icon,
                                Buttons buttons)
{
    record({Kind::Message, text, title, icon, buttons, {}, {}, {}, {}, {}});
    if (m_messages.isEmpty())
        unexpected(QStringLiteral("message \"%1\"").arg(text));
    return m_messages.dequeue();
}

InputAnswer ScriptedPrompts::input(const InputRequest& request)
{
    record({Kind::Input,
            request.prompt,
            request.title,
            Icon::None,
            request.buttons,
            request.defaultText,
            {},
            {},
            {},
            request.snapshotPath,
            request.note});
    if (m_inputs.isEmpty())
        unexpected(QStringLiteral("input \"%1\"").arg(request.prompt));
    return m_inputs.dequeue();
}

std::optional<QString> ScriptedPrompts::saveFileName(const SaveRequest& request)
{
    record({Kind::Save,
            request.title,
            request.title,
            Icon::None,
            Buttons::OkCancel,
            {},
            request,
            {},
            {},
            {}});
    if (m_saves.isEmpty())
        unexpected(QStringLiteral("save dialog \"%1\"").arg(request.title));
    return m_saves.dequeue();
}

std::optional<QString> ScriptedPrompts::openFileName(const OpenRequest& request)
{
    record({Kind::Open,
            request.title,
            request.title,
            Icon::None,
            Buttons::OkCancel,
            {},
            {},
            request,
            {},
            {}});
    if (m_opens.isEmpty())
        unexpected(QStringLiteral("open dialog \"%1\"").arg(request.title));
    return m_opens.dequeue();
}

std::optional<QString> ScriptedPrompts::folderName(const FolderRequest& request)
{
    record({Kind::Folder,
            request.title,
            request.title,
            Icon::None,
            Buttons::OkCancel,
            {},
            {},
            {},
            request,
            {}});
    if (m_folders.isEmpty())
        unexpected(QStringLiteral("folder dialog \"%1\"").arg(request.title));
    return m_folders.dequeue();
}

} // namespace tessel::test

namespace tessel::test {

bool ScriptedPrompts::runWithProgress(const ProgressRequest& request,
                                      const std::function<void(Progress&)>& job)
{
    record({Kind::Progress,
            request.text,
            request.title,
            Icon::None,
            Buttons::OkCancel,
            {},
            {},
            {},
            {},
            {}});
    Progress progress;
    if (!m_cancels.isEmpty() && m_cancels.dequeue())
        progress.cancel();
    job(progress);
    return !progress.cancelled();
}

} // namespace tessel::test
