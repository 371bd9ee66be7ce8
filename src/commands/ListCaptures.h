// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SnapshotEntry.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace tessel {

class SnapshotList;

// Where the list is kept outside the window: the compilation files it was
// saved to or opened from, and the images built from it, each with the
// entries it holds. The list has unsaved changes when it has entries and no
// such file holds them as they are, so going back to a kept list by undo,
// or by renaming an entry back, leaves nothing unsaved.
class ListCaptures final : public QObject
{
    Q_OBJECT

public:
    explicit ListCaptures(const SnapshotList& list, QObject* parent = nullptr);

    // The compilation last saved or opened, the window's document; empty
    // for none (at start and after New).
    QString compilation() const { return m_compilation; }
    // Its file name without the compilations' extension.
    QString compilationName() const;
    void setCompilation(const QString& path);

    // The list as it is now was written to, or read from, the compilation
    // file, which becomes the document.
    void compilationHolds(const QString& path);
    // The list as it is now was built into the image file.
    void imageHolds(const QString& path);

    bool hasUnsavedChanges() const;

signals:
    // The document, or whether the list has unsaved changes, may differ.
    void changed();

private:
    void hold(const QString& path);

    const SnapshotList& m_list;
    // A file written again holds only its latest list.
    QHash<QString, SnapshotEntries> m_held;
    QString m_compilation;
};

} // namespace tessel
