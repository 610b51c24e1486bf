// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <sys/stat.h>

// The attribute word of a directory entry, in the Windows layout that the folder walk decides on.
// This platform has no such word, so it is made from the entry's kind, its owner write bit and
// its name:
// - a directory gets Directory, a regular file Archive (as every new file on Windows);
// - either gets ReadOnly when its owner cannot write it and Hidden when its name starts with ".";
// - a FIFO, socket or device gets Normal alone, so it is never listed and never opened.
namespace FileAttribute {
constexpr quint32 ReadOnly = 0x01;
constexpr quint32 Hidden = 0x02;
constexpr quint32 System = 0x04;
constexpr quint32 VolumeLabel = 0x08;
constexpr quint32 Directory = 0x10;
constexpr quint32 Archive = 0x20;
constexpr quint32 Normal = 0x80;
} // namespace FileAttribute

// The attribute word for an entry called name whose status (symbolic links followed) is st.
quint32 attributeWord(const struct stat &st, QByteArrayView name);

// True when a name starts with "." (hidden on this platform); "." and ".." included.
inline bool isHiddenName(QByteArrayView name)
{
    return !name.isEmpty() && name[0] == '.';
}
