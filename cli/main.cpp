// talvensa-cli: writes the page for a Favourites tree without a display, for cron jobs and
// servers. It reads the same design settings as the program and writes with the same writer.

#include "TerminalGauge.h"

#include "generate/PageWriter.h"
#include "platform/Errors.h"
#include "settings/GlobalVariant.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "widgets/VersionInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitNotWritten = 1;
constexpr int ExitUsage = 2;

const char Usage[] = "Usage: talvensa-cli [--settings FILE] [--folder DIR] [--quiet] OUTPUT\n";

const char Help[] =
    "Writes the Talvensa page, one Shift-JIS HTML file listing every Internet shortcut (*.url)\n"
    "of a folder tree, with the design settings of the program.\n"
    "\n"
    "  OUTPUT           the page to write (an existing file is replaced); - for standard output\n"
    "  --settings FILE  the settings file to read (default: talvensa.ini beside this program\n"
    "                   when it exists or that folder is writable, else\n"
    "                   ~/.config/talvensa/talvensa.ini)\n"
    "  --folder DIR     read this folder instead of the settings' one (nothing is saved)\n"
    "  --quiet          no progress and no summary line\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 the page was written; 1 it could not be written; 2 a usage error or\n"
    "settings that could not be loaded.\n";

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

QString productVersion()
{
    QString version;
    try {
        ReadVersionValue(10, version);
    } catch (const TalvensaError &) {
    }
    return version;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("talvensa-cli"));
    // A closed pipe on standard output is a failed write (exit 1), not a silent death.
    std::signal(SIGPIPE, SIG_IGN);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QString(),
                                            QStringLiteral("FILE"));
    const QCommandLineOption folderOption(QStringLiteral("folder"), QString(),
                                          QStringLiteral("DIR"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({settingsOption, folderOption, quietOption, helpOption, versionOption});
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QString());

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        print(stdout, QString::fromLatin1(Usage) + QLatin1Char('\n') + QString::fromLatin1(Help));
        return ExitWritten;
    }
    if (parser.isSet(versionOption)) {
        print(stdout, QStringLiteral("talvensa-cli %1\n").arg(productVersion()));
        return ExitWritten;
    }
    for (const QCommandLineOption *option : {&settingsOption, &folderOption}) {
        if (parser.values(*option).size() > 1)
            return usageError(QStringLiteral("--%1 given more than once").arg(option->names()[0]));
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no OUTPUT given"));
    if (positional.size() > 1)
        return usageError(QStringLiteral("more than one OUTPUT given: %1")
                              .arg(positional.join(QLatin1Char(' '))));
    const QString output = positional.first();
    if (output.isEmpty())
        return usageError(QStringLiteral("OUTPUT is empty"));
    const bool toStandardOutput = output == QLatin1String("-");
    const bool quiet = parser.isSet(quietOption);

    std::optional<QString> folder;
    if (parser.isSet(folderOption)) {
        folder = parser.value(folderOption);
        if (!QFileInfo(*folder).isDir())
            return usageError(QStringLiteral("--folder %1: not an existing folder").arg(*folder));
    }

    SettingsFilePath = parser.isSet(settingsOption)
                           ? parser.value(settingsOption)
                           : settingsFileLocation(QDir(QCoreApplication::applicationDirPath())
                                                      .filePath(QStringLiteral("talvensa.ini")));
    // A settings file that is there but cannot be read would quietly give a page in the
    // default design; it is settings that could not be loaded.
    if (!ProfileFile(SettingsFilePath).load()) {
        print(stderr, QStringLiteral("talvensa-cli: %1: cannot read the settings file\n")
                          .arg(SettingsFilePath));
        return ExitUsage;
    }
    try {
        LoadSettings();
    } catch (const TalvensaError &e) {
        print(stderr, QStringLiteral("talvensa-cli: %1: %2\n").arg(SettingsFilePath, e.message()));
        return ExitUsage;
    }
    PageJob job;
    job.settings = GlobalVariant;
    job.source = folder ? *folder : GlobalVariant.FavoriteFolder;
    job.outputPath = output;
    job.outputFd = toStandardOutput ? STDOUT_FILENO : -1;
    std::optional<TerminalGauge> gauge;
    if (!quiet && ::isatty(STDERR_FILENO)) {
        gauge.emplace(stderr);
        job.progress = &*gauge;
    }
    const PageWriteReport report = writePage(job);
    if (gauge)
        gauge->finish(report.folders);
    const bool written = report.written();

    const QString shownPath = toStandardOutput ? QStringLiteral("standard output") : output;
    if (!written) {
        print(stderr,
              QStringLiteral("talvensa-cli: cannot write %1: %2\n").arg(shownPath, report.error));
        return ExitNotWritten;
    }
    if (!quiet) {
        print(toStandardOutput ? stderr : stdout,
              QStringLiteral("%1 folders, %2 links, %3 bytes written to %4\n")
                  .arg(report.folders)
                  .arg(report.links)
                  .arg(report.bytes)
                  .arg(shownPath));
    }
    return ExitWritten;
}
