// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/TrainerChoice.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessel {

class Kit;
class Prompts;

// Edit > Trainers...: the trainers found for an entry's snapshot (or in a
// trainer file the user opens), each with a check box. Trainers that cannot
// be used are greyed with the reason; one whose original bytes differ from
// the snapshot's says it may be for another version of the game and can
// still be chosen. Values a trainer leaves to the user are asked for when
// it is checked. The list changes only when the caller takes chosen().
class TrainersWindow final : public QDialog
{
    Q_OBJECT

public:
    TrainersWindow(const SnapshotEntry& entry, const Kit& kit, Prompts& prompts,
                   QWidget* parent = nullptr);

    QList<Trainer> chosen() const { return m_choice.chosen(); }
    QTreeWidget* trainerList() const { return m_list; }

    // Offers the trainers of a file the user picks.
    void openFile();

private:
    void fill();
    void onItemChanged(QTreeWidgetItem* item, int column);
    // What the second column says of an option.
    QString noteOf(const TrainerOption& option) const;

    TrainerChoice m_choice;
    Prompts& m_prompts;
    QString m_snapshot;
    QLabel* m_source = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_problems = nullptr;
    bool m_filling = false;
};

} // namespace tessel
