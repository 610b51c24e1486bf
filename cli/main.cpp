// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// talvensa-cli: writes the page for a Favourites tree without a display, for cron jobs and
// servers. It reads the same design settings as the program and writes with the same writer.

#include "TerminalGauge.h"

#include "sources/BookmarkLocations.h"
#include "generate/PageWatch.h"
#include "generate/PageWriter.h"
#include "platform/Errors.h"
#include "platform/FileWatcher.h"
#include "platform/SpecialFolders.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "platform/VersionNotice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitNotWritten = 1;
constexpr int ExitUsage = 2;

const char Usage[] =
    "Usage: talvensa-cli [--settings FILE] [--folder PATH]... [--format FORMAT] [--favicons]\n"
    "                    [--dedup] [--watch] [--quiet] OUTPUT\n"
    "       talvensa-cli --find-bookmarks\n";

const char Help[] =
    "Writes the Talvensa page, one Shift-JIS HTML file listing every Internet shortcut (*.url)\n"
    "of a folder tree, with the design settings of the program.\n"
    "\n"
    "  OUTPUT           the page to write; - for standard output. An existing file is\n"
    "                   replaced whole once the new page is complete\n"
    "  --settings FILE  the settings file to read (default: talvensa.ini beside this program\n"
    "                   when it exists or that folder is writable, else\n"
    "                   ~/.config/talvensa/talvensa.ini)\n"
    "  --folder PATH    read this folder, or this browser bookmark file, instead of the\n"
    "                   settings' Favourites folder (nothing is saved). Given several\n"
    "                   times, the page has one top folder for each, in that order, named\n"
    "                   after the folder, or the browser and profile of a bookmark file\n"
    "  --dedup          leave out every link whose address came earlier in the page; the\n"
    "                   address compared has its scheme and host in lower case, no :80\n"
    "                   (http) or :443 (https), and / for an empty path\n"
    "  --format FORMAT  page: the classic Shift-JIS page of the design (the default);\n"
    "                   html: a UTF-8 HTML5 page with search, styled by the design;\n"
    "                   netscape: a Netscape bookmark file, which every browser imports:\n"
    "                   UTF-8, the folders nested as in the source, the dates of the\n"
    "                   bookmarks (a shortcut's: its file's modification time), a browser's\n"
    "                   toolbar folder marked so that an import puts it in the toolbar\n"
    "  --favicons       with --format html or netscape: each link with its icon, taken from\n"
    "                   the browser's own icon database beside the bookmark file (Firefox's\n"
    "                   favicons.sqlite, Chromium's Favicons) or from a shortcut's IconFile\n"
    "                   (a local .ico, .png or .svg file); nothing is fetched from the\n"
    "                   network. Icons that cannot be read are noted, and the page is\n"
    "                   written without them\n"
    "  --watch          write the page, then keep running and write it again (replaced\n"
    "                   whole) whenever a source or the settings file changes, until\n"
    "                   SIGINT or SIGTERM; one summary line on standard error each time.\n"
    "                   OUTPUT must be a file\n"
    "  --quiet          no progress and no summary line\n"
    "  --find-bookmarks list the bookmark files of this user's browsers, one a line: the\n"
    "                   browser and profile, a tab, the path (for --folder); writes no page\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 the page was written; 1 it could not be written; 2 a usage error,\n"
    "settings that could not be loaded, a Favourites source that could not be read, or an\n"
    "OUTPUT that is one of the files the page is made from (the bookmark file read, its log,\n"
    "the settings file).\n";

// Messages are UTF-8 whatever the locale says.
void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int usageError(const QString &problem)
{
    print(stderr, QStringLiteral("talvensa-cli: %1\n").arg(problem));
    print(stderr, QString::fromLatin1(Usage));
    print(stderr, QStringLiteral("Try 'talvensa-cli --help' for more information.\n"));
    return ExitUsage;
}

