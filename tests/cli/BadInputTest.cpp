// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Bad input end to end: talvensa-cli run on trees, shortcut files, output paths and settings
// files that anyone could leave in a folder. Each case checks what the user gets: the exit
// status, the message, the page, and that nothing but the page changed on disk. The program
// runs as a child process whose peak memory is measured (wait4), so a file of any size must be
// read with bounded memory.

#include "CliSupport.h"
#include "support/PlacesTestSupport.h"
#include "platform/ShiftJis.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Calls visit(path below root, its status) for everything under root without following
// symbolic links, a folder before what it holds, so visit may open up a folder before it is
// read.
template <typename Visit> void walkTree(const std::string &root, Visit visit)
{
    std::vector<std::string> pending{""};
    while (!pending.empty()) {
        const std::string relative = pending.back();
        pending.pop_back();
        DIR *dir = ::opendir((root + relative).c_str());
        if (!dir)
            continue;
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string path = relative + "/" + name;
            struct stat st;
            if (::lstat((root + path).c_str(), &st) != 0)
                continue;
            visit(path, st);
            if (S_ISDIR(st.st_mode))
                pending.push_back(path);
        }
        ::closedir(dir);
    }
}

// Everything under a folder: per relative path its kind, permissions, size, modification time
// and link target.
using Snapshot = std::map<std::string, std::string>;

void takeSnapshot(const std::string &root, Snapshot &snapshot)
{
    walkTree(root, [&](const std::string &path, const struct stat &st) {
        std::string description = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) +
                                  " " + std::to_string(st.st_mtim.tv_sec) + "." +
                                  std::to_string(st.st_mtim.tv_nsec);
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink((root + path).c_str(), target, sizeof target);
            description += " -> " + std::string(target, size_t(std::max<ssize_t>(n, 0)));
        }
        snapshot[path] = description;
    });
}

// The folder sections of a page: caption and link lines, in page order.
struct Section
{
    Section(QByteArray caption, std::initializer_list<QByteArray> links = {})
        : caption(std::move(caption)), links(links)
    {}
    QByteArray caption;
    QList<QByteArray> links;
    bool operator==(const Section &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Section &section)
{
    os << "[" << section.caption.toStdString() << "]";
    for (const QByteArray &link : section.links)
        os << " {" << link.toStdString() << "}";
    return os;
}

bool isWholePage(const QByteArray &page)
{
    return page.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n") &&
           page.endsWith("</a></div>\r\n</body>\r\n</html>\r\n");
}

QList<Section> sectionsOf(const QByteArray &page)
{
    QList<Section> sections;
    const QList<QByteArray> lines = page.split('\n');
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) {
        if (lines[i] == "<div class=\"FolderName\">\r") {
            QByteArray caption = lines[i + 1].chopped(1);
            EXPECT_TRUE(caption.startsWith('\t'));
            sections.append(Section(caption.sliced(1)));
        } else if (lines[i] == "<div class=\"FileList\">\r" && !sections.isEmpty()) {
            sections.last().links.append(lines[i + 1].chopped(1));
        }
    }
    return sections;
}

// Bytes of a literal, NUL bytes included.
template <size_t N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

QByteArray linkLine(const QByteArray &href, const QByteArray &title)
{
    return "\t<a href=\"" + href + "\" target=\"_blank\">" + title + "</a>";
}

