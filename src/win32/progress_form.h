#pragma once

namespace tavo {

// A host that unloads the DLL while its progress dialog is open (it never
// called ProgressDestroy) would leave a window whose procedure is gone with
// the DLL: the next message to it would crash the host. Closes it; the
// form itself is left to the process.
void CloseProgressWindowBeforeUnload();

}  // namespace tavo
