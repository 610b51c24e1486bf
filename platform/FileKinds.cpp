#include "platform/FileKinds.h"

quint32 attributeWord(const struct stat &st, QByteArrayView name)
{
    quint32 word;
    if (S_ISDIR(st.st_mode))
        word = FileAttribute::Directory;
    else if (S_ISREG(st.st_mode))
        word = FileAttribute::Archive;
    else
        return FileAttribute::Normal;
    if (!(st.st_mode & S_IWUSR))
        word |= FileAttribute::ReadOnly;
    if (isHiddenName(name))
        word |= FileAttribute::Hidden;
    return word;
}

std::optional<quint32> fileAttributes(const char *nativePath)
{
    struct stat st;
    if (::stat(nativePath, &st) != 0)
        return std::nullopt;
    QByteArrayView path(nativePath);
    const qsizetype slash = path.lastIndexOf('/');
    // A path that ends with "/" names a folder; its own name is the part before that slash.
    QByteArrayView name = path.sliced(slash + 1);
    if (name.isEmpty() && slash > 0) {
        const QByteArrayView folder = path.first(slash);
        name = folder.sliced(folder.lastIndexOf('/') + 1);
    }
    return attributeWord(st, name);
}
