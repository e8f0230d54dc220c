// The DLL's entry point: what must go before the DLL's code does.
#include <windows.h>

#include "win32/progress_form.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID reserved) {
    // Only when the host frees the library: at the process's end its
    // windows go with it, and calling into the window system then is unsafe.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) tavo::CloseProgressWindowBeforeUnload();
    return TRUE;
}
