#include "generate/FolderPageSource.h"

#include "generate/PageText.h"

#include <QStringList>

FolderPageSource::FolderPageSource(const QString &root)
    : m_root(EnsureTrailingBackslash(root)), m_walk(m_root, "*.url", AllFileKinds)
{}

int FolderPageSource::folderCount()
{
    QStringList folders;
    GetFolderTree(m_root, folders);
    return int(folders.size());
}

bool FolderPageSource::nextFolder()
{
    m_folder = m_walk.next();
    m_nextFile = 0;
    return m_folder.has_value();
}

QString FolderPageSource::caption() const
{
    return FolderCaption(m_folder->path, m_root);
}

bool FolderPageSource::nextLink(PageLink &link)
{
    const FolderFiles &files = *m_folder->files;
    if (m_nextFile >= files.entries().size())
        return false;
    const FolderFiles::Entry &file = files.entries()[m_nextFile++];
    // The walk found a regular file here, so its kind is not checked again.
    m_reader.reset();
    link.present = m_reader.read(file.nativeName, files.fd()); // else gone since it was listed
    const ShortcutReader::ValueViews values =
        link.present ? m_reader.valueViews() : ShortcutReader::ValueViews();
    link.title = ShortcutTitle(file.name);
    link.url = values.url;
    link.comment = values.comment;
    return true;
}
