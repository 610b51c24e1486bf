#include "generate/FolderFiles.h"

#include "platform/FileKinds.h"
#include "platform/NameCollation.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether the entry is listed for kinds. The entry's kind from the directory saves a status
// call where the file system gives it.
bool isListed(int dirFd, const dirent &entry, TFileKinds kinds)
{
    if (entry.d_type == DT_REG && kinds.testFlag(fkArchive))
        return true; // every regular file carries the archive bit
    if (entry.d_type == DT_DIR)
        return false;
    struct stat st;
    return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 &&
           MatchFileKinds(kinds, attributeWord(st, QByteArrayView(entry.d_name)));
}

} // namespace

FolderFiles::FolderFiles(const QString &folder, QByteArrayView pattern, TFileKinds kinds)
{
    const int fd = ::open(folder.isEmpty() ? "." : QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        ::close(fd);
        return;
    }
    std::vector<Entry> found;
    while (const dirent *entry = ::readdir(m_dir)) {
        const QByteArrayView name(entry->d_name);
        if (!matchesNamePattern(name, pattern) || !isListed(fd, *entry, kinds))
            continue;
        Entry listed{name.toByteArray(), QFile::decodeName(entry->d_name)};
        // A name that is not valid in the file-name encoding is opened as its text encodes, as
        // the full path would be.
        if (!isAscii(name))
            listed.nativeName = QFile::encodeName(listed.name);
        found.push_back(std::move(listed));
    }

    std::vector<QStringView> names;
    names.reserve(found.size());
    for (const Entry &entry : found)
        names.push_back(entry.name);
    m_entries.reserve(found.size());
    for (const qsizetype i : NameCollation::system().sortedOrder(names))
        m_entries.push_back(std::move(found[size_t(i)]));
}

FolderFiles::~FolderFiles()
{
    if (m_dir)
        ::closedir(m_dir);
}
