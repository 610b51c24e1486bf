// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderTreeWatch.h"

#include "platform/FileNames.h"
#include "platform/PosixFile.h"
#include "sources/FolderFiles.h"
#include "sources/FolderTreeWalk.h"
#include "sources/PathText.h"

#include <QHash>

#include <cerrno>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Identity = std::pair<quint64, quint64>;

constexpr QByteArrayView ShortcutPattern = "*.url";

// Whether a name is one the listing takes for a shortcut file ("*.url", ASCII case ignored).
bool isShortcutName(const QByteArray &name)
{
    return name.size() >= 4 &&
           QByteArrayView(name).last(4).compare(".url", Qt::CaseInsensitive) == 0;
}

// The last name of a folder path ending with "/".
QString lastName(const QString &folderPath)
{
    const qsizetype end = folderPath.size() - 1;
    return folderPath.mid(folderPath.lastIndexOf(QLatin1Char('/'), end - 1) + 1,
                          end - folderPath.lastIndexOf(QLatin1Char('/'), end - 1) - 1);
}

Identity identityOf(const struct stat &status)
{
    return {quint64(status.st_dev), quint64(status.st_ino)};
}

FolderTreeWatch::Stamp stampOf(const struct stat &status)
{
    FolderTreeWatch::Stamp stamp;
    stamp.inode = quint64(status.st_ino);
    stamp.size = qint64(status.st_size);
    stamp.modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.changed = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return stamp;
}

// The held tree in pre-order, as FolderSource gives a tree.
class TreeSnapshot final : public LinkSource
{
public:
    explicit TreeSnapshot(const FolderTreeWatch::Node &top) : m_top(top) {}

    int folderCount() override { return count(m_top); }

    const Folder *nextFolder() override
    {
        m_nextFile = 0;
        if (!m_started) {
            m_started = true;
            m_path.push_back({&m_top, 0});
        } else {
            for (;;) {
                if (m_path.empty())
                    return nullptr;
                Level &level = m_path.back();
                if (level.nextChild < level.node->children.size()) {
                    m_path.push_back({level.node->children[level.nextChild++].get(), 0});
                    break;
                }
                m_path.pop_back();
            }
        }
        const FolderTreeWatch::Node &node = *m_path.back().node;
        m_folder.path = node.names;
        m_folder.modified = node.modified;
        return &m_folder;
    }

    bool nextLink(Link &link) override
    {
        if (m_path.empty())
            return false;
        const auto &files = m_path.back().node->files;
        if (m_nextFile >= files.size())
            return false;
        link = files[m_nextFile++].link;
        return true;
    }

    QString readWarning() const override
    {
        std::map<int, int> unreadable;
        collect(m_top, unreadable);
        return unreadableFoldersLine(unreadable);
    }

private:
    struct Level
    {
        const FolderTreeWatch::Node *node;
        size_t nextChild;
    };

    static int count(const FolderTreeWatch::Node &node)
    {
        int n = 1;
        for (const auto &child : node.children)
            n += count(*child);
        return n;
    }
    static void collect(const FolderTreeWatch::Node &node, std::map<int, int> &unreadable)
    {
        if (node.error != 0)
            ++unreadable[node.error];
        for (const auto &child : node.children)
            collect(*child, unreadable);
    }

    const FolderTreeWatch::Node &m_top;
    std::vector<Level> m_path;
    bool m_started = false;
    Folder m_folder;
    size_t m_nextFile = 0;
};

} // namespace

FolderTreeWatch::FolderTreeWatch(const QString &root) : m_root(EnsureTrailingBackslash(root))
{
    const QString withoutSlash = m_root.size() > 1 ? m_root.chopped(1) : m_root;
    m_rootName = textToFileName(withoutSlash.mid(withoutSlash.lastIndexOf(QLatin1Char('/')) + 1));
}

FolderTreeWatch::~FolderTreeWatch() = default;

