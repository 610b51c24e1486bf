// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "outputs/PageFormat.h"
#include "outputs/PageOutput.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "platform/PosixFile.h"
#include "model/DuplicateFilter.h"
#include "model/MultiSource.h"
#include "platform/SpecialFolders.h"
#include "settings/SettingsLocation.h"
#include "sources/BookmarkLocations.h"
#include "sources/OpenSource.h"
#include "sources/OpenSourceIcons.h"
#include "sources/SourceName.h"

#include <QFileInfo>

#include <cerrno>
#include <exception>
#include <utility>
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

// Every folder of the source with its links, in the source's order, until a stop is asked for.
// False as soon as a write has failed.
bool writeFolders(DocumentWriter &writer, const PageOutput &out, LinkSource &source,
                  const PageJob &job, PageWriteReport &report)
{
    if (job.progress)
        job.progress->setMaximum(source.folderCount() - 1);
    Link link;
    for (int i = 0; const Folder *folder = source.nextFolder(); ++i) {
        if (i > 0 && job.stopRequested && job.stopRequested())
            break;
        if (job.progress)
            job.progress->setPosition(i);
        writer.beginFolder(*folder);
        while (source.nextLink(link)) {
            writer.link(link);
            ++report.links;
        }
        writer.endFolder();
        ++report.folders;
        if (out.failed())
            return false;
    }
    return true;
}

// The whole document to an open descriptor; the report takes what was written and why it
// failed.
void writeToDescriptor(int fd, LinkSource &source, SourceIcons *icons, const PageJob &job,
                       PageWriteReport &report)
{
    PageOutput out(fd);
    const std::unique_ptr<DocumentWriter> writer =
        makeDocumentWriter(job.format, out, job.settings, icons);
    bool written = false;
    try {
        if (!writer)
            throw TalvensaError(
                QStringLiteral("no writer for the format %1").arg(pageFormatName(job.format)));
        writer->begin();
        if (writeFolders(*writer, out, source, job, report)) {
            writer->end();
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
    report.warning = source.readWarning();
    if (icons && report.iconWarning.isEmpty())
        report.iconWarning = icons->readWarning();
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

// Whether the output at path can be replaced whole: not when something is there that is no
// regular file (a FIFO, a terminal, /dev/null), which is written to directly, nor when its folder
// cannot take a temporary file beside it (a writable page in a folder the user may not write):
// the page is then written in place, as before.
bool canReplaceWhole(const QByteArray &path)
{
    struct stat status;
    if (::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : path.first(slash);
    return ::access(folder.constData(), W_OK | X_OK) == 0 || ::stat(path.constData(), &status) != 0;
}

// The page to a temporary file that replaces the output once it is whole.
void replaceWhole(const QString &path, LinkSource &source, SourceIcons *icons, const PageJob &job,
                  PageWriteReport &report)
{
    AtomicFile file(path);
    // A page can be made again at any time: it is not worth a wait for the disk.
    file.setDurable(false);
    if (!file.open()) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = file.errorString();
        return;
    }
    writeToDescriptor(file.descriptor(), source, icons, job, report);
    if (!report.written()) {
        file.abandon();
    } else if (!file.commit()) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = file.errorString();
    }
}

// Whether the output at path is the same file (device and inode, through any link) as one the
// page is made from: a bookmark file given as the source, its write-ahead log, or the settings
// file. A folder tree's own files may be written over: the page is made of what was read.
bool isJobInput(const QByteArray &path, const PageJob &job)
{
    struct stat output;
    if (::stat(path.constData(), &output) != 0 || S_ISDIR(output.st_mode))
        return false;
    QStringList inputs{job.settingsPath};
    for (const QString &source : job.sources) {
        inputs << source << source + QStringLiteral("-wal");
        // The browser's icon database beside a bookmark file, when icons are read from it.
        if (job.favicons) {
            const QString folder = QFileInfo(source).path() + QLatin1Char('/');
            for (const char *name :
                 {"favicons.sqlite", "favicons.sqlite-wal", "Favicons", "Favicons-wal"})
                inputs.append(folder + QLatin1StringView(name));
        }
    }
    for (const QString &input : std::as_const(inputs)) {
        struct stat status;
        if (!input.isEmpty() && ::stat(textToFileName(input).constData(), &status) == 0 &&
            !S_ISDIR(status.st_mode) && status.st_dev == output.st_dev &&
            status.st_ino == output.st_ino)
            return true;
    }
    return false;
}

std::unique_ptr<LinkSource> openJobSource(const QString &path, SourceNeeds needs, QString &error)
{
    try {
        return openSource(path, error, needs);
    } catch (...) {
        error = currentExceptionReason();
        return nullptr;
    }
}

// The icons of several sources: each link's from the first of them that knows it (a shortcut's
// icon file and a browser's page address never look alike).
class JobIcons final : public SourceIcons
{
public:
    std::vector<std::unique_ptr<SourceIcons>> parts;

    const LinkIcon *iconFor(const Link &link) override
    {
        for (const std::unique_ptr<SourceIcons> &part : parts) {
            if (const LinkIcon *icon = part->iconFor(link))
                return icon;
        }
        return nullptr;
    }
    QString readWarning() const override
    {
        QStringList lines;
        for (const std::unique_ptr<SourceIcons> &part : parts) {
            if (const QString warning = part->readWarning(); !warning.isEmpty())
                lines.append(warning);
        }
        return lines.join(QLatin1Char('\n'));
    }
};

// The icons of the job's sources, when the job asks for them and its format shows them;
// nothing, with the reasons in the report (one line a source), where they cannot be read.
// Icons never cost the page.
std::unique_ptr<SourceIcons> openJobIcons(const PageJob &job, PageWriteReport &report)
{
    if (!job.favicons || job.format == PageFormat::Page)
        return nullptr;
    auto icons = std::make_unique<JobIcons>();
    QStringList problems;
    for (const QString &path : job.sources) {
        QString problem;
        try {
            if (std::unique_ptr<SourceIcons> part = openSourceIcons(path, problem))
                icons->parts.push_back(std::move(part));
        } catch (...) {
            problem = QStringLiteral("no icons: %1").arg(currentExceptionReason());
        }
        if (!problem.isEmpty())
            problems.append(job.sources.size() == 1 ? problem
                                                    : QStringLiteral("%1: %2").arg(path, problem));
    }
    report.iconWarning = problems.join(QLatin1Char('\n'));
    if (icons->parts.empty())
        return nullptr;
    if (icons->parts.size() == 1)
        return std::move(icons->parts.front());
    return icons;
}

void writeSource(const PageJob &job, LinkSource &source, SourceIcons *icons,
                 PageWriteReport &report)
{
    if (job.outputFd >= 0) {
        writeToDescriptor(job.outputFd, source, icons, job, report);
        return;
    }
    const QByteArray outputPath = textToFileName(job.outputPath);
    if (isJobInput(outputPath, job)) {
        report.failure = PageWriteReport::Failure::OutputIsInput;
        report.error = QStringLiteral("it is one of the files the page is made from");
        return;
    }
    if (job.replaceWhole && canReplaceWhole(outputPath)) {
        replaceWhole(job.outputPath, source, icons, job, report);
        return;
    }
    if (job.removeOldOutput)
        ::unlink(outputPath.constData());
    QString error;
    const int fd = openOutput(outputPath, error);
    if (fd < 0) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = error;
        return;
    }
    writeToDescriptor(fd, source, icons, job, report);
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && report.written()) {
        report.failure = PageWriteReport::Failure::WriteFailed;
        report.error = systemReason(errno);
    }
}

} // namespace

