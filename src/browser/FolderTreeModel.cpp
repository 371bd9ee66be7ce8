// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderTreeModel.h"

#include "core/Files.h"

#include <QAbstractFileIconProvider>

#include <optional>
#include <utility>

namespace tessel {

namespace {

QString childPath(const QString& parent, const QString& name)
{
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

// The folder names from root down to path; nothing when path is not below root.
std::optional<QStringList> components(const QString& root, const QString& path)
{
    if (root.isEmpty())
        return std::nullopt;
    if (path.compare(root, kPathCase) == 0)
        return QStringList();
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    if (!path.startsWith(prefix, kPathCase))
        return std::nullopt;
    return path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

} // namespace

struct FolderTreeModel::Node
{
    quint64 id = 0;
    QString name;
    QString path;
    bool exactName = true;
    Node* parent = nullptr;
    int row = 0;
    bool read = false; // its subfolders are in the rows
    FolderListings::Hold listing; // taken when its rows are first asked for
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(FolderListings& listings, QObject* parent)
    : QAbstractItemModel(parent)
    , m_listings(listings)
{
    setRootPath({});
}

FolderTreeModel::~FolderTreeModel()
{
    forget(m_root.get());
}

void FolderTreeModel::setRootPath(const QString& root)
{
    beginResetModel();
    if (m_root)
        forget(m_root.get());
    m_root = std::make_unique<Node>();
    m_root->id = m_nextId++;
    m_root->path = root;
    m_root->read = root.isEmpty();
    m_nodes.insert(m_root->id, m_root.get());
    m_rootPath = root;
    m_wanted.clear();
    endResetModel();
    if (!m_root->read)
        startRead(m_root.get());
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex FolderTreeModel::indexOf(const Node* node) const
{
    if (!node || node == m_root.get())
        return {};
    return createIndex(node->row, 0, node);
}

FolderTreeModel::Node* FolderTreeModel::find(const QString& path) const
{
    const std::optional<QStringList> parts = components(m_rootPath, path);
    if (!parts)
        return nullptr;
    Node* node = m_root.get();
    for (const QString& part : *parts) {
        Node* next = nullptr;
        for (const auto& child : node->children) {
            if (child->name.compare(part, kPathCase) == 0) {
                next = child.get();
                break;
            }
        }
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

QModelIndex FolderTreeModel::index(const QString& path) const
{
    return indexOf(find(path));
}

QString FolderTreeModel::filePath(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node ? node->path : QString();
}

QString FolderTreeModel::fileName(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->name : QString();
}

std::unique_ptr<FolderTreeModel::Node> FolderTreeModel::makeNode(Node* parent,
                                                                 const FolderEntry& entry)
{
    auto node = std::make_unique<Node>();
    node->id = m_nextId++;
    node->name = entry.name;
    node->exactName = entry.exactName;
    node->path = childPath(parent->path, entry.name);
    node->parent = parent;
    m_nodes.insert(node->id, node.get());
    return node;
}

// Before a node goes: nothing of it stays held.
void FolderTreeModel::forget(Node* node)
{
    for (const auto& child : node->children)
        forget(child.get());
    node->listing.release();
    m_nodes.remove(node->id);
}

void FolderTreeModel::startRead(Node* node)
{
    if (node->listing.isHeld())
        return;
    node->listing = m_listings.hold(
        node->path, false,
        [this, id = node->id](const FolderListings::Update& update) { onListed(id, update); });
}

void FolderTreeModel::onListed(quint64 id, const FolderListings::Update& update)
{
    Node* node = m_nodes.value(id);
    if (!node)
        return;
    if (!update.first) {
        apply(node, update.folderChanges);
        return;
    }
    // Set before the rows come: views may ask for more meanwhile.
    const bool wasRead = std::exchange(node->read, true);
    // A folder that cannot be read, or is gone, has no subfolders to show.
    if (node->children.empty()) {
        if (!update.contents.folders.isEmpty())
            apply(node, {{0, 0, update.contents.folders}});
    } else {
        QList<FolderEntry> before;
        for (const auto& child : node->children)
            before.append({child->name, child->exactName});
        apply(node, diffListings(before, update.contents.folders, NameOrder()));
    }
    if (wasRead)
        return;
    // Views keep the expand arrow they drew until the layout changes.
    if (node->children.empty() && node != m_root.get()) {
        const QPersistentModelIndex index = indexOf(node);
        emit layoutAboutToBeChanged({index});
        emit layoutChanged({index});
    }
    emit directoryLoaded(node->path);
    continueLoad();
}

void FolderTreeModel::apply(Node* node, const QList<ListingChange>& changes)
{
    const QModelIndex parent = indexOf(node);
    auto renumber = [node](int from) {
        for (int i = from; i < int(node->children.size()); ++i)
            node->children[size_t(i)]->row = i;
    };
    for (const ListingChange& change : changes) {
        const auto at = node->children.begin() + change.row;
        if (change.removed > 0) {
            beginRemoveRows(parent, change.row, change.row + change.removed - 1);
            for (auto it = at; it != at + change.removed; ++it)
                forget(it->get());
            node->children.erase(at, at + change.removed);
            renumber(change.row);
            endRemoveRows();
        } else if (!change.inserted.isEmpty()) {
            beginInsertRows(parent, change.row, change.row + int(change.inserted.size()) - 1);
            std::vector<std::unique_ptr<Node>> fresh;
            fresh.reserve(size_t(change.inserted.size()));
            for (const FolderEntry& entry : change.inserted)
                fresh.push_back(makeNode(node, entry));
            node->children.insert(at, std::make_move_iterator(fresh.begin()),
                                  std::make_move_iterator(fresh.end()));
            renumber(change.row);
            endInsertRows();
        }
    }
}

void FolderTreeModel::loadPath(const QString& path)
{
    m_wanted = path;
    continueLoad();
}

void FolderTreeModel::continueLoad()
{
    if (m_wanted.isEmpty())
        return;
    const std::optional<QStringList> parts = components(m_rootPath, m_wanted);
    if (!parts) {
        m_wanted.clear();
        return;
    }
    Node* node = m_root.get();
    for (const QString& part : *parts) {
        if (!node->read) {
            startRead(node); // continued when it is in
            return;
        }
        Node* next = nullptr;
        for (const auto& child : node->children) {
            if (child->name.compare(part, kPathCase) == 0) {
                next = child.get();
                break;
            }
        }
        if (!next) { // hidden, or gone
            m_wanted.clear();
            return;
        }
        node = next;
    }
    emit pathLoaded(std::exchange(m_wanted, QString()));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOf(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent)
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return nodeOf(index)->name;
    case Qt::DecorationRole:
        if (!m_iconMade) {
            m_folderIcon = QAbstractFileIconProvider().icon(QAbstractFileIconProvider::Folder);
            m_iconMade = true;
        }
        return m_folderIcon;
    default:
        return {};
    }
}

// A folder whose name is not valid text cannot be opened by its shown name.
Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !nodeOf(index)->exactName)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

// Until a folder is read it may have subfolders.
bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    const Node* node = nodeOf(parent);
    return !node->read || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return !node->read && !node->listing.isHeld();
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    Node* node = nodeOf(parent);
    if (!node->read)
        startRead(node);
}

} // namespace tessel
