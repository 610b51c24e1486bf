// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ReadAhead.h"

#include "platform/BatchRead.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <span>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Memory a slot keeps for the next file after its values were taken; a slot that once held
// longer values gives the rest back.
constexpr qsizetype KeptSlotBytes = 1024;

// Files queued that wake a reader while the files are in memory, and the most it takes at once
// then.
constexpr quint64 WarmRun = 64;

// Folders waiting to be read at most; a walk asks for few at a time.
constexpr size_t MaxWaitingFolders = 64;

// Opens name in the folder folderFd only when the whole path is found in memory, so the call
// never waits for the disk. -1 otherwise, with errno EAGAIN when something would have to be
// read from the disk.
int openIfInMemory(int folderFd, const char *name, int flags)
{
    open_how how{};
    how.flags = quint64(flags);
    how.resolve = RESOLVE_CACHED;
    return int(::syscall(SYS_openat2, folderFd, name, &how, sizeof how));
}

// Whether a failed openIfInMemory() says the disk would have been read, or that this system
// cannot tell (a kernel without the call or the flag, a sandbox that refuses it).
bool notKnownInMemory(int error)
{
    return error == EAGAIN || error == ENOSYS || error == EINVAL || error == EPERM ||
           error == E2BIG;
}

// Reads the listing of a folder, for the cache's sake only.
void readListing(const QByteArray &path)
{
    if (DIR *dir = ::opendir(path.constData())) {
        while (::readdir(dir)) {
        }
        ::closedir(dir);
    }
}

} // namespace

struct ReadAhead::Batch
{
    explicit Batch(int files)
        : read(files), bytes(size_t(files) * ShortcutReader::ReadSize), fds(size_t(files)),
          buffers(size_t(files)), results(size_t(files)), slots(size_t(files))
    {
        for (size_t i = 0; i < buffers.size(); ++i)
            buffers[i] = bytes.data() + i * ShortcutReader::ReadSize;
    }

    BatchRead read;
    std::vector<char> bytes;
    std::vector<int> fds;
    std::vector<char *> buffers; // one for each file, in bytes
    std::vector<ssize_t> results;
    std::vector<Slot *> slots; // the slot of each file opened
};

ReadAhead::ReadAhead() : ReadAhead(Window()) {}

ReadAhead::ReadAhead(Window window) : m_window(window)
{
    m_window.files = std::max(1, window.files);
    m_reader.setReadsDates(window.dates);
    // One slot more than the window: the file taken last keeps its slot while its views are in
    // use.
    m_slots.resize(size_t(m_window.files) + 1);
    if (m_window.cold)
        startReaders(true);
    else if (std::thread::hardware_concurrency() > 1)
        startReaders(false);
}

ReadAhead::~ReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void ReadAhead::startReaders(bool cold)
{
    // Asked only on a cold cache, as it costs the system a little.
    const bool batched = cold && m_window.batchFiles > 1 && BatchRead::isAvailable();
    const int count = !cold     ? m_window.warmReaders
                      : batched ? m_window.batchReaders
                                : m_window.readers;
    {
        const std::lock_guard lock(m_mutex);
        if (m_cold || (!cold && m_readersStarted))
            return;
        m_readersStarted = true;
        m_cold = cold;
        m_coldRun = batched ? quint64(m_window.batchFiles) : 1;
    }
    try {
        while (int(m_threads.size()) < count)
            m_threads.emplace_back(&ReadAhead::readerLoop, this);
    } catch (const std::system_error &) {
        // No more threads: the ones started read ahead, or the files are read as they are taken.
    }
}

bool ReadAhead::isReadingAhead() const
{
    return !m_threads.empty();
}

bool ReadAhead::hasRoom()
{
    const std::lock_guard lock(m_mutex);
    return hasRoomLocked();
}

bool ReadAhead::hasRoomLocked() const
{
    const quint64 waiting = m_tail - m_head - (m_taken ? 1 : 0);
    return waiting == 0 || (waiting < quint64(m_window.files) && m_bytes < m_window.bytes);
}