QByteArray shortcut(const QByteArray &url)
{
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("run"))));
        ASSERT_TRUE(QDir().mkpath(favorites()));
        writeBytes(QFile::encodeName(settings()), "[Document]\r\nTitle=t\r\n");
    }

    void TearDown() override
    {
        // Whatever a test locked is opened again, so the folder can be removed.
        const std::string root = QFile::encodeName(m_dir.path()).toStdString();
        walkTree(root, [&](const std::string &path, const struct stat &st) {
            if (S_ISDIR(st.st_mode))
                ::chmod((root + path).c_str(), 0755);
            else if (S_ISREG(st.st_mode))
                ::chmod((root + path).c_str(), 0644);
        });
    }

    QString path(const QString &relative) const
    {
        return m_dir.filePath(QStringLiteral("data/") + relative);
    }
    QString favorites() const { return path(QStringLiteral("Fav")); }
    QByteArray fav(const QByteArray &relative) const
    {
        return QFile::encodeName(favorites()) + '/' + relative;
    }
    QString settings() const { return path(QStringLiteral("talvensa.ini")); }
    QString output() const { return path(QStringLiteral("page.html")); }

    // Runs talvensa-cli on the tree and checks that nothing under data/ but Changed changed.
    CliRun write(const QStringList &arguments, const QString &changed)
    {
        const std::string root = QFile::encodeName(path(QString())).toStdString();
        Snapshot before;
        takeSnapshot(root, before);
        CliRun run = runCli(arguments, m_dir.filePath(QStringLiteral("run")));
        Snapshot after;
        takeSnapshot(root, after);
        if (!changed.isEmpty()) {
            const std::string changedRelative =
                "/" +
                QFile::encodeName(QDir(path(QString())).relativeFilePath(changed)).toStdString();
            before.erase(changedRelative);
            after.erase(changedRelative);
            // The page takes its place by a rename in its folder, which changes the folder's time.
            const std::string folder = changedRelative.substr(0, changedRelative.rfind('/'));
            before.erase(folder);
            after.erase(folder);
        }
        EXPECT_EQ(before, after) << "something besides the page changed on disk";
        return run;
    }

    // The usual run: the tree, the settings and the page beside them.
    CliRun writePage(const QString &settingsFile = QString())
    {
        return write({QStringLiteral("--settings"),
                      settingsFile.isEmpty() ? settings() : settingsFile,
                      QStringLiteral("--folder"), favorites(), output()},
                     output());
    }

    QByteArray summary(int folders, int links) const
    {
        const QByteArray page = readBytes(output());
        return QStringLiteral("%1 folders, %2 links, %3 bytes written to %4\n")
            .arg(folders)
            .arg(links)
            .arg(page.size())
            .arg(output())
            .toUtf8();
    }

    // The usual run, which must succeed with a whole page and the summary line for folders
    // and links; the page's sections. ran, when given, gets the run itself.
    QList<Section> pageSections(int folders, int links, CliRun *ran = nullptr)
    {
        const CliRun run = writePage();
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, summary(folders, links));
        const QByteArray page = readBytes(output());
        EXPECT_TRUE(isWholePage(page));
        if (ran)
            *ran = run;
        return sectionsOf(page);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(BadInputTest, FifoSocketAndDanglingLinkNamedUrlAreNotListed)
{
    writeBytes(fav("ok.url"), shortcut("http://ok/"));
    ASSERT_EQ(::mkfifo(fav("fifo.url").constData(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = fav("socket.url");
    ASSERT_LT(size_t(socketPath.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::symlink("missing.url", fav("dangling.url").constData()), 0);

    // The FIFO is never opened: the run does not wait for a writer.
    const CliRun run = writePage();
    ::close(sock);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err, QByteArray());
    EXPECT_EQ(run.out, summary(1, 1));
    const QByteArray page = readBytes(output());
    EXPECT_TRUE(isWholePage(page));
    EXPECT_EQ(sectionsOf(page), (QList<Section>{{"", {linkLine("http://ok/", "ok")}}}));
}

TEST_F(BadInputTest, SymbolicLinkLoopEndsAndALinkOutOfTheTreeIsWalkedOnce)
{
    ASSERT_TRUE(QDir().mkpath(favorites() + QStringLiteral("/sub")));
    ASSERT_EQ(::symlink("..", fav("sub/up").constData()), 0);
    ASSERT_EQ(::symlink(".", fav("sub/self").constData()), 0);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("outside"))));
    writeBytes(QFile::encodeName(path(QStringLiteral("outside/o.url"))),
               shortcut("http://outside/"));
    ASSERT_EQ(::symlink(QFile::encodeName(path(QStringLiteral("outside"))).constData(),
                        fav("out").constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(path(QStringLiteral("outside"))).constData(),
                        fav("sub/out-again").constData()),
              0);

    QList<Section> sections = pageSections(3, 1);
    // Siblings come in the file system's order; each folder once, the first path to it kept.
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0], (Section{"", {}}));
    std::sort(sections.begin() + 1, sections.end(),
              [](const Section &a, const Section &b) { return a.caption < b.caption; });
    EXPECT_EQ(sections[1], (Section{"out", {linkLine("http://outside/", "o")}}));
    EXPECT_EQ(sections[2], (Section{"sub", {}}));
}

