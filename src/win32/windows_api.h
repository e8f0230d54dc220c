#pragma once

// <windows.h> for the native front end. The viewer's canvas has a TextOut
// of its own, which the platform's macro for TextOutA / TextOutW would
// rename; the front end calls TextOutA by its name.
#include <windows.h>
#undef TextOut
