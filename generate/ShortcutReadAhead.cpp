#include "generate/ShortcutReadAhead.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace {

// More than a few readers gain nothing: the writer's own work sets the pace.
constexpr unsigned MaxHelpers = 3;

int helpersForThisMachine()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 1 ? int(std::min(cores - 1, MaxHelpers)) : 0;
}

} // namespace

ShortcutReadAhead::ShortcutReadAhead() : ShortcutReadAhead(helpersForThisMachine()) {}

ShortcutReadAhead::ShortcutReadAhead(int helpers)
{
    for (int i = 0; i < helpers; ++i) {
        try {
            m_helpers.emplace_back([this] { help(); });
        } catch (const std::system_error &) {
            break; // no thread to be had: the writer reads the rest itself
        }
    }
}

ShortcutReadAhead::~ShortcutReadAhead()
{
    m_stopping.store(true, std::memory_order_release);
    m_signal.fetch_add(1, std::memory_order_release);
    m_signal.notify_all();
    for (std::thread &helper : m_helpers)
        helper.join();
}

void ShortcutReadAhead::queue(int folderFd, const char *nativeName)
{
    // The slot's last file has been taken (there is room), so nobody else looks at it.
    Slot &slot = m_slots[size_t(m_queued % Capacity)];
    slot.folderFd = folderFd;
    slot.nativeName = nativeName;
    slot.values.reset();
    slot.failure = nullptr;
    slot.done.store(0, std::memory_order_relaxed);
    m_published.store(++m_queued, std::memory_order_release);
    if (!m_helpers.empty()) {
        m_signal.fetch_add(1, std::memory_order_release);
        m_signal.notify_one(); // a system call only when a helper sleeps
    }
}

std::optional<ShortcutReader::Values> ShortcutReadAhead::take()
{
    Slot &slot = m_slots[size_t(m_taken % Capacity)];
    // Rather than wait, the writer reads files itself; once every queued file has a reader,
    // it waits for the one it needs.
    while (slot.done.load(std::memory_order_acquire) == 0) {
        if (!readNext())
            slot.done.wait(0, std::memory_order_acquire);
    }
    ++m_taken;
    if (slot.failure)
        std::rethrow_exception(std::exchange(slot.failure, nullptr));
    return std::move(slot.values);
}

bool ShortcutReadAhead::readNext()
{
    qint64 claim = m_claimed.load(std::memory_order_relaxed);
    do {
        if (claim >= m_published.load(std::memory_order_acquire))
            return false;
    } while (!m_claimed.compare_exchange_weak(claim, claim + 1, std::memory_order_acq_rel,
                                              std::memory_order_relaxed));
    Slot &slot = m_slots[size_t(claim % Capacity)];
    try {
        slot.values = ShortcutReader::readFile(slot.nativeName, slot.folderFd);
    } catch (...) {
        slot.failure = std::current_exception();
    }
    slot.done.store(1, std::memory_order_release);
    slot.done.notify_one();
    return true;
}

void ShortcutReadAhead::help()
{
    for (;;) {
        // The signal is read before looking for work, so a file queued in between changes it
        // and the wait below returns at once.
        const int signal = m_signal.load(std::memory_order_acquire);
        if (m_stopping.load(std::memory_order_acquire))
            return;
        if (!readNext())
            m_signal.wait(signal, std::memory_order_acquire);
    }
}
