// A named mutex held on a thread of its own, as the print path holds a port's
// status mutex while it talks to the printer.
#pragma once

#include <string>
#include <thread>

#include <windows.h>

#include "framework/unique_handle.h"

// Holds the mutex, waiting for it, until destroyed.
class CHeldMutex {
public:
    explicit CHeldMutex(const std::string& strName)
        : m_thread([this, strName] {
              CUniqueHandle hMutex(CreateMutexA(nullptr, FALSE, strName.c_str()));
              WaitForSingleObject(hMutex.Get(), INFINITE);
              SetEvent(m_hHeld.Get());
              WaitForSingleObject(m_hRelease.Get(), INFINITE);
              ReleaseMutex(hMutex.Get());
          }) {
        WaitForSingleObject(m_hHeld.Get(), INFINITE);
    }
    ~CHeldMutex() {
        SetEvent(m_hRelease.Get());
        m_thread.join();
    }

private:
    CUniqueHandle m_hHeld{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    CUniqueHandle m_hRelease{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::thread m_thread;
};
