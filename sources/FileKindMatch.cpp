// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FileKindMatch.h"

#include "platform/FileKinds.h"

#include <algorithm>

namespace {

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