TEST_F(BadInputTest, UnreadableFolderAndShortcutFile)
{
    ASSERT_TRUE(QDir().mkpath(favorites() + QStringLiteral("/locked")));
    writeBytes(fav("locked/inside.url"), shortcut("http://inside/"));
    writeBytes(fav("secret.url"), shortcut("http://secret/"));
    ASSERT_EQ(::chmod(fav("locked").constData(), 0), 0);
    ASSERT_EQ(::chmod(fav("secret.url").constData(), 0), 0);

    const CliRun run = writePage();
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readBytes(output());
    EXPECT_TRUE(isWholePage(page));
    if (runningAsRoot()) {
        // Permissions do not stop root: both are read as usual.
        EXPECT_EQ(run.out, summary(2, 2));
        EXPECT_EQ(sectionsOf(page),
                  (QList<Section>{{"", {linkLine("http://secret/", "secret")}},
                                  {"locked", {linkLine("http://inside/", "inside")}}}));
    } else {
        // The folder keeps its heading with no links; the file that is there but cannot be
        // read keeps its link, with no address.
        EXPECT_EQ(run.out, summary(2, 1));
        EXPECT_EQ(sectionsOf(page),
                  (QList<Section>{{"", {linkLine("", "secret")}}, {"locked", {}}}));
    }
}

TEST_F(BadInputTest, EmptyAndTenMegabyteShortcutFiles)
{
    writeBytes(fav("empty.url"), QByteArray());
    // One value line of 10 MB: the value is cut at 2047 bytes.
    writeBytes(fav("huge.url"), "[Comment]\r\nComment=" + QByteArray(10 << 20, 'c') +
                                    "\r\n[InternetShortcut]\r\nURL=http://" +
                                    QByteArray(10 << 20, 'u') + "\r\n");
    writeBytes(QFile::encodeName(settings()), "[Document]\r\nBVKCommentFlag=1\r\n");

    const QList<Section> sections = pageSections(1, 2);
    const QByteArray span = "<span class=\"BVKComment\">";
    EXPECT_EQ(sections, (QList<Section>{{"",
                                         {linkLine("", "empty") + span + "</span>",
                                          linkLine("http://" + QByteArray(2040, 'u'), "huge") +
                                              span + QByteArray(2047, 'c') + "</span>"}}}));
}

TEST_F(BadInputTest, OneGigabyteSparseShortcutFileIsReadWithBoundedMemory)
{
    // A run over a tiny tree gives the program's own size in this build.
    writeBytes(fav("small.url"), shortcut("http://small/"));
    const CliRun baseline = writePage();
    ASSERT_EQ(baseline.exitCode, 0) << baseline.err.constData();

    // A value line of 3000 bytes, then a hole of zeros up to 1 GiB: one line of a gigabyte.
    const QByteArray big = fav("big.url");
    writeBytes(big, "[InternetShortcut]\r\nURL=" + QByteArray(3000, 'b'));
    ASSERT_EQ(::truncate(big.constData(), off_t(1) << 30), 0);

    CliRun run;
    const QList<Section> sections = pageSections(1, 2, &run);
    EXPECT_EQ(
        sections,
        (QList<Section>{
            {"", {linkLine(QByteArray(2047, 'b'), "big"), linkLine("http://small/", "small")}}}));
    EXPECT_LT(run.peakKb - baseline.peakKb, 32 * 1024)
        << "peak memory " << run.peakKb << " kB against " << baseline.peakKb << " kB";
}

