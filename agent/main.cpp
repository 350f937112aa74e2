// The agent's entry point: one application object for the process.
#include <windows.h>

#include <stdlib.h>

#include "agent/ny_agent.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CNyAgent app;
    app.InitInstance(__argc, __argv);
    return app.ExitInstance();
}
