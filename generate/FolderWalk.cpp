#include "generate/FolderWalk.h"

#include "generate/FolderFiles.h"
#include "generate/FolderTreeWalk.h"
#include "platform/FileKinds.h"
#include "platform/FileNames.h"
#include "platform/NameCollation.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The folder part of a path: everything up to and including its last "/"; empty without one.
QString folderPart(const QString &path)
{
    return path.first(path.lastIndexOf(QLatin1Char('/')) + 1);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

bool matchesNamePattern(QByteArrayView name, QByteArrayView pattern)
{
    // "*" followed by plain text (such as "*.url") asks only how the name ends. Asked for
    // every entry of every folder, so the pattern is looked at with plain loops.
    const auto isWildcard = [](char c) { return c == '*' || c == '?'; };
    if (!pattern.isEmpty() && pattern[0] == '*' &&
        std::none_of(pattern.begin() + 1, pattern.end(), isWildcard)) {
        const qsizetype length = pattern.size() - 1;
        if (name.size() < length)
            return false;
        const char *tail = name.data() + name.size() - length;
        for (qsizetype i = 0; i < length; ++i) {
            if (asciiLower(tail[i]) != asciiLower(pattern[i + 1]))
                return false;
        }
        return true;
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
    const FolderFiles files(folder, textToFileName(Mask.sliced(folder.size())), Kinds);
    for (const FolderFiles::Entry &entry : files.entries())
        List.append(folder + entry.name);
    NameCollation::system().sortUnique(List);
}

void GetSubFolderList(const QString &Folder, QStringList &List)
{
    // Read for its sub-folders only.
    const FolderFiles folder(folderPart(Folder), QByteArrayView(), {}, &List);
}

void GetFolderTree(const QString &Folder, QStringList &List)
{
    FolderTreeWalk walk(Folder, QByteArrayView(), {});
    while (std::optional<FolderTreeWalk::Folder> folder = walk.next())
        List.append(std::move(folder->path));
}
