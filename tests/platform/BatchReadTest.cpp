// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/BatchRead.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <functional>
#include <span>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

constexpr size_t ReadSize = 64;

// What the reads of a set of descriptors gave: the bytes of each, or -errno.
struct Outcome
{
    ssize_t result = 0;
    QByteArray bytes;
    bool operator==(const Outcome &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Outcome &outcome)
{
    return out << outcome.result << " \"" << outcome.bytes.toStdString() << '"';
}

// Descriptors of every kind a reader meets, opened afresh each time, so that a batch and plain
// read() can be given the same ones in the same state: regular files shorter than a read, as
// long, longer; an empty one; a folder; pipes with and without data; a descriptor that is closed.
class Descriptors
{
public:
    explicit Descriptors(const QString &dir)
    {
        const auto file = [&](const char *name, const QByteArray &bytes) {
            const QByteArray path = QFile::encodeName(dir) + '/' + name;
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            EXPECT_GE(fd, 0);
            EXPECT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
            ::close(fd);
            m_fds.push_back(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        };
        file("short", "[InternetShortcut]\r\nURL=http://example.org/\r\n");
        file("empty", QByteArray());
        file("exact", QByteArray(ReadSize, 'e'));
        file("long", QByteArray(ReadSize, 'a') + QByteArray(ReadSize, 'b') + "end");
        m_fds.push_back(::open(QFile::encodeName(dir).constData(), O_RDONLY | O_NONBLOCK));
        for (const bool withData : {false, true}) {
            std::array<int, 2> ends{};
            EXPECT_EQ(::pipe2(ends.data(), O_NONBLOCK | O_CLOEXEC), 0);
            if (withData) {
                EXPECT_EQ(::write(ends[1], "piped", 5), 5);
            }
            m_pipeWriters.push_back(ends[1]);
            m_fds.push_back(ends[0]);
        }
        const int closed = ::dup(m_fds.front());
        ::close(closed);
        m_fds.push_back(closed);
    }
    ~Descriptors()
    {
        for (const int fd : m_fds)
            ::close(fd);
        for (const int fd : m_pipeWriters)
            ::close(fd);
    }
    const std::vector<int> &fds() const { return m_fds; }

private:
    std::vector<int> m_fds;
    std::vector<int> m_pipeWriters;
};

// Reads each descriptor rounds times with read, which reads them all at once.
using ReadAll =
    std::function<void(const std::vector<int> &, std::vector<char *> &, std::vector<ssize_t> &)>;
std::vector<std::vector<Outcome>> readRounds(const QString &dir, int rounds, const ReadAll &read)
{
    const Descriptors descriptors(dir);
    const size_t count = descriptors.fds().size();
    std::vector<std::vector<Outcome>> outcomes;
    for (int round = 0; round < rounds; ++round) {
        std::vector<QByteArray> buffers(count, QByteArray(ReadSize, '\0'));
        std::vector<char *> pointers;
        for (QByteArray &buffer : buffers)
            pointers.push_back(buffer.data());
        std::vector<ssize_t> results(count);
        read(descriptors.fds(), pointers, results);
        std::vector<Outcome> outcome;
        for (size_t i = 0; i < count; ++i)
            outcome.push_back(
                {results[i], results[i] > 0 ? buffers[i].first(results[i]) : QByteArray()});
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

} // namespace

// Each file gives what read() gives it, errors included, and the next read goes on from where
// the last one ended.
TEST(BatchReadTest, ReadsEachFileAsReadWould)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr int Rounds = 3; // the long file takes three reads to its end
    const std::vector<std::vector<Outcome>> expected =
        readRounds(dir.path(), Rounds,
                   [](const std::vector<int> &fds, std::vector<char *> &buffers,
                      std::vector<ssize_t> &results) {
                       for (size_t i = 0; i < fds.size(); ++i) {
                           const ssize_t n = ::read(fds[i], buffers[i], ReadSize);
                           results[i] = n < 0 ? -errno : n;
                       }
                   });
    // What read() gives, so that the comparison below compares something: the long file ends in
    // the third read, the empty pipe would block, the folder and the closed descriptor fail.
    ASSERT_EQ(expected[2][3], (Outcome{3, "end"}));
    ASSERT_EQ(expected[0][5], (Outcome{-EAGAIN, {}}));
    ASSERT_EQ(expected[0][4], (Outcome{-EISDIR, {}}));
    ASSERT_EQ(expected[0][7], (Outcome{-EBADF, {}}));

    BatchRead batch(int(expected[0].size()));
    if (!batch.isBatched())
        GTEST_SKIP() << "this system does not read files at once; they are read in turn";
    EXPECT_TRUE(BatchRead::isAvailable());
    const std::vector<std::vector<Outcome>> batched = readRounds(
        dir.path(), Rounds,
        [&](const std::vector<int> &fds, std::vector<char *> &buffers,
            std::vector<ssize_t> &results) { batch.read(fds, buffers, ReadSize, results); });
    EXPECT_EQ(batched, expected);

    // Fewer files than it holds, and none at all.
    std::vector<ssize_t> none;
    batch.read({}, {}, ReadSize, none);
    const std::vector<std::vector<Outcome>> few =
        readRounds(dir.path(), 1,
                   [&](const std::vector<int> &fds, std::vector<char *> &buffers,
                       std::vector<ssize_t> &results) {
                       batch.read(std::span(fds).first(2), std::span(buffers).first(2), ReadSize,
                                  std::span(results).first(2));
                   });
    EXPECT_EQ(few[0][0], expected[0][0]);
    EXPECT_EQ(few[0][1], expected[0][1]);
}