void FolderTreeWatch::release(FileWatcher &watcher)
{
    if (m_top)
        dropNode(*m_top, watcher);
    m_byWatch.clear();
    watcher.unwatch(m_parentWatch);
    m_parentWatch = -1;
}

bool FolderTreeWatch::rootExists() const
{
    struct stat status;
    return ::stat(textToFileName(m_root).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool FolderTreeWatch::load(FileWatcher &watcher, QString &error)
{
    error.clear();
    if (m_top)
        dropNode(*m_top, watcher);
    m_byWatch.clear();
    m_identities.clear();
    if (m_parentWatch < 0 && m_root != QLatin1String("/")) {
        const QString withoutSlash = m_root.chopped(1);
        const qsizetype slash = withoutSlash.lastIndexOf(QLatin1Char('/'));
        const QString parent = slash < 0 ? QStringLiteral(".") : withoutSlash.first(slash + 1);
        bool limit = false;
        m_parentWatch = watcher.watchFolder(textToFileName(parent), &limit);
        m_limitReached = m_limitReached || limit;
    }
    m_top = std::make_unique<Node>();
    m_top->path = m_root;
    struct stat status;
    if (::stat(textToFileName(m_root).constData(), &status) == 0) {
        m_top->identity = identityOf(status);
        m_identities.insert(m_top->identity);
    }
    loadNode(*m_top, watcher);
    m_rootSeen = rootExists();
    m_reloadAll = false;
    m_checkAll = false;
    return true;
}

void FolderTreeWatch::watchNode(Node &node, FileWatcher &watcher)
{
    bool limit = false;
    node.watch = watcher.watchFolder(textToFileName(node.path), &limit);
    if (limit)
        m_limitReached = true;
    if (node.watch < 0)
        return;
    // The same folder watched again (it came back under another name before its old place
    // was dropped) shares the watch: the newest holder keeps it.
    const auto it = m_byWatch.find(node.watch);
    if (it != m_byWatch.end() && it->second != &node) {
        it->second->watch = -1;
        watcher.unwatch(node.watch);
    }
    m_byWatch[node.watch] = &node;
}

void FolderTreeWatch::loadNode(Node &node, FileWatcher &watcher)
{
    // A stop asked for while a large tree is first read ends the reading; the tree is not used.
    if (FileWatcher::stopRequested())
        return;
    // Watched before it is listed, so that nothing changed in between goes unseen.
    watchNode(node, watcher);
    const int fd = FolderFiles::open(node.path);
    node.error = fd < 0 && errno != ENOENT ? errno : 0;
    struct stat status;
    const bool known = fd >= 0 ? ::fstat(fd, &status) == 0
                               : ::stat(textToFileName(node.path).constData(), &status) == 0;
    node.modified = known ? qint64(status.st_mtim.tv_sec) : 0;
    QStringList subFolders;
    const FolderFiles listing(node.path, fd, ShortcutPattern, AllFileKinds, &subFolders);
    node.files.clear();
    node.files.reserve(listing.entries().size());
    for (const FolderFiles::Entry &entry : listing.entries()) {
        File file{QByteArray(entry.nativeName), entry.name, {}, {}};
        readFile(listing.fd(), file);
        node.files.push_back(std::move(file));
    }
    node.children.clear();
    for (const QString &sub : std::as_const(subFolders)) {
        struct stat childStatus;
        const Identity identity = ::stat(textToFileName(sub).constData(), &childStatus) == 0
                                      ? identityOf(childStatus)
                                      : Identity{0, 0};
        if (std::unique_ptr<Node> child = newChild(node, sub, identity, watcher))
            node.children.push_back(std::move(child));
    }
}

std::unique_ptr<FolderTreeWatch::Node>
FolderTreeWatch::newChild(Node &node, const QString &path, Identity identity, FileWatcher &watcher)
{
    if (identity != Identity{0, 0}) {
        if (m_identities.contains(identity))
            return nullptr;
        m_identities.insert(identity);
    }
    auto child = std::make_unique<Node>();
    child->path = path;
    child->names = node.names;
    child->names.append(nameLine(lastName(path)));
    child->parent = &node;
    child->identity = identity;
    loadNode(*child, watcher);
    m_changed = true;
    return child;
}

void FolderTreeWatch::readFile(int folderFd, File &file)
{
    ++m_filesRead;
    m_changed = true;
    file.link = Link();
    file.link.title = nameLine(ShortcutTitle(file.name));
    struct stat status;
    if (::fstatat(folderFd, file.nativeName.constData(), &status, 0) != 0) {
        file.stamp = Stamp();
        file.link.present = false;
        return;
    }
    file.stamp = stampOf(status);
    m_reader.reset();
    file.link.present = m_reader.read(file.nativeName.constData(), folderFd);
    if (file.link.present)
        ShortcutReader::fillLink(m_reader.valueViews(), file.link);
}

void FolderTreeWatch::dropNode(Node &node, FileWatcher &watcher)
{
    for (const std::unique_ptr<Node> &child : node.children)
        dropNode(*child, watcher);
    if (node.watch >= 0) {
        const auto it = m_byWatch.find(node.watch);
        if (it != m_byWatch.end() && it->second == &node) {
            m_byWatch.erase(it);
            watcher.unwatch(node.watch);
        }
        node.watch = -1;
    }
    if (node.identity != Identity{0, 0})
        m_identities.remove(node.identity);
    m_changed = true;
}

bool FolderTreeWatch::mayBeFolder(const Node &node, const QByteArray &name) const
{
    if (name.startsWith('.'))
        return false;
    const QString path = node.path + fileNameToText(name) + QLatin1Char('/');
    for (const std::unique_ptr<Node> &child : node.children) {
        if (child->path == path)
            return true;
    }
    struct stat status;
    return ::stat(textToFileName(path.chopped(1)).constData(), &status) == 0 &&
           S_ISDIR(status.st_mode);
}

bool FolderTreeWatch::take(const FileWatcher::Event &event)
{
    if (event.watch >= 0 && event.watch == m_parentWatch) {
        if (event.change == FileWatcher::Change::Gone) {
            // The folder above the root went: its watch is over, and only a look from time to
            // time finds the root again.
            m_parentWatch = -1;
            m_limitReached = true;
            return true;
        }
        if (event.name != m_rootName)
            return false;
        if (event.change == FileWatcher::Change::Created)
            m_reloadAll = true;
        return true;
    }
    const auto it = m_byWatch.find(event.watch);
    if (it == m_byWatch.end())
        return false;
    Node &node = *it->second;
    if (event.change == FileWatcher::Change::Gone) {
        m_byWatch.erase(it);
        node.watch = -1;
        // The root gone is the source gone; any other folder is seen to go from its parent.
        return &node == m_top.get();
    }
    if (event.name.isEmpty()) // a change to the watched folder itself
        return false;
    if (isShortcutName(event.name) && !event.folder) {
        if (event.change == FileWatcher::Change::Changed)
            node.changedFiles.insert(event.name);
        else
            node.relist = true;
        return true;
    }
    if (event.folder ? !event.name.startsWith('.') : mayBeFolder(node, event.name)) {
        node.relist = true;
        return true;
    }
    return false;
}

bool FolderTreeWatch::refresh(FileWatcher &watcher, QString &error, bool &changed)
{
    error.clear();
    m_changed = false;
    if (!rootExists()) {
        changed = false;
        if (m_rootSeen) {
            error = QStringLiteral("the folder is no longer there");
            return false;
        }
        return true;
    }
    if (m_reloadAll || !m_rootSeen || !m_top) {
        load(watcher, error);
        changed = true;
        return true;
    }
    refreshFiles(*m_top, watcher, m_checkAll);
    addFolders(*m_top, watcher);
    m_checkAll = false;
    changed = m_changed;
    return true;
}

void FolderTreeWatch::refreshFiles(Node &node, FileWatcher &watcher, bool checkAll)
{
    if (node.relist || checkAll)
        relistNode(node, watcher);
    else if (!node.changedFiles.isEmpty())
        readChangedFiles(node);
    for (const std::unique_ptr<Node> &child : node.children)
        refreshFiles(*child, watcher, checkAll);
}

void FolderTreeWatch::readChangedFiles(Node &node)
{
    const QSet<QByteArray> changed = std::exchange(node.changedFiles, {});
    const int fd = FolderFiles::open(node.path);
    if (fd < 0)
        return;
    for (File &file : node.files) {
        if (changed.contains(file.nativeName))
            readFile(fd, file);
    }
    ::close(fd);
}

void FolderTreeWatch::relistNode(Node &node, FileWatcher &watcher)
{
    node.relist = false;
    const QSet<QByteArray> changed = std::exchange(node.changedFiles, {});
    const int fd = FolderFiles::open(node.path);
    node.error = fd < 0 && errno != ENOENT ? errno : 0;
    struct stat status;
    if (fd >= 0 && ::fstat(fd, &status) == 0)
        node.modified = qint64(status.st_mtim.tv_sec);
    QStringList subFolders;
    const FolderFiles listing(node.path, fd, ShortcutPattern, AllFileKinds, &subFolders);

    QHash<QByteArray, File *> old;
    for (File &file : node.files)
        old.insert(file.nativeName, &file);
    std::vector<File> files;
    files.reserve(listing.entries().size());
    bool same = listing.entries().size() == node.files.size();
    for (const FolderFiles::Entry &entry : listing.entries()) {
        const QByteArray name(entry.nativeName);
        File *before = old.value(name);
        struct stat fileStatus;
        if (before && !changed.contains(name) &&
            ::fstatat(listing.fd(), entry.nativeName, &fileStatus, 0) == 0 &&
            stampOf(fileStatus) == before->stamp) {
            same = same && &node.files[files.size()] == before;
            files.push_back(std::move(*before));
            continue;
        }
        same = false;
        File file{name, entry.name, {}, {}};
        readFile(listing.fd(), file);
        files.push_back(std::move(file));
    }
    if (!same)
        m_changed = true;
    node.files = std::move(files);

    // The sub-folders: those still there as the same folder are kept; the others go now, and
    // the new ones come in the second step.
    node.listedFolders.clear();
    for (const QString &sub : std::as_const(subFolders)) {
        struct stat childStatus;
        node.listedFolders.push_back(
            {sub, ::stat(textToFileName(sub).constData(), &childStatus) == 0
                      ? identityOf(childStatus)
                      : Identity{0, 0}});
    }
    node.listed = true;
    std::vector<std::unique_ptr<Node>> kept;
    for (std::unique_ptr<Node> &child : node.children) {
        bool stays = false;
        for (const auto &[path, identity] : node.listedFolders)
            stays = stays || (path == child->path && identity == child->identity);
        if (stays)
            kept.push_back(std::move(child));
        else
            dropNode(*child, watcher);
    }
    node.children = std::move(kept);
}

void FolderTreeWatch::addFolders(Node &node, FileWatcher &watcher)
{
    if (node.listed) {
        node.listed = false;
        std::vector<std::unique_ptr<Node>> children;
        for (const auto &[path, identity] : node.listedFolders) {
            std::unique_ptr<Node> child;
            for (size_t i = 0; i < node.children.size(); ++i) {
                if (node.children[i] && node.children[i]->path == path) {
                    // Kept folders in another order (as the file system now gives them)
                    // change the page too.
                    if (i != children.size())
                        m_changed = true;
                    child = std::move(node.children[i]);
                    break;
                }
            }
            if (!child)
                child = newChild(node, path, identity, watcher);
            if (child)
                children.push_back(std::move(child));
        }
        node.listedFolders.clear();
        node.children = std::move(children);
    }
    for (const std::unique_ptr<Node> &child : node.children)
        addFolders(*child, watcher);
}

std::unique_ptr<LinkSource> FolderTreeWatch::snapshot() const
{
    return std::make_unique<TreeSnapshot>(*m_top);
}
