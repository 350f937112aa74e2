// Stands in for an agent slow to end: holds the global destruction event until
// it is signalled, then MILLISECONDS longer.   event_holder.exe MILLISECONDS
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const HANDLE hEvent = OpenEventA(SYNCHRONIZE, FALSE, "Global\\BrindleNyAgent02");
    if (argc != 2 || !hEvent)
        return 2;
    const DWORD dwResult = WaitForSingleObject(hEvent, 120000);
    Sleep(static_cast<DWORD>(std::atoi(argv[1])));
    return dwResult == WAIT_OBJECT_0 ? 0 : 3;
}