TEST_F(BadInputTest, NulBytesInvalidShiftJisAndUtf16InShortcutFiles)
{
    writeBytes(fav("nul.url"), bytes("\0junk\r\n[InternetShortcut]\r\nURL=http://a\0b/\r\n"
                                     "[Comment]\r\nComment=x\0y\r\n"));
    // Bytes that are not Shift-JIS (a lone lead byte, 0xFF, 0xFD) pass to the page unchanged.
    writeBytes(fav("sjis.url"), "[InternetShortcut]\r\nURL=http://x/\x81\xFF\xFD\r\n"
                                "[Comment]\r\nComment=\x95\x5C\x8E\xA6\x81\r\n");
    // UTF-16 with a byte-order mark is read as the profile reader of Windows reads it.
    writeBytes(
        fav("utf16.url"),
        QByteArray("\xFF\xFE", 2) +
            QByteArray(reinterpret_cast<const char *>(u"[InternetShortcut]\r\nURL=http://u16/\r\n"),
                       sizeof u"[InternetShortcut]\r\nURL=http://u16/\r\n" - sizeof(char16_t)));
    writeBytes(QFile::encodeName(settings()), "[Document]\r\nBVKCommentFlag=1\r\n");

    const QList<Section> sections = pageSections(1, 3);
    const QByteArray span = "<span class=\"BVKComment\">";
    EXPECT_EQ(sections,
              (QList<Section>{{"",
                               {linkLine("http://a%00b/", "nul") + span + bytes("x\0y") + "</span>",
                                linkLine("http://x/\x81\xFF\xFD", "sjis") + span +
                                    "\x95\x5C\x8E\xA6\x81</span>",
                                linkLine("http://u16/", "utf16") + span + "</span>"}}}));
}

