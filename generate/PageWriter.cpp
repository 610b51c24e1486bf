#include "generate/PageWriter.h"

#include "generate/FolderFiles.h"
#include "generate/FolderTreeWalk.h"
#include "generate/FolderWalk.h"
#include "generate/PageText.h"
#include "generate/ShortcutReader.h"
#include "generate/StyleSheet.h"
#include "platform/FileKinds.h"
#include "platform/FileNames.h"
#include "platform/ShiftJis.h"
#include "settings/GlobalVariant.h"
#include "widgets/VersionInfo.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

ProgressGauge *attachedGauge = nullptr;
PageWriteReport lastReport;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The page file: lines are gathered in a buffer and written in large pieces, at line ends. The
// first failed write is remembered and every later one is skipped. Without a file (fd -1) the
// bytes are only gathered.
class PageOutput final
{
public:
    explicit PageOutput(int fd) : m_fd(fd), m_data(new char[InitialCapacity]) {}

    // Appends bytes to the line being built. Copied inline: a page is built of many short
    // pieces.
    void put(QByteArrayView bytes)
    {
        // An empty view may carry no pointer at all, which memcpy must not be given.
        if (bytes.isEmpty())
            return;
        if (bytes.size() > m_capacity - m_used)
            grow(bytes.size());
        std::memcpy(m_data.get() + m_used, bytes.data(), size_t(bytes.size()));
        m_used += bytes.size();
    }
    template <size_t N> void put(const char (&literal)[N]) { put(QByteArrayView(literal, N - 1)); }
    // Text in the page's encoding (Shift-JIS, numeric references for what it cannot hold).
    void text(QStringView text)
    {
        m_scratch.resize(0);
        appendShiftJis(m_scratch, text);
        put(m_scratch);
    }
    // A name from the file system (appendNameText). A name of characters that the code page
    // holds, without "<" or ">", is encoded straight into the buffer; any other goes through
    // appendNameText.
    void name(QStringView name)
    {
        const quint32 *const table = shiftJisTable();
        if (2 * name.size() > m_capacity - m_used)
            grow(2 * name.size());
        char *out = m_data.get() + m_used;
        for (const QChar character : name) {
            const char16_t c = character.unicode();
            if (c < 0x80 && c != u'<' && c != u'>') {
                *out++ = char(c);
                continue;
            }
            const quint32 code = c < 0x80 ? 0 : table[c];
            if (code == 0) {
                m_scratch.resize(0);
                appendNameText(m_scratch, name);
                put(m_scratch);
                return;
            }
            if (code & 0x10000) {
                *out++ = char(code & 0xFF);
            } else {
                *out++ = char(code >> 8);
                *out++ = char(code & 0xFF);
            }
        }
        m_used = out - m_data.get();
    }

    // Ends the line built; writes the buffer out once it is large.
    void endLine()
    {
        put("\r\n");
        if (m_used >= FlushSize && m_fd >= 0)
            flush();
    }
    void line(QByteArrayView text)
    {
        put(text);
        endLine();
    }
    template <size_t N> void line(const char (&literal)[N])
    {
        put(literal);
        endLine();
    }

    bool flush()
    {
        const char *data = m_data.get();
        qsizetype left = m_error ? 0 : m_used;
        while (left > 0) {
            const ssize_t n = ::write(m_fd, data, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_error = n < 0 ? errno : ENOSPC;
                break;
            }
            data += n;
            left -= n;
            m_written += n;
        }
        m_used = 0;
        return m_error == 0;
    }

    // What has been gathered and not written.
    QByteArray bytes() const { return QByteArray(m_data.get(), m_used); }
    bool failed() const { return m_error != 0; }
    int error() const { return m_error; }
    qint64 written() const { return m_written; }

private:
    static constexpr qsizetype FlushSize = 64 * 1024;
    static constexpr qsizetype InitialCapacity = FlushSize + 16 * 1024;

    // Room for a line longer than the buffer has left: the buffer grows; it is written out
    // only at line ends.
    void grow(qsizetype needed)
    {
        const qsizetype capacity = std::max(2 * m_capacity, m_used + needed);
        std::unique_ptr<char[]> data(new char[size_t(capacity)]);
        std::memcpy(data.get(), m_data.get(), size_t(m_used));
        m_data = std::move(data);
        m_capacity = capacity;
    }

    int m_fd;
    std::unique_ptr<char[]> m_data;
    qsizetype m_capacity = InitialCapacity;
    qsizetype m_used = 0;
    QByteArray m_scratch;
    int m_error = 0;
    qint64 m_written = 0;
};

