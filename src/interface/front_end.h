#pragma once

// The front end whose windows the exports show, chosen here for the build's
// platform: the native windows on Windows, the Qt windows elsewhere. Both
// declare the same three functions in their folder's windows.h.
#ifdef _WIN32
#include "win32/windows.h"
namespace tavo {
namespace front_end = win32;
}
#else
#include "qt/windows.h"
namespace tavo {
namespace front_end = qt;
}
#endif
