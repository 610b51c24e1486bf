// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/ShortcutReader.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Reads shortcut files, and the folder listings a walk is about to need, ahead of the page. A
// disk answers many requests at once far faster than one after another, so on a cold cache
// reader threads read the queued files while the page is written: where the system can, each
// reader asks for a run of files at once (BatchRead), else for one file at a time. Each file is
// read
// exactly as ShortcutReader::read reads it, only perhaps earlier, and the values come out in the
// order the files were queued.
//
// While the files are in memory, many threads would only cost time. With more than one core,
// one reader then reads and parses the next files while the page writes the last ones; on one
// core the page reads each file when it takes it. All the readers start at the first file or
// folder found not to be in memory (at the first one looked at, where the system cannot tell),
// and read ahead from then on. Where no thread can be started, every file is read when it is
// taken.
//
// The window ahead is bounded twice: by the number of files queued and not yet taken, and by the
// bytes of the values read and not yet taken. A reader begins a file only while those bytes are
// under the budget, so they exceed it at most by what the readers were reading then.
//
// The object is used from one thread, the page's; the reader threads are its own.
class ReadAhead final
{
public:
    struct Window
    {
        int files = 2048;
        qsizetype bytes = 1024 * 1024;
        // Readers on a cold cache where each reads one file at a time.
        int readers = 32;
        // Files a reader reads at once on a cold cache where the system can (BatchRead), and
        // the readers then; 1 reads one file at a time. Fewer threads then keep the disk as
        // busy, and they take far less of the processor than threads that each wait for one
        // file.
        int batchFiles = 16;
        int batchReaders = 8;
        // Readers while the files are found in memory, where the machine has more than one core.
        int warmReaders = 1;
        // The files' dates are read (ShortcutReader::setReadsDates).
        bool dates = true;
        // Take nothing to be in memory: the readers start at once and read every file and
        // folder asked for.
        bool cold = false;
    };

    ReadAhead();
    explicit ReadAhead(Window window);
    // Waits for the files being read; the files queued and not read are dropped.
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // Whether the window has room for another file: fewer files queued and not taken than it
    // holds, and fewer bytes of values. There is always room when every file queued has been
    // taken.
    bool hasRoom();
    // Queues the file nativeName in the folder open as folderFd (ShortcutReader::read); false
    // when there is no room. The name and the folder must stay valid until the file is taken or
    // this object is gone.
    bool add(int folderFd, const char *nativeName);

    // The values of the oldest file queued and not taken, waiting for them if need be; nothing
    // when the file was not there any more. The views stay valid until the next take. Only
    // called when a file is queued.
    std::optional<ShortcutReader::ValueViews> take();

    // Has the folder at path (ending with "/") read soon, so that a walk that comes to it finds
    // its listing in memory. Nothing happens when it is in memory already, or when many folders
    // wait to be read.
    void warmFolder(const QString &path);

    // Whether reader threads read ahead.
    bool isReadingAhead() const;

private:
    enum class State
    {
        Queued,
        Reading,
        Done,
    };
    struct Slot
    {
        int folderFd = -1;
        const char *nativeName = nullptr;
        State state = State::Queued;
        bool present = false;
        QByteArray values; // the URL, the comment, then the icon file
        qsizetype urlSize = 0;
        qsizetype commentSize = 0;
        bool utf8 = false;
        bool unicodeUrl = false;
        qint64 modified = 0;
    };

    // Keeps what reader read for the slot's file; present is what its read() returned.
    static void keep(Slot &slot, bool present, ShortcutReader &reader);
    bool hasRoomLocked() const;
    // Starts the readers of a warm cache, or those of a cold one (then they read without
    // looking whether the files are in memory), up to their count in all.
    void startReaders(bool cold);
    // Reads the slot's file as a reader thread does; whether it was found in memory.
    static bool readSlot(Slot &slot, ShortcutReader &reader, bool cold);
    // What a cold reader reads many files at once with.
    struct Batch;
    // Reads the files of the slots first to end (modulo the ring) at once, as a cold reader
    // does.
    void readBatch(quint64 first, quint64 end, ShortcutReader &reader, Batch &batch);
    void readerLoop();
    // Marks a slot read by the calling thread as done.
    void finishLocked(Slot &slot);
    void releaseTaken();

    Window m_window;
    quint64 m_coldRun = 1;            // files a cold reader reads at once
    std::vector<Slot> m_slots;        // a ring: slot i % size holds the i-th file queued
    std::deque<QByteArray> m_folders; // native paths of folders to read
    std::mutex m_mutex;
    std::condition_variable m_work; // a file or folder queued, or the end
    std::condition_variable m_done; // the file the page waits for is read
    quint64 m_head = 0;             // the oldest file not released
    quint64 m_next = 0;             // the next file for a reader
    quint64 m_tail = 0;             // the next file queued
    bool m_taken = false;           // the head file was taken: its views are in use
    bool m_waiting = false;         // the page waits for the head file
    bool m_stop = false;
    bool m_readersStarted = false;
    bool m_cold = false; // the readers read without looking whether a file is in memory
    int m_sleepingReaders = 0;
    bool m_foundCold = false; // a reader found a file not in memory: all the readers are wanted
    qsizetype m_bytes = 0;    // values read and not released (the file taken last included)
    ShortcutReader m_reader;  // for the files read when they are taken
    std::vector<std::thread> m_threads;
};
