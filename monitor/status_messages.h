// The messages a printer's controller posts to its status window, both
// parameters 0. The window reacts to them on the main thread, whatever thread
// the device reported from.
#pragma once

// Run Display again with the device's current record.
constexpr unsigned int WM_NY_REFRESH = 0x416; // WM_USER + 22
// An error was raised: open the window when the user wants it opened on error.
constexpr unsigned int WM_NY_ERROR_RAISED = 0x417; // WM_USER + 23
// The error was cleared: close the window when it opened on error.
constexpr unsigned int WM_NY_ERROR_CLEARED = 0x418; // WM_USER + 24
// The status changed; nothing of its own to do.
constexpr unsigned int WM_NY_STATUS_CHANGED = 0x419; // WM_USER + 25
// Printing started: open the window when the user wants it opened while printing.
constexpr unsigned int WM_NY_PRINTING_STARTED = 0x41A; // WM_USER + 26
// Printing ended: close the window when it opened for the job.
constexpr unsigned int WM_NY_PRINTING_ENDED = 0x41B; // WM_USER + 27
// The device was connected or disconnected; nothing of its own to do.
constexpr unsigned int WM_NY_CONNECTED = 0x41C;    // WM_USER + 28
constexpr unsigned int WM_NY_DISCONNECTED = 0x41D; // WM_USER + 29
// Sent (not posted) right before the user's opening shows the window: it stays
// open until the user closes it, whatever opened it before.
constexpr unsigned int WM_NY_OPENED_BY_USER = 0x41E; // WM_USER + 30