// A path as a line of the bookmark list shows it. A path with a control character in it (a
// folder can be named with a line break or a tab) would pass for another line or another
// field: it is quoted as ls quotes names for the shell, in single quotes with each run of
// control characters as $'...' ('a'$'\n''b'), so it can be given to --folder as printed. Any
// other path is shown as it is.
QString quotedIfOdd(const QString &path)
{
    const auto isControl = [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
    };
    if (std::none_of(path.cbegin(), path.cend(), isControl))
        return path;
    QString quoted;
    qsizetype i = 0;
    while (i < path.size()) {
        if (isControl(path[i])) {
            quoted += QStringLiteral("$'");
            for (; i < path.size() && isControl(path[i]); ++i) {
                static const char Named[] = "abtnvfr"; // \a (7) to \r (13)
                const char16_t c = path[i].unicode();
                if (c >= 7 && c <= 13) {
                    quoted += QLatin1Char('\\');
                    quoted += QLatin1Char(Named[c - 7]);
                    continue;
                }
                // Octal, byte by byte, as the name holds it in UTF-8.
                for (const char byte : QString(path[i]).toUtf8())
                    quoted +=
                        QStringLiteral("\\%1").arg(uint(quint8(byte)), 3, 8, QLatin1Char('0'));
            }
            quoted += QLatin1Char('\'');
            continue;
        }
        quoted += QLatin1Char('\'');
        for (; i < path.size() && !isControl(path[i]); ++i)
            quoted += path[i] == QLatin1Char('\'') ? QStringLiteral("'\\''") : QString(path[i]);
        quoted += QLatin1Char('\'');
    }
    return quoted;
}

// What the command line asks for.
struct CliOptions
{
    enum class Action
    {
        WritePage,
        ShowHelp,
        ShowVersion,
        FindBookmarks,
    };
    Action action = Action::WritePage;
    QString settingsPath; // the settings file to read
    QStringList folders;  // --folder, in place of the settings' Favourites source
    bool dedup = false;
    bool watch = false;
    bool favicons = false;
    PageFormat format = PageFormat::Page;
    QString output; // the page file, or "-"
    bool quiet = false;

    bool toStandardOutput() const { return output == QLatin1String("-"); }
};