TEST_F(BadInputTest, NamesWithMarkupAmpersandBlanksAndCharactersOutsideShiftJis)
{
    writeBytes(fav("<b>bold.url"), shortcut("http://markup/\"><script>"));
    writeBytes(fav("a&b.url"), shortcut("http://amp/?a=1&b=2"));
    writeBytes(fav("  blanks  .url"), shortcut("http://blanks/"));
    writeBytes(fav("j\xC3\xBCrgen \xF0\x9F\x98\x80\xF0\x9F\x93\x80.url"),
               shortcut("http://outside-sjis/"));
    const QByteArray folder = "<i> & \xE8\xA1\xA8\xE7\xA4\xBA "; // "<i> & 表示 "
    ASSERT_EQ(::mkdir(fav(folder).constData(), 0755), 0);
    writeBytes(fav(folder + "/x.url"), shortcut("http://x/"));

    const QList<Section> sections = pageSections(2, 5);
    // Names are Shift-JIS in the page, "<" and ">" as entities, characters the code page cannot
    // hold as numeric references; "&" and blanks stay. In an address '"', '<' and '>' are
    // percent-encoded.
    ASSERT_EQ(sections.size(), 2);
    EXPECT_EQ(sections[1],
              (Section{"&lt;i&gt; & \x95\x5C\x8E\xA6 ", {linkLine("http://x/", "x")}}));
    QList<QByteArray> links = sections[0].links;
    std::sort(links.begin(), links.end());
    QList<QByteArray> expected{linkLine("http://markup/%22%3E%3Cscript%3E", "&lt;b&gt;bold"),
                               linkLine("http://amp/?a=1&b=2", "a&b"),
                               linkLine("http://blanks/", "  blanks  "),
                               linkLine("http://outside-sjis/", "j&#252;rgen &#128512;&#128192;")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(links, expected);
}

TEST_F(BadInputTest, NamesWithBytesThatAreNotUtf8)
{
    // Names in Shift-JIS, as a copy from a Windows system may leave them, and a byte that is
    // never text: the files are still read, and the names reach the page as their own bytes.
    writeBytes(fav("bad\xFF.url"), shortcut("http://bad/"));
    const QByteArray folder = "\x95\x5C\x8E\xA6"; // 表示
    ASSERT_EQ(::mkdir(fav(folder).constData(), 0755), 0);
    writeBytes(fav(folder + "/\x83\x65\x83\x58\x83\x67.url"), shortcut("http://test/")); // テスト

    const QList<Section> sections = pageSections(2, 2);
    EXPECT_EQ(sections,
              (QList<Section>{{"", {linkLine("http://bad/", "bad\xFF")}},
                              {folder, {linkLine("http://test/", "\x83\x65\x83\x58\x83\x67")}}}));
}

TEST_F(BadInputTest, AThousandLevelsDeep)
{
    QByteArray relative;
    QList<Section> expected{Section("")};
    QByteArray caption;
    for (int level = 0; level < 1000; ++level) {
        relative += level == 0 ? "d" : "/d";
        caption += level == 0 ? "d" : "/d";
        ASSERT_EQ(::mkdir(fav(relative).constData(), 0755), 0) << level;
        expected.append(Section(caption));
    }
    writeBytes(fav(relative + "/deep.url"), shortcut("http://deep/"));
    expected.last().links.append(linkLine("http://deep/", "deep"));

    const QList<Section> sections = pageSections(1001, 1);
    EXPECT_EQ(sections, expected);
}

// Folders deeper than the system's path limit cannot be opened by their paths: the page holds
// what could be read, and standard error says how many folders could not be read, and why.
TEST_F(BadInputTest, DeeperThanThePathLimitSaysWhatCouldNotBeRead)
{
    const QByteArray name(200, 'n');
    int folder = ::open(QFile::encodeName(favorites()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    int levels = 0;
    for (; levels < 30; ++levels) { // 30 * 201 bytes: beyond PATH_MAX (4096)
        ASSERT_EQ(::mkdirat(folder, name.constData(), 0755), 0) << levels;
        const int next = ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(folder);
        ASSERT_GE(next, 0);
        folder = next;
    }
    ::close(folder);
    writeBytes(fav("top.url"), shortcut("http://top/"));

    CliRun run;
    const QList<Section> sections = pageSections(22, 1, &run);
    EXPECT_EQ(sections.first(), (Section{"", {linkLine("http://top/", "top")}}));
    EXPECT_TRUE(run.err.contains(": 1 folder could not be read: File name too long\n"))
        << run.err.constData();
    // A tree this deep is removed by a program that walks it by descriptors, as rm does.
    QProcess remove;
    remove.start(QStringLiteral("rm"), {QStringLiteral("-rf"), fav(name)});
    EXPECT_TRUE(remove.waitForFinished(60000) && remove.exitCode() == 0);
}

TEST_F(BadInputTest, FiftyThousandShortcutsInOneFolder)
{
    // Hard links to one file: 50,000 shortcuts that cost directory entries only.
    const QByteArray first = fav("00000.url");
    writeBytes(first, shortcut("http://many/"));
    for (int i = 1; i < 50000; ++i) {
        const QByteArray name = fav(QByteArray::number(i).rightJustified(5, '0') + ".url");
        ASSERT_EQ(::link(first.constData(), name.constData()), 0) << i;
    }

    const QList<Section> sections = pageSections(1, 50000);
    ASSERT_EQ(sections.size(), 1);
    ASSERT_EQ(sections[0].links.size(), 50000);
    // Sorted by name.
    for (int i : {0, 1, 9999, 49999})
        EXPECT_EQ(sections[0].links[i],
                  linkLine("http://many/", QByteArray::number(i).rightJustified(5, '0')));
}

// Data loss: an output that is one of the files the page is made from (the bookmark file, its
// log, the settings file), by any name, is refused with status 2, and nothing is touched.
TEST_F(BadInputTest, AnOutputThatIsOneOfTheInputsIsRefused)
{
    const QString netscape = path(QStringLiteral("bookmarks.html"));
    writeBytes(QFile::encodeName(netscape),
               "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n");
    const QString places = path(QStringLiteral("places.sqlite"));
    {
        PlacesDatabase database(places);
        database.addRoots();
    }
    writeBytes(QFile::encodeName(places + QStringLiteral("-wal")), QByteArray());
    const QString link = path(QStringLiteral("link-to-bookmarks.html"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(netscape).constData(), QFile::encodeName(link).constData()), 0);

    const struct
    {
        QString source;
        QString output;
    } cases[] = {
        {netscape, netscape},
        {netscape, link},
        {link, netscape},
        {places, places},
        {places, places + QStringLiteral("-wal")},
        {netscape, settings()},
    };
    for (const auto &c : cases) {
        const CliRun run = write({QStringLiteral("--settings"), settings(),
                                  QStringLiteral("--folder"), c.source, c.output},
                                 QString());
        EXPECT_EQ(run.exitCode, 2) << c.output.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("talvensa-cli: will not write %1: it is one of the files "
                                          "the page is made from\n")
                               .arg(c.output)
                               .toUtf8());
    }
    // A copy is another file: written as asked.
    EXPECT_EQ(write({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), netscape,
                     output()},
                    output())
                  .exitCode,
              0);
}

TEST_F(BadInputTest, OutputPathsThatCannotBeWritten)
{
    writeBytes(fav("ok.url"), shortcut("http://ok/"));
    const QStringList tree{QStringLiteral("--settings"), settings(), QStringLiteral("--folder"),
                           favorites()};
    auto expectRefused = [&](const QString &target, const char *reason) {
        const CliRun run = write(tree + QStringList{target}, QString());
        EXPECT_EQ(run.exitCode, 1) << target.toStdString();
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err, QStringLiteral("talvensa-cli: cannot write %1: %2\n")
                               .arg(target, QLatin1String(reason))
                               .toUtf8());
    };

    // A folder; a file in a folder that does not exist (which is not made).
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("a-folder"))));
    expectRefused(path(QStringLiteral("a-folder")), "Is a directory");
    expectRefused(path(QStringLiteral("missing/page.html")), "No such file or directory");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));

    // A full disk: every write fails.
    {
        const CliRun run = write(tree + QStringList{QStringLiteral("/dev/full")}, QString());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err, "talvensa-cli: cannot write /dev/full: No space left on device\n");
    }

    // A read-only file: kept as it is, except for root, whom permissions do not stop.
    const QString readOnly = path(QStringLiteral("read-only.html"));
    writeBytes(QFile::encodeName(readOnly), "keep me");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    if (runningAsRoot()) {
        const CliRun run = write(tree + QStringList{readOnly}, readOnly);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_TRUE(isWholePage(readBytes(readOnly)));
    } else {
        expectRefused(readOnly, "Permission denied");
        EXPECT_EQ(readBytes(readOnly), QByteArray("keep me"));
    }
}