// The href bytes of a URL: the three characters that could end the attribute or open a tag are
// percent-encoded, as a browser would send them anyway. They never occur as the second byte of
// a Shift-JIS character, so the bytes can be scanned one by one.
void appendHref(PageOutput &out, QByteArrayView url)
{
    // Most URLs hold none of them, so the bytes between two are appended as one run, found with
    // memchr.
    const char *p = url.data();
    const char *const end = p + url.size();
    while (p < end) {
        const char *next = end;
        for (const char c : {'"', '<', '>'}) {
            if (const void *found = std::memchr(p, c, size_t(next - p)))
                next = static_cast<const char *>(found);
        }
        out.put(QByteArrayView(p, next - p));
        if (next == end)
            break;
        out.put(*next == '"' ? QByteArrayView("%22") : *next == '<' ? "%3C" : "%3E");
        p = next + 1;
    }
}

// The text of a link line: the anchor with the URL and the title and, when comments are on, the
// comment span.
void appendLinkLine(PageOutput &out, const ShortcutReader::ValueViews &values, QStringView title)
{
    out.put("\t<a href=\"");
    appendHref(out, values.url);
    out.put("\" target=\"_blank\">");
    out.name(title);
    out.put("</a>");
    if (GlobalVariant.Document.BVKCommentFlag) {
        out.put("<span class=\"BVKComment\">");
        out.put(values.comment);
        out.put("</span>");
    }
}

// The link text of a file name: the name without its extension.
QStringView titleOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.first(dot);
}

// Appends the line for a shortcut file at a full path, whatever the path names.
void appendShortcutLine(PageOutput &out, const QString &fileName)
{
    const QByteArray nativePath = textToFileName(fileName);
    // Only a regular file is opened: a FIFO or device could block or change state.
    const std::optional<quint32> attributes = fileAttributes(nativePath.constData());
    if (!attributes || !(*attributes & FileAttribute::Archive))
        return;
    const std::optional<ShortcutReader::Values> values =
        ShortcutReader::readFile(nativePath.constData());
    if (values) // else gone since it was looked at
        appendLinkLine(out, {values->url, values->comment}, ShortcutTitle(fileName));
}

void WriteHTMLHeader(PageOutput &out)
{
    out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
    out.line("<html>");
    out.line("<head>");
    out.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">");
    out.text(BuildStyleSheet());
    out.endLine();
    out.put("<title>");
    out.text(GlobalVariant.Document.Title);
    out.put("</title>");
    out.endLine();
    out.line("</head>");
    out.line("<body>");
    out.line("<div class=\"TitleMessage\">");
    out.put("\t");
    out.text(GlobalVariant.Title.Title);
    out.endLine();
    out.line("</div>");
    out.line("<br>");
}

// Throws EVersionInfoError when the version cannot be read; the footer is built whole before
// any of it is written.
void WriteHTMLFooter(PageOutput &out)
{
    QString version;
    ReadVersionValue(10, version);
    QByteArray footer("<hr><div style=\"text-align:right;\"><a href=\"");
    footer += TalvensaWebPage;
    footer += "\" target=\"_blank\">Talvensa ";
    appendShiftJis(footer, version);
    footer += "</a></div>";
    out.line(footer);
    out.line("</body>");
    out.line("</html>");
}

bool writePage(PageOutput &out, const StopRequest &stopRequested, PageWriteReport &report)
{
    WriteHTMLHeader(out);

    // A gauge needs the number of folders before the first is written, so then the tree is
    // walked first and each folder read again as its turn comes. Without one, each folder is
    // read once, as the page is written, in the same order.
    const QString root = EnsureTrailingBackslash(GlobalVariant.FavoriteFolder);
    QStringList folders;
    std::optional<FolderTreeWalk> walk;
    if (attachedGauge) {
        GetFolderTree(root, folders);
        attachedGauge->setMaximum(int(folders.size() - 1));
    } else {
        walk.emplace(root, "*.url", AllFileKinds);
    }

    ShortcutReader reader;
    for (qsizetype i = 0;; ++i) {
        // The folder with its files as GetFileList lists them for its path + "*.url", held
        // open so that each file is opened by its name.
        std::optional<FolderTreeWalk::Folder> folder;
        if (walk) {
            folder = walk->next();
        } else if (i < folders.size()) {
            if (i > 0 && stopRequested && stopRequested())
                break;
            attachedGauge->setPosition(int(i));
            const QString path = EnsureTrailingBackslash(folders[i]);
            folder = FolderTreeWalk::Folder{
                path, std::make_unique<FolderFiles>(path, "*.url", AllFileKinds)};
        }
        if (!folder || (walk && i > 0 && stopRequested && stopRequested()))
            break;

        out.line("<div class=\"FolderName\">");
        out.put("\t");
        out.name(FolderCaption(folder->path));
        out.endLine();
        out.line("</div>");
        const FolderFiles &files = *folder->files;
        for (const FolderFiles::Entry &file : files.entries()) {
            out.line("<div class=\"FileList\">");
            // The walk found a regular file here, so its kind is not checked again. One reader
            // serves every file, so its memory is taken once.
            reader.reset();
            if (reader.read(file.nativeName, files.fd()))
                appendLinkLine(out, reader.valueViews(), titleOf(file.name));
            // else gone since it was listed: an empty line
            out.endLine();
            out.line("</div>");
            ++report.links;
        }
        out.line("<br>");
        ++report.folders;
        if (out.failed())
            return false;
    }

    WriteHTMLFooter(out);
    return out.flush();
}

