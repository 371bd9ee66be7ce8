// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/FolderListings.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>

#include <memory>
#include <vector>

namespace tessel {

// The folder tree: the subfolders of a root folder (a drive's), and theirs
// as the user opens them. Each folder's rows come from its shared listing,
// taken when its rows are first asked for; folders made or removed on disk
// come and go row by row. A folder read and found empty has no children.
class FolderTreeModel final : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit FolderTreeModel(FolderListings& listings, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The folder whose subfolders are the top rows; read at once.
    void setRootPath(const QString& root);
    QString rootPath() const { return m_rootPath; }

    // The row of a folder below the root. Invalid for the root itself and
    // for a folder whose parent has not been read yet.
    QModelIndex index(const QString& path) const;
    using QAbstractItemModel::index;
    QString filePath(const QModelIndex& index) const;
    QString fileName(const QModelIndex& index) const;

    // Reads the folders on the way from the root to path, one after the
    // other; pathLoaded follows once path has its row. A later call replaces
    // an earlier one.
    void loadPath(const QString& path);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The subfolders of path are in the rows, the first time it is read.
    void directoryLoaded(const QString& path);
    void pathLoaded(const QString& path);

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node) const;
    Node* find(const QString& path) const;
    std::unique_ptr<Node> makeNode(Node* parent, const FolderEntry& entry);
    void forget(Node* node);
    void startRead(Node* node);
    void onListed(quint64 id, const FolderListings::Update& update);
    void apply(Node* node, const QList<ListingChange>& changes);
    void continueLoad();

    FolderListings& m_listings;
    QString m_rootPath;
    std::unique_ptr<Node> m_root;
    QHash<quint64, Node*> m_nodes; // every live node by id: a late read finds its own
    quint64 m_nextId = 1;
    QString m_wanted; // where loadPath is heading
    mutable QIcon m_folderIcon; // made on first use
    mutable bool m_iconMade = false;
};

} // namespace tessel
