#pragma once

#include "generate/ShortcutReader.h"

#include <QtGlobal>

#include <array>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

// Reads queued shortcut files on helper threads while the page writer writes, and hands the
// values back in the order the files were queued. Opening and reading many small files is most
// of the work of a page, and most of that is the system's; with a second core it is shared.
//
// One thread, the writer, queues files and takes their values; the helpers only read. A file is
// read once, by a helper or by the writer itself when its turn comes and no helper has started
// on it, so without helpers (one core) the writer simply reads each file as it takes it. At most
// Capacity files are queued at a time, which bounds the memory their values take.
class ShortcutReadAhead final
{
public:
    static constexpr qsizetype Capacity = 256;

    // Starts the helpers: as many as there are further cores, at most a few.
    ShortcutReadAhead();
    explicit ShortcutReadAhead(int helpers);
    // Stops the helpers; values not taken are dropped.
    ~ShortcutReadAhead();
    ShortcutReadAhead(const ShortcutReadAhead &) = delete;
    ShortcutReadAhead &operator=(const ShortcutReadAhead &) = delete;

    // Whether another file can be queued now.
    bool hasRoom() const { return m_queued - m_taken < Capacity; }
    // Queues the file nativeName in the open folder folderFd (see ShortcutReader::readFile).
    // The name and the folder must stay valid until its values have been taken. Needs room.
    void queue(int folderFd, const char *nativeName);
    // The values of the oldest queued file not yet taken, as ShortcutReader::readFile gives
    // them; waits while a helper is reading it. Rethrows what reading it threw.
    std::optional<ShortcutReader::Values> take();

private:
    struct Slot
    {
        int folderFd = -1;
        const char *nativeName = nullptr;
        std::optional<ShortcutReader::Values> values;
        std::exception_ptr failure;
        std::atomic<int> done{0};
    };

    // Reads the oldest queued file that nobody has started on; false when there is none.
    bool readNext();
    void help();

    std::array<Slot, Capacity> m_slots;
    std::atomic<qint64> m_published{0}; // files queued and visible to the helpers
    std::atomic<qint64> m_claimed{0};   // files that a reader has started on
    std::atomic<int> m_signal{0};       // changes on every queue and on stop; helpers wait on it
    std::atomic<bool> m_stopping{false};
    qint64 m_queued = 0; // the writer's own counts
    qint64 m_taken = 0;
    std::vector<std::thread> m_helpers;
};