// The options of a command line, or the usage error in problem.
std::optional<CliOptions> parseArguments(const QStringList &arguments, QString &problem)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QString(),
                                            QStringLiteral("FILE"));
    const QCommandLineOption folderOption(QStringLiteral("folder"), QString(),
                                          QStringLiteral("PATH"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
                                          QStringLiteral("FORMAT"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"));
    const QCommandLineOption dedupOption(QStringLiteral("dedup"));
    const QCommandLineOption watchOption(QStringLiteral("watch"));
    const QCommandLineOption faviconsOption(QStringLiteral("favicons"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    const QCommandLineOption findBookmarksOption(QStringLiteral("find-bookmarks"));
    parser.addOptions({settingsOption, folderOption, formatOption, quietOption, dedupOption,
                       watchOption, faviconsOption, helpOption, versionOption,
                       findBookmarksOption});
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QString());

    CliOptions options;
    if (!parser.parse(arguments)) {
        problem = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        options.action = parser.isSet(helpOption) ? CliOptions::Action::ShowHelp
                                                  : CliOptions::Action::ShowVersion;
        return options;
    }
    if (parser.isSet(findBookmarksOption)) {
        options.action = CliOptions::Action::FindBookmarks;
        return options;
    }
    for (const QCommandLineOption *option : {&settingsOption, &formatOption}) {
        if (parser.values(*option).size() > 1) {
            problem = QStringLiteral("--%1 given more than once").arg(option->names()[0]);
            return std::nullopt;
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || positional.first().isEmpty()) {
        problem = positional.isEmpty()    ? QStringLiteral("no OUTPUT given")
                  : positional.size() > 1 ? QStringLiteral("more than one OUTPUT given: %1")
                                                .arg(positional.join(QLatin1Char(' ')))
                                          : QStringLiteral("OUTPUT is empty");
        return std::nullopt;
    }
    options.output = positional.first();
    options.quiet = parser.isSet(quietOption);
    options.dedup = parser.isSet(dedupOption);
    options.watch = parser.isSet(watchOption);
    if (options.watch && options.toStandardOutput()) {
        problem = QStringLiteral("--watch needs an OUTPUT file, not -");
        return std::nullopt;
    }
    if (parser.isSet(formatOption)) {
        const std::optional<PageFormat> format = pageFormatFromName(parser.value(formatOption));
        if (!format) {
            problem = QStringLiteral("--format %1: not page, html or netscape")
                          .arg(parser.value(formatOption));
            return std::nullopt;
        }
        options.format = *format;
    }
    options.favicons = parser.isSet(faviconsOption);
    // The classic page is the design's, which has no place for icons.
    if (options.favicons && options.format == PageFormat::Page) {
        problem = QStringLiteral("--favicons needs --format html or netscape: the classic page "
                                 "shows no icons");
        return std::nullopt;
    }
    options.folders = parser.values(folderOption);
    for (const QString &folder : std::as_const(options.folders)) {
        // A folder, or a file read as browser bookmarks.
        if (!QFileInfo::exists(folder)) {
            problem = QStringLiteral("--folder %1: no such folder or file").arg(folder);
            return std::nullopt;
        }
    }
    options.settingsPath =
        parser.isSet(settingsOption)
            ? parser.value(settingsOption)
            : settingsFileLocation(QDir(QCoreApplication::applicationDirPath())
                                       .filePath(QStringLiteral("talvensa.ini")));
    return options;
}

// The settings of the file at path; nothing, with the message printed, when they cannot be
// loaded.
std::optional<TGlobalVariant> loadSettings(const QString &path)
{
    // A settings file that is there but cannot be read would quietly give a page in the
    // default design; it is settings that could not be loaded, and the reason is told.
    ProfileFile file(path);
    if (!file.load()) {
        print(stderr, QStringLiteral("talvensa-cli: %1: cannot read the settings file: %2\n")
                          .arg(path, file.errorString()));
        return std::nullopt;
    }
    TGlobalVariant settings;
    try {
        loadSettingsFile(path, settings);
    } catch (const TalvensaError &e) {
        print(stderr, QStringLiteral("talvensa-cli: %1: %2\n").arg(path, e.message()));
        return std::nullopt;
    }
    return settings;
}

// The line for a page without a link: most users have neither a settings file nor ~/Favorites,
// and a page of one empty folder says nothing of why. Names what was read and where else to look.
QString noLinksHint(const QStringList &sources)
{
    QStringList read;
    for (const QString &source : sources)
        read.append(QFileInfo::exists(source)
                        ? source
                        : QStringLiteral("%1 (which does not exist)").arg(source));
    return QStringLiteral("talvensa-cli: no links found in %1; --folder PATH reads another "
                          "folder or a bookmark file, and --find-bookmarks lists your browsers' "
                          "bookmark files (%2 found now)\n")
        .arg(read.join(QStringLiteral(", ")),
             QString::number(findBookmarkFiles(homeFolderPath(), userConfigFolder()).size()));
}

// What the sources could not read, and why icons asked for are missing, one line each (also
// with --quiet: the page lacks it).
void printWarning(const PageJob &job, const PageWriteReport &report)
{
    for (const QString *warning : {&report.warning, &report.iconWarning}) {
        if (warning->isEmpty())
            continue;
        if (job.sources.size() == 1) {
            print(stderr,
                  QStringLiteral("talvensa-cli: %1: %2\n").arg(job.sources.first(), *warning));
            continue;
        }
        for (const QString &line : warning->split(QLatin1Char('\n')))
            print(stderr, QStringLiteral("talvensa-cli: %1\n").arg(line));
    }
}

// "12 folders, 340 links, 56789 bytes written to page.html", with ", 3 duplicates dropped"
// under --dedup.
QString summaryLine(const CliOptions &options, const PageWriteReport &report)
{
    const QString shownPath =
        options.toStandardOutput() ? QStringLiteral("standard output") : options.output;
    QString line = QStringLiteral("%1 folders, %2 links, %3 bytes written to %4")
                       .arg(report.folders)
                       .arg(report.links)
                       .arg(report.bytes)
                       .arg(shownPath);
    if (options.dedup)
        line += QStringLiteral(", %1 duplicates dropped").arg(report.duplicates);
    return line + QLatin1Char('\n');
}

// The exit status of a write that failed, its message printed; nothing after a success.
std::optional<int> failureStatus(const CliOptions &options, const PageWriteReport &report)
{
    const QString shownPath =
        options.toStandardOutput() ? QStringLiteral("standard output") : options.output;
    switch (report.failure) {
    case PageWriteReport::Failure::SourceUnreadable:
        print(stderr, QStringLiteral("talvensa-cli: cannot read %1: %2\n")
                          .arg(report.failedSource, report.error));
        return ExitUsage;
    case PageWriteReport::Failure::WriteFailed:
        print(stderr,
              QStringLiteral("talvensa-cli: cannot write %1: %2\n").arg(shownPath, report.error));
        return ExitNotWritten;
    case PageWriteReport::Failure::OutputIsInput:
        print(stderr,
              QStringLiteral("talvensa-cli: will not write %1: %2\n").arg(shownPath, report.error));
        return ExitUsage;
    case PageWriteReport::Failure::None:
        break;
    }
    return std::nullopt;
}

// --watch: the page written, then again after each change, until a signal ends the run.
int watch(const CliOptions &options, const PageJob &job)
{
    WatchHooks hooks;
    hooks.message = [](const QString &line) {
        print(stderr, QStringLiteral("talvensa-cli: %1\n").arg(line));
    };
    bool first = true;
    QString lastWarning;
    hooks.written = [&](const PageWriteReport &report) {
        const bool wasFirst = std::exchange(first, false);
        // The first write's failure ends the run (and is told there); a later one leaves the
        // last page in place, and the next change tries again.
        if (!report.written()) {
            if (!wasFirst)
                failureStatus(options, report);
            return;
        }
        const QString warning = report.warning + QLatin1Char('\n') + report.iconWarning;
        if (warning != lastWarning)
            printWarning(job, report);
        lastWarning = warning;
        if (!options.quiet)
            print(stderr, summaryLine(options, report));
        if (wasFirst && report.links == 0)
            print(stderr, noLinksHint(job.sources));
    };
    hooks.reloadSettings = [&options] { return loadSettings(options.settingsPath); };
    hooks.sourceFromSettings = options.folders.isEmpty();
    const PageWriteReport report = watchPage(job, hooks);
    return failureStatus(options, report).value_or(ExitWritten);
}

// Writes the page the options ask for and reports it; the exit status.
int run(const CliOptions &options)
{
    const std::optional<TGlobalVariant> settings = loadSettings(options.settingsPath);
    if (!settings)
        return ExitUsage;
    PageJob job;
    job.settings = *settings;
    job.sources =
        options.folders.isEmpty() ? QStringList{settings->FavoriteFolder} : options.folders;
    job.dropDuplicates = options.dedup;
    job.settingsPath = options.settingsPath;
    job.format = options.format;
    job.favicons = options.favicons;
    job.outputPath = options.output;
    job.outputFd = options.toStandardOutput() ? STDOUT_FILENO : -1;
    job.replaceWhole = true;
    std::optional<TerminalGauge> gauge;
    if (!options.quiet && !options.watch && ::isatty(STDERR_FILENO)) {
        gauge.emplace(stderr);
        job.progress = &*gauge;
    }
    if (options.watch)
        return watch(options, job);
    const PageWriteReport report = writePage(job);
    if (gauge)
        gauge->finish(report.folders);
    if (const std::optional<int> status = failureStatus(options, report))
        return *status;
    // Also with --quiet: the page lacks what could not be read.
    printWarning(job, report);
    if (!options.quiet)
        print(options.toStandardOutput() ? stderr : stdout, summaryLine(options, report));
    // Also with --quiet: the page was written, but the run most likely read the wrong source.
    if (report.links == 0)
        print(stderr, noLinksHint(job.sources));
    return ExitWritten;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("talvensa-cli"));
    // A closed pipe on standard output is a failed write (exit 1), not a silent death.
    std::signal(SIGPIPE, SIG_IGN);

    QString problem;
    const std::optional<CliOptions> options =
        parseArguments(QCoreApplication::arguments(), problem);
    if (!options)
        return usageError(problem);
    // Before anything is read: a watch ends cleanly on SIGINT or SIGTERM from the start.
    if (options->watch)
        FileWatcher::stopOnSignals();
    switch (options->action) {
    case CliOptions::Action::ShowHelp:
        print(stdout, QString::fromLatin1(Usage) + QLatin1Char('\n') + QString::fromLatin1(Help));
        return ExitWritten;
    case CliOptions::Action::ShowVersion:
        print(stdout, versionNotice(QStringLiteral("talvensa-cli")));
        return ExitWritten;
    case CliOptions::Action::FindBookmarks: {
        // None found is no error: the list is simply empty. A profiles.ini that cannot be read
        // is noted and passed over.
        QStringList problems;
        const QList<BookmarkLocation> found =
            findBookmarkFiles(homeFolderPath(), userConfigFolder(), &problems);
        for (const QString &problem : problems)
            print(stderr, QStringLiteral("talvensa-cli: %1\n").arg(problem));
        for (const BookmarkLocation &file : found)
            print(stdout,
                  file.name() + QLatin1Char('\t') + quotedIfOdd(file.path) + QLatin1Char('\n'));
        return ExitWritten;
    }
    case CliOptions::Action::WritePage:
        break;
    }
    return run(*options);
}
