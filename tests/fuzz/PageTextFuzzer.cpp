// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The path arithmetic of the page: FolderCaption, ShortcutTitle, EnsureTrailingBackslash, and the
// page text of a name as the classic page writes it (putName).
//
// The data is cut at 0x00 bytes into texts, each read as UTF-8 (or as Shift-JIS when it is not
// valid UTF-8), so names such as 表示 (0x95 0x5C), emoji (surrogate pairs) and markup turn up.
// The first text is the Favourites root, the following ones folder names below it, the last a
// shortcut file name. Properties:
// - a folder's caption is its path below the root, levels joined by "/", whatever the names
//   hold (the root's own text further down included); the root's caption is empty;
// - a shortcut's title is its name up to the last "."; a name without "." stays whole;
// - results are whole characters: no surrogate is split where the input had none split;
// - a name's page text holds no "<" or ">" byte, and reads back as the name, with &lt; and
//   &gt; and numeric references for characters Shift-JIS cannot hold;
// - any bytes, as a file name, turn into text and back unchanged.

#include "FuzzSupport.h"

#include "outputs/PageOutput.h"
#include "outputs/PageText.h"
#include "sources/PathText.h"
#include "platform/FileNames.h"
#include "platform/ShiftJis.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

bool wholeCharacters(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

// The name as the page shows it, read back from the page bytes: "<" and ">" (which no numeric
// reference holds) written as &lt; and &gt;.
QString expectedNameText(QStringView name)
{
    return expectedShiftJisText(name)
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
}

// The bytes putName adds to a line for a name, read back from a file in memory.
QByteArray pageText(QStringView name)
{
    static const int fd = ::memfd_create("page", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0 && ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0);
    PageOutput out(fd);
    out.put("x");
    putName(out, name);
    FUZZ_CHECK(out.flush());
    QByteArray bytes(qsizetype(out.written()), '\0');
    FUZZ_CHECK(::pread(fd, bytes.data(), size_t(bytes.size()), 0) == bytes.size());
    FUZZ_CHECK(bytes.startsWith('x'));
    return bytes.sliced(1);
}

QString textOf(QByteArrayView bytes)
{
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : fromShiftJis(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArrayView data(bytes, size);
    QStringList texts;
    for (const QByteArray &piece : data.toByteArray().split('\0')) {
        texts.append(textOf(piece));
        // A file name, whatever its bytes, turns into text and back unchanged, and its page
        // text holds no markup.
        const QString name = fileNameToText(piece);
        FUZZ_CHECK(textToFileName(name) == piece);
        const QByteArray page = pageText(name);
        FUZZ_CHECK(!page.contains('<') && !page.contains('>'));
    }
    if (texts.size() > 64)
        return 0;

    // Names of folders and files cannot hold "/"; the root is any path.
    const QString root = texts.first();
    QStringList folders;
    for (qsizetype i = 1; i + 1 < texts.size(); ++i) {
        QString name = texts[i];
        name.remove(QLatin1Char('/'));
        if (!name.isEmpty())
            folders.append(name);
    }
    QString fileName = texts.size() > 1 ? texts.last() : QString();
    fileName.remove(QLatin1Char('/'));

    const QString rootPath = EnsureTrailingBackslash(root);
    FUZZ_CHECK(rootPath.endsWith(QLatin1Char('/')));
    FUZZ_CHECK(rootPath == (root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/')));

    FUZZ_CHECK(FolderCaption(root, root).isEmpty());
    FUZZ_CHECK(FolderCaption(rootPath, root).isEmpty());
    QString folder = rootPath;
    for (qsizetype depth = 0; depth < folders.size(); ++depth) {
        folder += folders[depth] + QLatin1Char('/');
        const QString caption = FolderCaption(folder, root);
        FUZZ_CHECK(caption == folders.first(depth + 1).join(QLatin1Char('/')));
        FUZZ_CHECK(wholeCharacters(caption) || !wholeCharacters(folder));
    }

    const QString filePath = folder + fileName;
    const QStringView title = ShortcutTitle(filePath);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    FUZZ_CHECK(title == (dot < 0 ? fileName : fileName.first(dot)));
    FUZZ_CHECK(wholeCharacters(title) || !wholeCharacters(fileName));

    for (const QString &name : std::as_const(texts)) {
        const QByteArray added = pageText(name);
        FUZZ_CHECK(!added.contains('<') && !added.contains('>'));
        if (qEnvironmentVariableIsSet("TALVENSA_FUZZ_VERBOSE")) {
            std::fprintf(
                stderr, "name %s\npage %s\nread %s\nwant %s\n",
                QByteArrayView(reinterpret_cast<const char *>(name.utf16()), 2 * name.size())
                    .toByteArray()
                    .toHex(' ')
                    .constData(),
                added.toHex(' ').constData(), qPrintable(fromShiftJis(added)),
                qPrintable(expectedNameText(name)));
        }
        FUZZ_CHECK(fromShiftJis(added) == expectedNameText(name));
    }
    return 0;
}
