// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

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