TEST_F(BadInputTest, OutputPathThatIsOneOfTheShortcuts)
{
    writeBytes(fav("a.url"), shortcut("http://a/"));
    writeBytes(fav("self.url"), shortcut("http://self/"));
    const QString self = QFile::decodeName(fav("self.url"));

    // The shortcut is replaced by the page, as asked. The page takes its place only once it is
    // whole, so the shortcut is read as it was. Every other file stays as it was.
    const CliRun run = write(
        {QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), favorites(), self},
        self);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readBytes(self);
    EXPECT_TRUE(isWholePage(page));
    EXPECT_EQ(
        sectionsOf(page),
        (QList<Section>{{"", {linkLine("http://a/", "a"), linkLine("http://self/", "self")}}}));
}

TEST_F(BadInputTest, SettingsFilesOfGarbageEmptyAndUnreadable)
{
    writeBytes(fav("ok.url"), shortcut("http://ok/"));
    const QList<Section> onePage{{"", {linkLine("http://ok/", "ok")}}};
    auto expectDefaultPage = [&](const CliRun &run) {
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.err, QByteArray());
        const QByteArray page = readBytes(output());
        EXPECT_TRUE(isWholePage(page));
        // The default title and design.
        EXPECT_TRUE(page.contains("<title>" + toShiftJis(u"お気に入り一覧") + "</title>"));
        EXPECT_TRUE(page.contains("\tcolor: #FF0000;\r\n"));
        EXPECT_EQ(sectionsOf(page), onePage);
    };

    // Random bytes hold no setting: every setting takes its default.
    const QString garbage = path(QStringLiteral("garbage.ini"));
    writeBytes(QFile::encodeName(garbage),
               readBytes(QStringLiteral(TALVENSA_TEST_DATA "/settings/bad-garbage.ini")));
    expectDefaultPage(writePage(garbage));

    const QString empty = path(QStringLiteral("empty.ini"));
    writeBytes(QFile::encodeName(empty), QByteArray());
    expectDefaultPage(writePage(empty));

    // A settings file that is there but cannot be read is an error, not a page in the
    // default design; root reads it.
    const QString unreadable = path(QStringLiteral("unreadable.ini"));
    writeBytes(QFile::encodeName(unreadable), "[Document]\r\nTitle=mine\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(unreadable).constData(), 0), 0);
    QFile::remove(output());
    const CliRun run = writePage(unreadable);
    if (runningAsRoot()) {
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_TRUE(readBytes(output()).contains("<title>mine</title>"));
    } else {
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QStringLiteral("talvensa-cli: %1: cannot read the settings file: "
                                          "Permission denied\n")
                               .arg(unreadable)
                               .toUtf8());
        EXPECT_FALSE(QFileInfo::exists(output()));
    }
}

