// The Windows clipboard: the JWT text's exact bytes as CF_TEXT, the same
// text as CF_UNICODETEXT (converted from code page 932) and CF_LOCALE
// Japanese, so that a program on a system of another language pastes the
// right characters.
#include <windows.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "base/error.h"
#include "platform/clipboard.h"
#include "files/win32_text.h"

namespace tavo::platform {

namespace {


// SetClipboardData needs an owner window. A message-only window of a
// system class runs none of our code, so it is safe whatever happens to the
// library afterwards; the clipboard keeps its data when it goes.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr)) {}
    ~OwnerWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Another program may hold the clipboard open for a moment.
bool openClipboard(HWND owner) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(owner)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void put(UINT format, const void* data, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) throw Error("the clipboard cannot take the text: out of memory");
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        const DWORD code = GetLastError();
        GlobalFree(block);
        throw Error("the clipboard refused the text: " + SystemMessage(code));
    }
}

class Win32Clipboard final : public Clipboard {
public:
    void setText(const std::string& cp932) override {
        const std::string text = cp932 + '\0';
        const std::wstring unicode = WideFromBytes(cp932, kShiftJis) + L'\0';
        const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);

        const OwnerWindow owner;
        if (!openClipboard(owner.get())) throw Error("the clipboard is held by another program: " +
                                                     SystemMessage(GetLastError()));
        struct Closer {
            ~Closer() { CloseClipboard(); }
        } closer;
        if (!EmptyClipboard()) throw Error("the clipboard cannot be emptied: " + SystemMessage(GetLastError()));
        put(CF_TEXT, text.data(), text.size());
        put(CF_UNICODETEXT, unicode.data(), unicode.size() * sizeof(wchar_t));
        put(CF_LOCALE, &japanese, sizeof japanese);
    }
};

}  // namespace

Clipboard& SystemClipboard() {
    static Win32Clipboard clipboard;
    return clipboard;
}

}  // namespace tavo::platform
