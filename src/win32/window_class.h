#pragma once

#include <string>

#include "win32/windows_api.h"

namespace tavo::win32 {

// The module that holds the library's code (the DLL, or a test program).
HINSTANCE OwnModule();

// A window class of the library, registered for as long as a window of it
// lives: a host may unload the DLL and load it again elsewhere, and a class
// left registered would point at code that is gone. Throws tavo::Error when
// the class cannot be registered.
class WindowClass {
public:
    WindowClass(const wchar_t* name, WNDPROC procedure, UINT style, int background = COLOR_BTNFACE);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    const wchar_t* Name() const { return name_.c_str(); }

private:
    std::wstring name_;
};

// The object a window of ours belongs to, kept in its user data from
// WM_NCCREATE on (the creation parameter).
template <typename T>
T* OwnerOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace tavo::win32
