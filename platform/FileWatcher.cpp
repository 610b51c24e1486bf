// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/FileWatcher.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
int g_stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    g_stop = 1;
    if (g_stopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(g_stopPipe[1], &byte, 1);
    }
    errno = saved;
}

constexpr uint32_t WatchedChanges = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB |
                                    IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                    IN_ONLYDIR | IN_EXCL_UNLINK;

} // namespace

FileWatcher::FileWatcher()
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        m_error = systemReason(errno);
}

FileWatcher::~FileWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileWatcher::watchFolder(const QByteArray &nativePath, bool *limitReached)
{
    if (limitReached)
        *limitReached = false;
    if (m_fd < 0)
        return -1;
    const int watch = ::inotify_add_watch(m_fd, nativePath.constData(), WatchedChanges);
    if (watch < 0) {
        const int error = errno;
        // ENOSPC: the user's limit on watches (fs.inotify.max_user_watches).
        if (limitReached)
            *limitReached = error == ENOSPC;
        m_error = error == ENOSPC ? QStringLiteral("the system's limit on file watches is reached")
                                  : systemReason(error);
    } else {
        ++m_holders[watch];
    }
    return watch;
}

void FileWatcher::unwatch(int watch)
{
    const auto it = m_holders.find(watch);
    if (m_fd < 0 || it == m_holders.end())
        return;
    if (--it->second == 0) {
        m_holders.erase(it);
        ::inotify_rm_watch(m_fd, watch);
    }
}

bool FileWatcher::wait(int timeoutMs, std::vector<Event> &events)
{
    if (g_stop)
        return false;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {g_stopPipe[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, timeoutMs);
    if (g_stop)
        return false;
    if (ready <= 0 || !(fds[0].revents & POLLIN))
        return true;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
        if (size <= 0)
            break;
        for (ssize_t at = 0; at < size;) {
            const auto *raw = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + raw->len);
            Event event;
            event.watch = raw->wd;
            event.folder = raw->mask & IN_ISDIR;
            if (raw->len > 0)
                event.name = QByteArray(raw->name, qsizetype(std::strlen(raw->name)));
            if (raw->mask & IN_Q_OVERFLOW) {
                event.watch = -1;
                event.change = Change::Overflow;
            } else if (raw->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                event.change = Change::Gone;
                // The system has ended the watch (the folder is gone) or will end it.
                if (raw->mask & IN_IGNORED)
                    m_holders.erase(raw->wd);
            } else if (raw->mask & (IN_CREATE | IN_MOVED_TO)) {
                event.change = Change::Created;
            } else if (raw->mask & (IN_DELETE | IN_MOVED_FROM)) {
                event.change = Change::Removed;
            } else {
                event.change = Change::Changed;
            }
            events.push_back(std::move(event));
        }
    }
    return !g_stop;
}

void FileWatcher::stopOnSignals()
{
    if (g_stopPipe[0] < 0 && ::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_stopPipe[0] = g_stopPipe[1] = -1;
    struct sigaction action
    {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a wait ends at once
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool FileWatcher::stopRequested()
{
    return g_stop != 0;
}
