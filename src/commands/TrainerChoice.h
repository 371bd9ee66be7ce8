// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"
#include "formats/PokFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

class Kit;
class Prompts;

// One line of the Trainers window.
struct TrainerOption
{
    // As the trainer file gives it; for one chosen earlier that the file
    // does not hold, made from the chosen pokes.
    PokFileTrainer trainer;
    bool inFile = true;
    // Its original bytes are not the snapshot's.
    bool otherVersion = false;
    // With its values settled, once chosen.
    std::optional<Trainer> chosen;
};

// The trainers offered for one entry and which of them are chosen: what the
// Trainers window shows and edits. Trainers chosen earlier stay chosen when
// the file holds them (asked values kept), and are offered on their own
// when it does not, so that nothing chosen is lost by looking.
class TrainerChoice
{
public:
    // Reads the entry's source (for the originals; a tape only when it needs
    // no loading) and the trainer file beside it, when there is one.
    TrainerChoice(const SnapshotEntry& entry, const Kit* kit);

    // Offers the trainers of another file instead; chosen ones it does not
    // hold stay offered. False, changing nothing, when it cannot be read.
    bool load(const QString& pokFile, QString* error);

    const QList<TrainerOption>& options() const { return m_options; }
    QString file() const { return m_file; }
    // Why the trainer file found beside the snapshot could not be read.
    QString fileError() const { return m_fileError; }
    // The file's lines that belong to no trainer.
    const QStringList& fileProblems() const { return m_fileProblems; }

    // Chooses or drops a trainer. Choosing one that asks for values asks for
    // each, 0 to 255, refusing anything else; false, leaving it unchosen,
    // when the user cancels or the trainer cannot be used.
    bool choose(int option, bool on, Prompts& prompts);

    // The chosen trainers, in the order offered.
    QList<Trainer> chosen() const;

private:
    void offer(const PokFileContents& contents);

    QString m_path; // the snapshot's
    QByteArray m_sna; // empty when the snapshot cannot be read
    QList<TrainerOption> m_options;
    QString m_file;
    QString m_fileError;
    QStringList m_fileProblems;
};

} // namespace tessel
