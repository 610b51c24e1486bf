#pragma once

#include <QByteArray>
#include <QString>

// The texts of the page and the path arithmetic behind them. All of it works on whole
// characters of a QString, so a name such as 表示, whose first character's second byte in
// Shift-JIS is 0x5C, is never cut or matched inside a character. The separator is "/".

// The page the footer links to: the program's own web page.
inline constexpr char TalvensaWebPage[] = "https://talvensa.example/";

// Path with one "/" at its end; the empty text gives "/".
QString EnsureTrailingBackslash(const QString &Path);

// Replaces every occurrence of Find, last one first, until none is left.
QString ReplaceText(QString Text, const QString &Find, const QString &Replacement);

// The heading of a folder section: the folder's path below the Favourites root with "/" between
// the levels, without a leading or trailing "/"; the root itself gives the empty text. The root
// path is removed once, as a prefix.
QString FolderCaption(const QString &Folder);

// The link text of a shortcut file: its name without the extension (from the last "." on).
QString ShortcutTitle(const QString &FileName);

// One link line as page bytes: TAB, the anchor with the file's URL and its title and, when
// comments are on, the comment span. Empty when no shortcut file (a regular file) is there.
// In the href '"', '<' and '>' are written %22, %3C and %3E; in the title '<' and '>' are
// written &lt; and &gt;. Every other byte of URL and Comment reaches the page as stored.
QByteArray ShortcutLine(const QString &FileName);

// A name from the file system as page text: '<' and '>' as &lt; and &gt;, then Shift-JIS with
// numeric references for characters the code page cannot hold.
void appendNameText(QByteArray &out, QStringView name);