bool writeToDescriptor(int fd, const StopRequest &stopRequested, PageWriteReport &report)
{
    PageOutput out(fd);
    bool written = false;
    try {
        written = writePage(out, stopRequested, report);
    } catch (const TalvensaError &e) {
        report.error = e.message();
    } catch (const std::exception &e) {
        report.error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        report.error = QStringLiteral("unknown error");
    }
    if (!written) {
        out.flush(); // what was built before a failure that was not a write still reaches the file
        if (report.error.isEmpty())
            report.error = systemReason(out.error() ? out.error() : EIO);
    }
    report.bytes = out.written();
    return written;
}

} // namespace

QString EnsureTrailingBackslash(const QString &Path)
{
    return Path.endsWith(QLatin1Char('/')) ? Path : Path + QLatin1Char('/');
}

QString ReplaceText(QString Text, const QString &Find, const QString &Replacement)
{
    if (Find.isEmpty())
        return Text;
    // Replacing until none is left ends when every replacement shortens the text, or when Find
    // is one character that the replacement does not hold. Otherwise a replacement can build a
    // new occurrence across its edges again and again ("ab" by "bbaa" in "abab" never ends, nor
    // does a replacement that holds Find), so each occurrence is replaced once instead.
    const bool repeat =
        !Replacement.contains(Find) && (Replacement.size() < Find.size() || Find.size() == 1);
    if (!repeat)
        return Text.replace(Find, Replacement);
    for (qsizetype at = Text.lastIndexOf(Find); at >= 0; at = Text.lastIndexOf(Find))
        Text.replace(at, Find.size(), Replacement);
    return Text;
}

QString FolderCaption(const QString &Folder)
{
    QString path = EnsureTrailingBackslash(Folder);
    const QString root = EnsureTrailingBackslash(GlobalVariant.FavoriteFolder);
    // Only the leading root is removed: the same text further down the path is a folder name.
    if (path.startsWith(root))
        path.remove(0, root.size());
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    return last < 0 ? QString() : path.first(last);
}

QString ShortcutTitle(const QString &FileName)
{
    return titleOf(QStringView(FileName).sliced(FileName.lastIndexOf(QLatin1Char('/')) + 1))
        .toString();
}

QByteArray ShortcutLine(const QString &FileName)
{
    PageOutput line(-1);
    appendShortcutLine(line, FileName);
    return line.bytes();
}

void appendNameText(QByteArray &out, QStringView name)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        // A byte of the name that is not UTF-8 is written as it is: the page is Shift-JIS, so a
        // name made on a Shift-JIS system reads right. It is never "<" or ">" (those are ASCII).
        const int byte = escapedFileNameByte(name, i);
        if (c != QLatin1Char('<') && c != QLatin1Char('>') && byte < 0)
            continue;
        appendShiftJis(out, name.sliced(from, i - from));
        if (byte >= 0)
            out += char(byte);
        else
            out += c == QLatin1Char('<') ? "&lt;" : "&gt;";
        from = i + 1;
    }
    appendShiftJis(out, name.sliced(from));
}

bool CreateHTMLFile(const QString &Path, const StopRequest &stopRequested)
{
    lastReport = PageWriteReport();
    const int fd = ::open(textToFileName(Path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        lastReport.error = systemReason(errno);
        return false;
    }
    bool written = writeToDescriptor(fd, stopRequested, lastReport);
    if (::close(fd) != 0 && written) {
        // Some file systems report a failed write only when the file is closed.
        lastReport.error = systemReason(errno);
        written = false;
    }
    return written;
}

bool writeHTMLPage(int fd, const StopRequest &stopRequested)
{
    lastReport = PageWriteReport();
    return writeToDescriptor(fd, stopRequested, lastReport);
}

const PageWriteReport &lastPageWriteReport()
{
    return lastReport;
}

void SetGauge(ProgressGauge *Gauge)
{
    attachedGauge = Gauge;
}

void ReleaseGauge()
{
    attachedGauge = nullptr;
}