// Hangs: files that are no regular files where the program reads a file whole or writes its
// page. Each run ends at once with a clear error (a FIFO would block it for ever, /dev/zero
// would fill the memory or the disk); an output FIFO that something reads still gets the page.
TEST_F(BadInputTest, FifosAndDevicesGivenAsFilesEndTheRunAtOnce)
{
    writeBytes(fav("ok.url"), shortcut("http://ok/"));
    const QStringList tree{QStringLiteral("--folder"), favorites()};

    // Settings: status 2, as for any settings file that cannot be read, and no page.
    const QString settingsFifo = path(QStringLiteral("settings-fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(settingsFifo).constData(), 0644), 0);
    for (const QString &settingsFile : {settingsFifo, QStringLiteral("/dev/zero")}) {
        const CliRun run = write(QStringList{QStringLiteral("--settings"), settingsFile} + tree +
                                     QStringList{output()},
                                 QString());
        EXPECT_EQ(run.exitCode, 2) << settingsFile.toStdString();
        EXPECT_EQ(run.err.toStdString(),
                  QStringLiteral("talvensa-cli: %1: cannot read the settings file: not a regular "
                                 "file\n")
                      .arg(settingsFile)
                      .toStdString());
        EXPECT_FALSE(QFileInfo::exists(output()));
    }

    // An output FIFO that nothing reads: status 1. The FIFO stays as it was.
    const QString outputFifo = path(QStringLiteral("page-fifo"));
    const QByteArray outputFifoName = QFile::encodeName(outputFifo);
    ASSERT_EQ(::mkfifo(outputFifoName.constData(), 0644), 0);
    const QStringList withSettings = QStringList{QStringLiteral("--settings"), settings()} + tree;
    {
        const CliRun run = write(withSettings + QStringList{outputFifo}, QString());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err.toStdString(),
                  QStringLiteral("talvensa-cli: cannot write %1: a FIFO that nothing "
                                 "reads\n")
                      .arg(outputFifo)
                      .toStdString());
    }
    // One that is read gets the whole page, as a pipe does. The page fits in the FIFO's buffer,
    // so it is read here once the run has ended.
    {
        const int reader = ::open(outputFifoName.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        const CliRun run = write(withSettings + QStringList{outputFifo}, outputFifo);
        QByteArray page;
        char buffer[4096];
        for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
            page.append(buffer, n);
        ::close(reader);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_TRUE(isWholePage(page));
        EXPECT_EQ(sectionsOf(page), (QList<Section>{{"", {linkLine("http://ok/", "ok")}}}));
    }

    // A places.sqlite whose log is a link to /dev/zero: nothing is copied from it.
    const QString places = path(QStringLiteral("profile/places.sqlite"));
    writeBytes(places, bytes("SQLite format 3\0") + QByteArray(4080, '\0'));
    ASSERT_EQ(
        ::symlink("/dev/zero", QFile::encodeName(places + QStringLiteral("-wal")).constData()), 0);
    {
        const CliRun run = write({QStringLiteral("--settings"), settings(),
                                  QStringLiteral("--folder"), places, output()},
                                 QString());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.toStdString(),
                  QStringLiteral("talvensa-cli: cannot read %1: cannot copy its log "
                                 "%1-wal: not a regular file\n")
                      .arg(places)
                      .toStdString());
        EXPECT_FALSE(QFileInfo::exists(output()));
    }
}

// Limits: a file far larger than any of its kind is refused before it is read, with the limit
// in the reason, in a moment and with little memory. All of them are sparse, so they cost no
// disk: a 2 GiB "Netscape" bookmark file (which would take four gigabytes of memory and more
// than a minute), a 1 GiB log of a places.sqlite (which would be copied to the temporary
// folder), a 64 MiB settings file.
TEST_F(BadInputTest, FilesLargerThanTheirKindAreRefusedBeforeTheyAreRead)
{
    writeBytes(fav("small.url"), shortcut("http://small/"));
    const CliRun baseline = writePage();
    ASSERT_EQ(baseline.exitCode, 0) << baseline.err.constData();
    QFile::remove(output());
    auto sparse = [](const QString &file, const QByteArray &head, off_t size) {
        writeBytes(file, head);
        ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), size), 0);
    };
    auto expectRefused = [&](const CliRun &run, const std::string &message) {
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.toStdString(), message);
        EXPECT_FALSE(QFileInfo::exists(output()));
        EXPECT_LT(run.peakKb - baseline.peakKb, 32 * 1024)
            << "peak memory " << run.peakKb << " kB against " << baseline.peakKb << " kB";
    };

    const QString netscape = path(QStringLiteral("bookmarks.html"));
    sparse(netscape,
           "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n",
           off_t(2) << 30);
    expectRefused(write({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"),
                         netscape, output()},
                        QString()),
                  QStringLiteral("talvensa-cli: cannot read %1: larger than 512 MiB\n")
                      .arg(netscape)
                      .toStdString());

    const QString places = path(QStringLiteral("profile/places.sqlite"));
    writeBytes(places, bytes("SQLite format 3\0") + QByteArray(4080, '\0'));
    sparse(places + QStringLiteral("-wal"), "x", off_t(1) << 30);
    expectRefused(write({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"),
                         places, output()},
                        QString()),
                  QStringLiteral("talvensa-cli: cannot read %1: cannot copy its log %1-wal: "
                                 "larger than 512 MiB\n")
                      .arg(places)
                      .toStdString());

    const QString bigSettings = path(QStringLiteral("big.ini"));
    sparse(bigSettings, "[Document]\r\nTitle=big\r\n", off_t(64) << 20);
    expectRefused(writePage(bigSettings),
                  QStringLiteral("talvensa-cli: %1: cannot read the settings file: larger than "
                                 "4 MiB\n")
                      .arg(bigSettings)
                      .toStdString());
}

