// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

// Running talvensa-cli (or another program) as a child process from the command-line tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

struct CliRun
{
    int exitCode = -1; // -1 when the program did not exit normally
    QByteArray out;
    QByteArray err;
    long peakKb = 0; // peak resident memory of the run
};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a file at a native path (any bytes), replacing it.
inline void writeBytes(const QByteArray &nativePath, const QByteArray &bytes)
{
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << nativePath.constData();
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

// The same at a path given as text, its folder made first.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(QFile::encodeName(path), bytes);
}

// Runs program (an absolute path) with standard input from /dev/null and standard output and
// error sent to files in the folder scratch, with LC_ALL=C.UTF-8 so that the system's reasons
// are in English. environment sets ("NAME=value") or removes ("NAME") variables of this
// process's environment for the run. Waits at most a minute, then kills it and fails the test.
inline CliRun runProgram(const QString &program, const QStringList &arguments,
                         const QString &scratch, const QStringList &environment = {})
{
    const QByteArray outPath = QFile::encodeName(scratch + QStringLiteral("/stdout"));
    const QByteArray errPath = QFile::encodeName(scratch + QStringLiteral("/stderr"));
    QDir().mkpath(scratch);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);

    std::vector<QByteArray> args{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        args.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : args)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> env{"LC_ALL=C.UTF-8"};
    QList<QByteArray> replaced{"LC_ALL="};
    for (const QString &entry : environment) {
        const QByteArray bytes = QFile::encodeName(entry);
        const qsizetype equals = bytes.indexOf('=');
        replaced.append(equals < 0 ? bytes + '=' : bytes.first(equals + 1));
        if (equals >= 0)
            env.push_back(bytes);
    }
    for (char **e = environ; *e; ++e) {
        if (std::none_of(replaced.cbegin(), replaced.cend(), [e](const QByteArray &name) {
                return QByteArrayView(*e).startsWith(name);
            }))
            env.emplace_back(*e);
    }
    std::vector<char *> envp;
    for (QByteArray &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    CliRun run;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, WNOHANG, &usage) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            ADD_FAILURE() << argv[0] << " did not finish within a minute";
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKb = usage.ru_maxrss;
    run.out = readBytes(QFile::decodeName(outPath));
    run.err = readBytes(QFile::decodeName(errPath));
    return run;
}

// The built talvensa-cli.
inline CliRun runCli(const QStringList &arguments, const QString &scratch,
                     const QStringList &environment = {})
{
    return runProgram(QStringLiteral(TALVENSA_CLI), arguments, scratch, environment);
}
