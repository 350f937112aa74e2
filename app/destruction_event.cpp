#include "app/destruction_event.h"

namespace {

HANDLE g_hDestructionEvent = nullptr;

} // namespace

void SetDestructionEvent(HANDLE hEvent) {
    g_hDestructionEvent = hEvent;
}

BOOL IsDestructionRequested() {
    return g_hDestructionEvent && WaitForSingleObject(g_hDestructionEvent, 0) == WAIT_OBJECT_0;
}
