#include "generate/FolderWalk.h"

#include "generate/FolderFiles.h"
#include "platform/FileKinds.h"
#include "platform/NameCollation.h"

#include <QFile>
#include <QSet>

#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Closes a directory stream on every way out.
class DirectoryStream final
{
public:
    explicit DirectoryStream(const QByteArray &path) : m_dir(::opendir(path.constData())) {}
    ~DirectoryStream()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    DirectoryStream(const DirectoryStream &) = delete;
    DirectoryStream &operator=(const DirectoryStream &) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    dirent *next() { return ::readdir(m_dir); }
    int fd() const { return ::dirfd(m_dir); }

private:
    DIR *m_dir;
};

// The folder part of a path: everything up to and including its last "/"; empty without one.
QString folderPart(const QString &path)
{
    return path.first(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

struct FolderIdentity
{
    dev_t device;
    ino_t inode;
    bool operator==(const FolderIdentity &) const = default;
};

size_t qHash(const FolderIdentity &id, size_t seed = 0)
{
    return qHashMulti(seed, quint64(id.device), quint64(id.inode));
}

} // namespace

bool matchesNamePattern(QByteArrayView name, QByteArrayView pattern)
{
    // "*" followed by plain text (such as "*.url") asks only how the name ends.
    if (pattern.startsWith('*')) {
        const QByteArrayView ending = pattern.sliced(1);
        if (!ending.contains('*') && !ending.contains('?')) {
            if (name.size() < ending.size())
                return false;
            const QByteArrayView tail = name.last(ending.size());
            for (qsizetype i = 0; i < ending.size(); ++i) {
                if (asciiLower(tail[i]) != asciiLower(ending[i]))
                    return false;
            }
            return true;
        }
    }
    // Iterative wildcard match with one point to come back to after a "*".
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool MatchFileKinds(TFileKinds Kinds, quint32 Attributes)
{
    if (Attributes & (FileAttribute::Directory | FileAttribute::VolumeLabel))
        return false;
    if (Attributes == 0 && Kinds.testFlag(fkNormal))
        return true;
    if ((Attributes & FileAttribute::ReadOnly) && Kinds.testFlag(fkReadOnly))
        return true;
    if ((Attributes & FileAttribute::Hidden) && Kinds.testFlag(fkHidden))
        return true;
    if ((Attributes & FileAttribute::System) && Kinds.testFlag(fkSysFile))
        return true;
    if ((Attributes & FileAttribute::Archive) && Kinds.testFlag(fkArchive))
        return true;
    return false;
}

void GetFileList(const QString &Mask, TFileKinds Kinds, QStringList &List)
{
    const QString folder = folderPart(Mask);
    const FolderFiles files(folder, QFile::encodeName(Mask.sliced(folder.size())), Kinds);
    for (const FolderFiles::Entry &entry : files.entries())
        List.append(folder + entry.name);
    NameCollation::system().sortUnique(List);
}

namespace {

// Appends the sub-folders of the open folder whose path (ending with "/") is folder.
void appendSubFolders(DirectoryStream &dir, const QString &folder, QStringList &List)
{
    while (const dirent *entry = dir.next()) {
        if (isDotOrDotDot(entry->d_name) || isHiddenName(entry->d_name))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isFolder = ::fstatat(dir.fd(), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder)
            List.append(folder + QFile::decodeName(entry->d_name) + QLatin1Char('/'));
    }
}

DirectoryStream openFolderPart(const QString &folder)
{
    return DirectoryStream(QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder));
}

} // namespace

void GetSubFolderList(const QString &Folder, QStringList &List)
{
    const QString folder = folderPart(Folder);
    DirectoryStream dir = openFolderPart(folder);
    if (dir.isOpen())
        appendSubFolders(dir, folder, List);
}

void GetFolderTree(const QString &Folder, QStringList &List)
{
    // Depth first with an explicit stack, so a deep tree cannot exhaust the call stack. A folder
    // is checked against the ones walked when its turn comes, so the first path to it in walk
    // order is the one listed.
    QSet<FolderIdentity> walked;
    std::vector<QString> pending{Folder};
    while (!pending.empty()) {
        QString folder = std::move(pending.back());
        pending.pop_back();
        // A folder path ends with "/", so the folder listed is the folder itself, and the
        // status of the open folder tells who it is without looking the path up again.
        const QString part = folderPart(folder);
        DirectoryStream dir = openFolderPart(part);
        struct stat st;
        const bool known = part.size() == folder.size() && dir.isOpen()
                               ? ::fstat(dir.fd(), &st) == 0
                               : ::stat(QFile::encodeName(folder).constData(), &st) == 0;
        if (known) {
            const FolderIdentity id{st.st_dev, st.st_ino};
            if (walked.contains(id))
                continue;
            walked.insert(id);
        }
        List.append(folder);
        QStringList children;
        if (dir.isOpen())
            appendSubFolders(dir, part, children);
        for (qsizetype i = children.size() - 1; i >= 0; --i)
            pending.push_back(std::move(children[i]));
    }
}
