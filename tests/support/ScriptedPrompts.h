// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>
#include <optional>

namespace tessel::test {

// Records every question and answers it from a script. A question with no
// scripted answer left is a test failure: the code asked more than expected.
class ScriptedPrompts final : public Prompts
{
public:
    enum class Kind { Message, Input, Save, Open, Folder, Progress };

    struct Call
    {
        Kind kind;
        QString text; // message text, input prompt or save title
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString defaultText; // input only
        SaveRequest save; // save only
        OpenRequest open; // open only
        FolderRequest folder; // folder only
        QString snapshotPath = {}; // input only
        QString note = {}; // input only
    };

    // Answers, consumed in the order the questions come, one queue per kind.
    void answerMessage(Answer answer) { m_messages.enqueue(answer); }
    void answerInput(const QString& text) { m_inputs.enqueue({Answer::Ok, text}); }
    // Cancel, Skip or Stop.
    void answerInput(Answer answer) { m_inputs.enqueue({answer, {}}); }
    void answerSave(const QString& path) { m_saves.enqueue(path); }
    void cancelSave() { m_saves.enqueue(std::nullopt); }
    void answerOpen(const QString& path) { m_opens.enqueue(path); }
    void cancelOpen() { m_opens.enqueue(std::nullopt); }
    void answerFolder(const QString& path) { m_folders.enqueue(path); }
    void cancelFolder() { m_folders.enqueue(std::nullopt); }
    // A job with a progress bar runs to its end on the caller's thread,
    // unless a cancel was queued for it: then it is asked to stop first.
    void cancelProgress() { m_cancels.enqueue(true); }

    // Runs while a question is open, as if the user looked at the screen then.
    void onQuestion(std::function<void(const Call&)> hook) { m_hook = std::move(hook); }

    const QList<Call>& calls() const { return m_calls; }
    const Call& last() const { return m_calls.constLast(); }
    int count(Kind kind) const;
    bool allAnswered() const;
    void clear();

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    InputAnswer input(const InputRequest& request) override;
    std::optional<QString> saveFileName(const SaveRequest& request) override;
    std::optional<QString> openFileName(const OpenRequest& request) override;
    std::optional<QString> folderName(const FolderRequest& request) override;
    bool runWithProgress(const ProgressRequest& request,
                         const std::function<void(Progress&)>& job) override;

private:
    void record(const Call& call);

    QList<Call> m_calls;
    QQueue<Answer> m_messages;
    QQueue<InputAnswer> m_inputs;
    QQueue<std::optional<QString>> m_saves;
    QQueue<std::optional<QString>> m_opens;
    QQueue<std::optional<QString>> m_folders;
    QQueue<bool> m_cancels;
    std::function<void(const Call&)> m_hook;
};

} // namespace tessel::test
