#pragma once

#include "generate/FolderTreeWalk.h"
#include "generate/PageSource.h"
#include "generate/ShortcutReader.h"

#include <QString>

#include <optional>

// A Favourites folder tree as a page source: its folders in pre-order (a folder before its
// sub-folders, siblings in the order the file system gives them), each with its "*.url" files
// of every kind, sorted by name (FolderFiles). Each folder is read once, as its turn comes.
class FolderPageSource final : public PageSource
{
public:
    // Root is the Favourites folder, with or without a "/" at its end.
    explicit FolderPageSource(const QString &root);

    // Walks the whole tree once more for the count, without reading any file.
    int folderCount() override;
    bool nextFolder() override;
    QString caption() const override;
    bool nextLink(PageLink &link) override;

private:
    QString m_root; // ends with "/"
    FolderTreeWalk m_walk;
    std::optional<FolderTreeWalk::Folder> m_folder;
    size_t m_nextFile = 0;
    // One reader serves every file, so its memory is taken once.
    ShortcutReader m_reader;
};
