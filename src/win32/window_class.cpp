#include "win32/window_class.h"

#include "base/error.h"
#include "files/win32_text.h"

namespace tavo::win32 {

HINSTANCE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

WindowClass::WindowClass(const wchar_t* name, WNDPROC procedure, UINT style, int background) : name_(name) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.style = style;
    c.lpfnWndProc = procedure;
    c.hInstance = OwnModule();
    c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    c.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    c.lpszClassName = name;
    if (!RegisterClassExW(&c))
        throw Error("the window cannot be made: " + platform::SystemMessage(GetLastError()));
}

WindowClass::~WindowClass() { UnregisterClassW(name_.c_str(), OwnModule()); }

}  // namespace tavo::win32
