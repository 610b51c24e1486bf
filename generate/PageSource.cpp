#include "generate/PageSource.h"

#include "generate/FolderPageSource.h"

std::unique_ptr<PageSource> openPageSource(const QString &path, QString &error)
{
    error.clear();
    return std::make_unique<FolderPageSource>(path);
}
