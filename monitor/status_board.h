// The status board: the printers' last status entries, shared between the
// user-interface thread, which writes them, and the status pipe's thread,
// which reads them. Every read copies under the board's mutex. Each change
// gets the next number of the board's change counter and stays in a short
// history, so that a reader that was told of a change late still sees every
// change in order. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "monitor/status_entry.h"

struct CStatusChange {
    std::uint64_t nNumber = 0;
    // The printer went; only the entry's name is meaningful then.
    bool bRemoved = false;
    CStatusEntry entry;
};

class CStatusBoard {
public:
    // How many changes the history keeps.
    static constexpr std::size_t kHistory = 512;

    CStatusBoard() = default;
    CStatusBoard(const CStatusBoard&) = delete;
    CStatusBoard& operator=(const CStatusBoard&) = delete;

    // Makes the entry of that printer current: a new printer is added at the
    // end, an entry equal to the current one changes nothing.
    void Set(const CStatusEntry& entry);
    // Removes every printer whose name is not among strNames.
    void Keep(const std::vector<std::string>& strNames);

    // Copies of the current entries in their order, and the counter they show.
    std::vector<CStatusEntry> Snapshot(std::uint64_t* pnCounter = nullptr) const;
    // The entry of that printer; FALSE when there is none.
    bool Find(const std::string& strName, CStatusEntry& entry) const;
    // The changes numbered above nAfter, in order. FALSE when the history no
    // longer holds all of them (the reader then starts again from a snapshot).
    bool ChangesAfter(std::uint64_t nAfter, std::vector<CStatusChange>& changes) const;
    std::uint64_t GetCounter() const;

    // Called after every change, under the board's mutex: it must only
    // signal (set an event, post a completion) and return. Null for none.
    void SetListener(std::function<void()> pfnListener);

private:
    void Record(bool bRemoved, const CStatusEntry& entry);

    mutable std::mutex m_mutex;
    std::vector<CStatusEntry> m_entries;
    std::deque<CStatusChange> m_history;
    std::uint64_t m_nCounter = 0;
    std::function<void()> m_pfnListener;
};
