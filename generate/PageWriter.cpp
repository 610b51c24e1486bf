// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "generate/PageOutput.h"
#include "generate/PageSource.h"
#include "generate/PageText.h"
#include "generate/StyleSheet.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "platform/PosixFile.h"
#include "platform/ShiftJis.h"
#include "widgets/VersionInfo.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The reason of the exception being handled, as text.
QString currentExceptionReason()
{
    try {
        throw;
    } catch (const TalvensaError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

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

// The text of a link line: TAB, the anchor with the URL and the title and, when comments are
// on, the comment span.
void appendLinkLine(PageOutput &out, const PageLink &link, bool comments)
{
    out.put("\t<a href=\"");
    appendHref(out, link.url);
    out.put("\" target=\"_blank\">");
    out.name(link.title);
    out.put("</a>");
    if (comments) {
        out.put("<span class=\"BVKComment\">");
        out.put(link.comment);
        out.put("</span>");
    }
}

void WriteHTMLHeader(PageOutput &out, const TGlobalVariant &settings)
{
    out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
    out.line("<html>");
    out.line("<head>");
    out.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">");
    out.text(BuildStyleSheet(settings));
    out.endLine();
    out.put("<title>");
    out.text(settings.Document.Title);
    out.put("</title>");
    out.endLine();
    out.line("</head>");
    out.line("<body>");
    out.line("<div class=\"TitleMessage\">");
    out.put("\t");
    out.text(settings.Title.Title);
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

// One section per folder of the source, each with its heading, its link lines and a "<br>".
// False as soon as a write has failed.
bool writeSections(PageOutput &out, PageSource &source, const PageJob &job, PageWriteReport &report)
{
    if (job.progress)
        job.progress->setMaximum(source.folderCount() - 1);
    const bool comments = job.settings.Document.BVKCommentFlag;
    PageLink link;
    for (int i = 0; source.nextFolder(); ++i) {
        if (i > 0 && job.stopRequested && job.stopRequested())
            break;
        if (job.progress)
            job.progress->setPosition(i);
        out.line("<div class=\"FolderName\">");
        out.put("\t");
        out.name(source.caption());
        out.endLine();
        out.line("</div>");
        while (source.nextLink(link)) {
            out.line("<div class=\"FileList\">");
            if (link.present)
                appendLinkLine(out, link, comments);
            out.endLine();
            out.line("</div>");
            ++report.links;
        }
        out.line("<br>");
        ++report.folders;
        if (out.failed())
            return false;
    }
    return true;
}

// The whole page to an open descriptor; the report takes what was written and why it failed.
void writeToDescriptor(int fd, PageSource &source, const PageJob &job, PageWriteReport &report)
{
    PageOutput out(fd);
    bool written = false;
    try {
        WriteHTMLHeader(out, job.settings);
        if (writeSections(out, source, job, report)) {
            WriteHTMLFooter(out);
            written = out.flush();
        }
    } catch (...) {
        report.error = currentExceptionReason();
    }
    if (!written) {
        out.flush(); // what was built before a failure that was not a write still reaches the file
        report.failure = PageWriteReport::Failure::WriteFailed;
        if (report.error.isEmpty())
            report.error = systemReason(out.error() ? out.error() : EIO);
    }
    report.bytes = out.written();
}

// Opens the page file for writing, made or emptied; -1 with the reason when it cannot be. The
// open does not block: a FIFO that nothing reads is an error at once, where a blocking open
// would wait for a reader for ever. The writes then block as usual, so a FIFO or a terminal
// that is read gets the page as a pipe does.
int openOutput(const QByteArray &path, QString &error)
{
    const int fd = ::open(path.constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        const int openError = errno;
        struct stat status;
        error =
            openError == ENXIO && ::stat(path.constData(), &status) == 0 && S_ISFIFO(status.st_mode)
                ? QStringLiteral("a FIFO that nothing reads")
                : systemReason(openError);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = systemReason(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

std::unique_ptr<PageSource> openSource(const QString &path, QString &error)
{
    try {
        return openPageSource(path, error);
    } catch (...) {
        error = currentExceptionReason();
        return nullptr;
    }
}

} // namespace

PageWriteReport writePage(const PageJob &job)
{
    PageWriteReport report;
    const std::unique_ptr<PageSource> source = openSource(job.source, report.error);
    if (!source) {
        report.failure = PageWriteReport::Failure::SourceUnreadable;
        return report;
    }
    if (job.outputFd >= 0) {
        writeToDescriptor(job.outputFd, *source, job, report);
        return report;
    }
    const QByteArray outputPath = textToFileName(job.outputPath);
    if (job.removeOldOutput)
        ::unlink(outputPath.constData());
    QString error;
    const int fd = openOutput(outputPath, error);
    if (fd < 0) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = error;
        return report;
    }
    writeToDescriptor(fd, *source, job, report);
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && report.written()) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = systemReason(errno);
    }
    return report;
}