QStringList sourceNames(const QStringList &sources)
{
    QList<BookmarkLocation> known;
    bool anyFile = false;
    for (const QString &source : sources)
        anyFile = anyFile || !QFileInfo(source).isDir();
    if (anyFile)
        known = findBookmarkFiles(homeFolderPath(), userConfigFolder());
    QStringList names;
    for (const QString &source : sources)
        names.append(sourceName(source, known));
    return names;
}

PageWriteReport writePage(const PageJob &job)
{
    std::vector<std::unique_ptr<LinkSource>> sources;
    SourceNeeds needs;
    needs.dates = pageFormatShowsDates(job.format);
    for (const QString &path : job.sources) {
        PageWriteReport report;
        sources.push_back(openJobSource(path, needs, report.error));
        if (!sources.back()) {
            report.failure = PageWriteReport::Failure::SourceUnreadable;
            report.failedSource = path;
            return report;
        }
    }
    return writePage(job, std::move(sources));
}

PageWriteReport writePage(const PageJob &job, std::vector<std::unique_ptr<LinkSource>> sources)
{
    PageWriteReport report;
    std::unique_ptr<LinkSource> source;
    if (sources.size() == 1) {
        source = std::move(sources.front());
    } else {
        const QStringList names = sourceNames(job.sources);
        std::vector<MultiSource::Part> parts;
        for (size_t i = 0; i < sources.size(); ++i)
            parts.push_back({names.value(qsizetype(i)), std::move(sources[i])});
        source = std::make_unique<MultiSource>(std::move(parts));
    }
    DuplicateFilter *filter = nullptr;
    if (job.dropDuplicates) {
        auto filtered = std::make_unique<DuplicateFilter>(std::move(source));
        filter = filtered.get();
        source = std::move(filtered);
    }
    const std::unique_ptr<SourceIcons> icons = openJobIcons(job, report);
    writeSource(job, *source, icons.get(), report);
    if (filter)
        report.duplicates = filter->dropped();
    return report;
}
