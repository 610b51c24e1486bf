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

const char LineEnd[] = "\r\n";

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The page file: lines are gathered in a buffer and written in large pieces. The first failed
// write is remembered and every later one is skipped.
class PageOutput final
{
public:
    explicit PageOutput(int fd) : m_fd(fd) { m_buffer.reserve(BufferSize + 4096); }

    // The buffer the next line is built in.
    QByteArray &buffer() { return m_buffer; }

    // Ends the line built in the buffer; writes the buffer out once it is large.
    void endLine()
    {
        m_buffer += LineEnd;
        if (m_buffer.size() >= BufferSize)
            flush();
    }
    void line(QByteArrayView text)
    {
        m_buffer += text;
        endLine();
    }

    bool flush()
    {
        const char *data = m_buffer.constData();
        qsizetype left = m_error ? 0 : m_buffer.size();
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
        m_buffer.clear();
        return m_error == 0;
    }

    bool failed() const { return m_error != 0; }
    int error() const { return m_error; }
    qint64 written() const { return m_written; }

private:
    static constexpr qsizetype BufferSize = 64 * 1024;
    int m_fd;
    QByteArray m_buffer;
    int m_error = 0;
    qint64 m_written = 0;
};

// The href bytes of a URL: the three characters that could end the attribute or open a tag are
// percent-encoded, as a browser would send them anyway. They never occur as the second byte of
// a Shift-JIS character, so the bytes can be scanned one by one.
void appendHref(QByteArray &out, QByteArrayView url)
{
    // Most URLs hold none of them, so the bytes between two are appended as one run.
    const char *run = url.data();
    const char *const end = run + url.size();
    for (const char *p = run; p < end; ++p) {
        const char *code;
        switch (*p) {
        case '"':
            code = "%22";
            break;
        case '<':
            code = "%3C";
            break;
        case '>':
            code = "%3E";
            break;
        default:
            continue;
        }
        out.append(run, p - run).append(code, 3);
        run = p + 1;
    }
    out.append(run, end - run);
}

// The text of a link line: the anchor with the URL and the title and, when comments are on, the
// comment span.
void appendLinkLine(QByteArray &out, const ShortcutReader::Values &values, QStringView title)
{
    out += "\t<a href=\"";
    appendHref(out, values.url);
    out += "\" target=\"_blank\">";
    appendNameText(out, title);
    out += "</a>";
    if (GlobalVariant.Document.BVKCommentFlag) {
        out += "<span class=\"BVKComment\">";
        out += values.comment;
        out += "</span>";
    }
}

// The link text of a file name: the name without its extension.
QStringView titleOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.first(dot);
}

// Appends the line for a shortcut file at a full path, whatever the path names.
void appendShortcutLine(QByteArray &out, const QString &fileName)
{
    const QByteArray nativePath = textToFileName(fileName);
    // Only a regular file is opened: a FIFO or device could block or change state.
    const std::optional<quint32> attributes = fileAttributes(nativePath.constData());
    if (!attributes || !(*attributes & FileAttribute::Archive))
        return;
    const std::optional<ShortcutReader::Values> values =
        ShortcutReader::readFile(nativePath.constData());
    if (values) // else gone since it was looked at
        appendLinkLine(out, *values, ShortcutTitle(fileName));
}

void WriteHTMLHeader(PageOutput &out)
{
    out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
    out.line("<html>");
    out.line("<head>");
    out.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">");
    appendShiftJis(out.buffer(), BuildStyleSheet());
    out.endLine();
    out.buffer() += "<title>";
    appendShiftJis(out.buffer(), GlobalVariant.Document.Title);
    out.buffer() += "</title>";
    out.endLine();
    out.line("</head>");
    out.line("<body>");
    out.line("<div class=\"TitleMessage\">");
    out.buffer() += '\t';
    appendShiftJis(out.buffer(), GlobalVariant.Title.Title);
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
        out.buffer() += '\t';
        appendNameText(out.buffer(), FolderCaption(folder->path));
        out.endLine();
        out.line("</div>");
        const FolderFiles &files = *folder->files;
        for (const FolderFiles::Entry &file : files.entries()) {
            out.line("<div class=\"FileList\">");
            // The walk found a regular file here, so its kind is not checked again.
            const std::optional<ShortcutReader::Values> values =
                ShortcutReader::readFile(file.nativeName.constData(), files.fd());
            if (values) // else gone since it was listed: an empty line
                appendLinkLine(out.buffer(), *values, titleOf(file.name));
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
    QByteArray line;
    appendShortcutLine(line, FileName);
    return line;
}

void appendNameText(QByteArray &out, QStringView name)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        // A byte of the name that is not UTF-8 is written as it is: the page is Shift-JIS, so a
        // name made on a Shift-JIS system reads right. It is never "<" or ">" (those are ASCII).
        const int byte = escapedFileNameByte(c);
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
