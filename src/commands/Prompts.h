// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tessel {

class Progress;

enum class Icon { None, Information, Exclamation, Critical };
// The first button of a set is the default one, except where the name says.
// OkSkipStop is for one of many files: Skip passes over this one, Stop over
// it and the rest.
enum class Buttons { Ok, OkCancel, YesNo, YesNoDefaultNo, OkSkipStop, SaveDiscardCancel };
enum class Answer { Ok, Cancel, Yes, No, Skip, Stop, Save, Discard };

// The save dialog's options, as the export sets them before each show. The
// dialog itself never asks before replacing a file: the caller asks about
// the final name, extension added, whatever dialog the platform uses.
struct SaveRequest
{
    QString title;
    QString initialFolder;
    QString defaultExtension;
    // Qt's name filters, "Compilations (*.tessel)"; the first is selected.
    QStringList filters;
};

// An open dialog for one existing file.
struct OpenRequest
{
    QString title;
    QString initialFolder;
    QStringList filters; // as in SaveRequest
};

// A dialog that picks an existing folder.
struct FolderRequest
{
    QString title;
    QString initialFolder;
};

// The naming box's text, and the snapshot being named, whose loading screen
// a front end may show beside the prompt.
struct InputRequest
{
    QString prompt;
    QString title;
    QString defaultText;
    QString snapshotPath; // empty for none
    // What the user should know about the snapshot, shown under the name.
    QString note = {};
    Buttons buttons = Buttons::OkCancel; // OkCancel or OkSkipStop
};

// Closing the box answers Cancel, or Stop where Stop is offered.
struct InputAnswer
{
    Answer answer = Answer::Cancel;
    QString text; // empty unless answered Ok
};

// A long job the user watches and may cancel.
struct ProgressRequest
{
    QString text;
    QString title;
};

// Every question the program asks the user goes through here, so that tests
// can answer them from a script and read back what was asked. Texts keep the
// lone carriage return (code 13) between lines; a front end shows it as a
// line break, and shows everything else as plain text, never as markup.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual Answer message(const QString& text, const QString& title, Icon icon,
                           Buttons buttons) = 0;
    virtual InputAnswer input(const InputRequest& request) = 0;
    // Returns the chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const SaveRequest& request) = 0;
    // The same for an existing file to open, and for a folder.
    virtual std::optional<QString> openFileName(const OpenRequest& request) = 0;
    virtual std::optional<QString> folderName(const FolderRequest& request) = 0;
    // Runs the job on a worker thread while a progress bar with a Cancel
    // button shows what it reports; Cancel asks the job to stop through the
    // Progress it is given. Returns once the job has, false when cancelled.
    virtual bool runWithProgress(const ProgressRequest& request,
                                 const std::function<void(Progress&)>& job) = 0;
};

// The title of every message unless a command says otherwise.
inline const QString kAppTitle = QStringLiteral("Tessel Zizerev");

} // namespace tessel
