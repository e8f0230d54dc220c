#pragma once

// The Qt windows of the forms, for the exports (each defined beside its
// window). Each first makes sure the process's Qt application can show
// windows and throws tavo::Error ("no display is available ...") when it
// cannot.
#include "forms/form_windows.h"