bool ReadAhead::add(int folderFd, const char *nativeName)
{
    bool readers;
    {
        const std::lock_guard lock(m_mutex);
        if (!hasRoomLocked())
            return false;
        Slot &slot = m_slots[m_tail % m_slots.size()];
        slot.folderFd = folderFd;
        slot.nativeName = nativeName;
        slot.state = State::Queued;
        ++m_tail;
        // While the files are in memory a reader is woken for a run of files, not for each: a
        // wake costs about as much as reading a small file.
        readers = m_sleepingReaders > 0 && (m_cold || m_tail - m_next >= WarmRun);
    }
    if (readers)
        m_work.notify_one();
    return true;
}

void ReadAhead::warmFolder(const QString &path)
{
    const QByteArray nativePath = textToFileName(path);
    if (!m_cold) {
        const int fd = openIfInMemory(AT_FDCWD, nativePath.constData(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0) {
            ::close(fd);
            return;
        }
        // A folder that is gone or cannot be opened is the walk's to find.
        if (!notKnownInMemory(errno))
            return;
        startReaders(true);
    }
    {
        const std::lock_guard lock(m_mutex);
        if (m_folders.size() >= MaxWaitingFolders)
            return;
        m_folders.push_back(nativePath);
    }
    m_work.notify_one();
}

void ReadAhead::keep(Slot &slot, bool present, ShortcutReader &reader)
{
    slot.present = present;
    slot.values.resize(0);
    slot.urlSize = 0;
    slot.commentSize = 0;
    if (!present)
        return;
    const ShortcutReader::ValueViews values = reader.valueViews();
    slot.values.append(values.url);
    slot.values.append(values.comment);
    slot.values.append(values.iconFile);
    slot.urlSize = values.url.size();
    slot.commentSize = values.comment.size();
    slot.utf8 = values.utf8;
    slot.unicodeUrl = values.unicodeUrl;
    slot.modified = values.modified;
}

void ReadAhead::finishLocked(Slot &slot)
{
    slot.state = State::Done;
    m_bytes += slot.values.size();
    if (m_waiting && &slot == &m_slots[m_head % m_slots.size()]) {
        m_waiting = false;
        m_done.notify_one();
    }
}

void ReadAhead::readerLoop()
{
    std::optional<Batch> batch; // made when the reader first reads a cold run
    ShortcutReader reader;
    reader.setReadsDates(m_window.dates);
    std::unique_lock lock(m_mutex);
    for (;;) {
        // A file is begun only while the values held leave room in the window's bytes; the
        // page reads the next file itself when it comes to it first.
        ++m_sleepingReaders;
        m_work.wait(lock, [this] {
            return m_stop || !m_folders.empty() || (m_next < m_tail && m_bytes < m_window.bytes);
        });
        --m_sleepingReaders;
        if (m_stop)
            return;
        // Folders first: the walk waits for them, and the files queued after them.
        if (!m_folders.empty()) {
            const QByteArray path = std::move(m_folders.front());
            m_folders.pop_front();
            lock.unlock();
            readListing(path);
            lock.lock();
            continue;
        }
        // A cold reader takes one file, or a run it reads at once, as the disk answers many
        // requests at once; a warm one a run of files, so that the two threads meet at the lock
        // once a run and not once a file.
        const bool cold = m_cold;
        const quint64 first = m_next;
        m_next += std::min(cold ? m_coldRun : WarmRun, m_tail - m_next);
        const quint64 end = m_next;
        for (quint64 i = first; i < end; ++i)
            m_slots[i % m_slots.size()].state = State::Reading;
        // The slots are this thread's until they are marked done: the page waits for them, and
        // they are not used for other files before the page has taken them.
        lock.unlock();
        bool inMemory = true;
        if (cold && end - first > 1) {
            if (!batch)
                batch.emplace(int(m_coldRun));
            readBatch(first, end, reader, *batch);
        } else {
            for (quint64 i = first; i < end; ++i)
                inMemory = readSlot(m_slots[i % m_slots.size()], reader, cold) && inMemory;
        }
        lock.lock();
        if (!inMemory)
            m_foundCold = true;
        for (quint64 i = first; i < end; ++i)
            finishLocked(m_slots[i % m_slots.size()]);
    }
}

bool ReadAhead::readSlot(Slot &slot, ShortcutReader &reader, bool cold)
{
    reader.reset();
    if (!cold) {
        const int fd = openIfInMemory(slot.folderFd, slot.nativeName, ShortcutReader::OpenFlags);
        if (fd >= 0) {
            reader.readOpen(fd);
            keep(slot, true, reader);
            return true;
        }
        cold = notKnownInMemory(errno);
    }
    keep(slot, reader.read(slot.nativeName, slot.folderFd), reader);
    return !cold;
}

void ReadAhead::readBatch(quint64 first, quint64 end, ShortcutReader &reader, Batch &batch)
{
    size_t opened = 0;
    for (quint64 i = first; i < end; ++i) {
        Slot &slot = m_slots[i % m_slots.size()];
        const int fd = ::openat(slot.folderFd, slot.nativeName, ShortcutReader::OpenFlags);
        if (fd < 0) {
            // Gone or unreadable: read() tells which, as it does for a file read alone.
            reader.reset();
            keep(slot, reader.read(slot.nativeName, slot.folderFd), reader);
            continue;
        }
        batch.fds[opened] = fd;
        batch.slots[opened] = &slot;
        ++opened;
    }
    batch.read.read(std::span(batch.fds).first(opened), std::span(batch.buffers).first(opened),
                    ShortcutReader::ReadSize, std::span(batch.results).first(opened));
    for (size_t i = 0; i < opened; ++i) {
        const ssize_t n = batch.results[i];
        reader.reset();
        reader.readOpen(batch.fds[i], QByteArrayView(batch.buffers[i], std::max<ssize_t>(n, 0)), n);
        keep(*batch.slots[i], true, reader);
    }
}

void ReadAhead::releaseTaken()
{
    if (!m_taken)
        return;
    Slot &slot = m_slots[m_head % m_slots.size()];
    const bool wasFull = m_bytes >= m_window.bytes;
    m_bytes -= slot.values.size();
    if (wasFull && m_bytes < m_window.bytes)
        m_work.notify_all();
    if (slot.values.capacity() > KeptSlotBytes)
        slot.values = QByteArray();
    ++m_head;
    m_taken = false;
}

std::optional<ShortcutReader::ValueViews> ReadAhead::take()
{
    std::unique_lock lock(m_mutex);
    if (m_foundCold && !m_cold) {
        // The page's thread starts the threads, so that only it touches their list.
        lock.unlock();
        startReaders(true);
        lock.lock();
    }
    releaseTaken();
    Q_ASSERT(m_head < m_tail);
    Slot &slot = m_slots[m_head % m_slots.size()];
    m_taken = true;
    if (slot.state == State::Queued) {
        // No reader has come to it (there are none yet, or they are all busy): it is read here,
        // which is sooner than waiting, and its values stay in this thread's reader. Files are
        // claimed in order, so it is the next to claim.
        Q_ASSERT(m_next == m_head);
        ++m_next;
        slot.state = State::Done;
        slot.values.resize(0);
        const bool cold = m_cold;
        lock.unlock();
        m_reader.reset();
        const int fd =
            cold ? -1 : openIfInMemory(slot.folderFd, slot.nativeName, ShortcutReader::OpenFlags);
        if (fd >= 0) {
            m_reader.readOpen(fd);
        } else {
            // Not in memory: from here on the readers read the files queued after this one
            // while this one is read.
            if (!cold && notKnownInMemory(errno))
                startReaders(true);
            if (!m_reader.read(slot.nativeName, slot.folderFd))
                return std::nullopt;
        }
        return m_reader.valueViews();
    }
    while (slot.state != State::Done) {
        if (!m_cold && m_next < m_tail) {
            // While the files are in memory, the page reads the next file no reader has taken
            // rather than wait: the two threads share the reading.
            Slot &next = m_slots[m_next++ % m_slots.size()];
            next.state = State::Reading;
            lock.unlock();
            const bool inMemory = readSlot(next, m_reader, false);
            lock.lock();
            if (!inMemory)
                m_foundCold = true;
            finishLocked(next);
            continue;
        }
        m_waiting = true;
        m_done.wait(lock);
    }
    if (!slot.present)
        return std::nullopt;
    const QByteArrayView values(slot.values);
    return ShortcutReader::ValueViews{values.first(slot.urlSize),
                                      values.sliced(slot.urlSize, slot.commentSize),
                                      values.sliced(slot.urlSize + slot.commentSize),
                                      slot.utf8,
                                      slot.unicodeUrl,
                                      slot.modified};
}