// --find-bookmarks: a profiles.ini that is a FIFO or far too large is passed over with a note
// instead of blocking the run or filling the memory, and a path that holds a line break or a
// tab (a profile folder can be named so) is printed quoted as ls quotes it, so that it cannot
// pass for a line of its own and can be given to --folder as it is printed.
TEST_F(BadInputTest, FindBookmarksSurvivesOddProfilesAndQuotesOddPaths)
{
    const QString home = path(QStringLiteral("home"));
    const QString firefox = home + QStringLiteral("/.mozilla/firefox");
    ASSERT_TRUE(QDir().mkpath(firefox));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(firefox + QStringLiteral("/profiles.ini")).constData(), 0644),
        0);
    const QString snap = home + QStringLiteral("/snap/firefox/common/.mozilla/firefox");
    writeBytes(snap + QStringLiteral("/profiles.ini"), "[Profile0]\nIsRelative=1\nPath=p\n");
    ASSERT_EQ(::truncate(QFile::encodeName(snap + QStringLiteral("/profiles.ini")).constData(),
                         off_t(64) << 20),
              0);
    writeBytes(snap + QStringLiteral("/p/places.sqlite"), "x");
    const QString chromium = home + QStringLiteral("/.config/chromium");
    writeBytes(chromium + QStringLiteral("/Default/Bookmarks"), "x");
    writeBytes(chromium + QStringLiteral("/Forged\nFirefox\tit's/Bookmarks"), "x");

    const CliRun run =
        runCli({QStringLiteral("--find-bookmarks")}, m_dir.filePath(QStringLiteral("run")),
               {QStringLiteral("HOME=") + home, QStringLiteral("XDG_CONFIG_HOME")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(run.out).toStdString(),
              // The profile's name is one field: its line break and tab are blanks there.
              QStringLiteral("Chromium (Default)\t%1/Default/Bookmarks\n"
                             "Chromium (Forged Firefox it's)\t"
                             "'%1/Forged'$'\\n''Firefox'$'\\t''it'\\''s/Bookmarks'\n")
                  .arg(chromium)
                  .toStdString());
    EXPECT_EQ(QString::fromUtf8(run.err).toStdString(),
              QStringLiteral("talvensa-cli: %1/profiles.ini: not a regular file; its profiles "
                             "are not listed\n"
                             "talvensa-cli: %2/profiles.ini: larger than 4 MiB; its profiles are "
                             "not listed\n")
                  .arg(firefox, snap)
                  .toStdString());
}
