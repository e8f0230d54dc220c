#include "win32/ht_label.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <utility>

#include "base/error.h"
#include "files/win32_text.h"
#include "win32/dialogs.h"

namespace tavo::win32 {

namespace {

constexpr const wchar_t* kLabelClassName = L"TavoHTLabel";
constexpr const char* kBrowserSettings = "Software\\Microsoft\\Internet Explorer\\Settings";
// What the classes root's default values are read with.
constexpr DWORD kValueBuffer = 260;

std::optional<std::string> StringValue(HKEY key, const char* name) {
    char buffer[kValueBuffer] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, &buffer[0], &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(&buffer[0]);
}

// One registration for all labels that live at the same time.
std::shared_ptr<WindowClass> LabelClass(WNDPROC procedure) {
    static std::weak_ptr<WindowClass> shared;
    std::shared_ptr<WindowClass> c = shared.lock();
    if (!c) {
        c = std::make_shared<WindowClass>(kLabelClassName, procedure, 0);
        shared = c;
    }
    return c;
}

}  // namespace

LinkColors ReadLinkColors() {
    LinkColors colors;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserSettings, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return colors;
    const std::pair<const char*, std::string*> values[] = {
        {"Anchor Color", &colors.Link},
        {"Anchor Color Hover", &colors.Hover},
        {"Anchor Color Visited", &colors.Visited},
        {"Use Anchor Hover Color", &colors.HoverUnderline}};
    for (const auto& [name, field] : values)
        if (std::optional<std::string> value = StringValue(key, name)) *field = std::move(*value);
    RegCloseKey(key);
    return colors;
}

bool Win32LinkShell::ShellOpen(const std::string& address) {
    const HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<std::string> Win32LinkShell::ClassesDefault(const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[kValueBuffer] = {};
    LONG size = sizeof buffer;
    const LONG status = RegQueryValueA(opened, nullptr, &buffer[0], &size);
    RegCloseKey(opened);
    // A value longer than the buffer is not run cut short.
    if (status != ERROR_SUCCESS) return std::nullopt;
    return std::string(&buffer[0], strnlen(&buffer[0], sizeof buffer));
}

void Win32LinkShell::Run(const std::string& commandLine) {
    WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

HtLabel::HtLabel(HWND parent, int controlId, const std::string& captionCp932, int x, int y, HFONT font)
    : label_(ReadLinkColors()),
      class_(LabelClass(&Procedure)),
      caption_(WideOfCp932(captionCp932)),
      font_(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    label_.Caption = captionCp932;
    Open = [](const std::string& caption) {
        Win32LinkShell shell;
        OpenCaption(caption, shell);
    };
    window_ = CreateWindowExW(0, class_->Name(), caption_.c_str(), WS_CHILD | WS_VISIBLE, x, y, 1, 1, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), OwnModule(), this);
    if (!window_)
        throw Error("the hyperlink label cannot be made: " + platform::SystemMessage(GetLastError()));
    LOGFONTW record{};
    GetObjectW(font_, sizeof record, &record);
    record.lfUnderline = TRUE;
    underlined_ = CreateFontIndirectW(&record);

    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    SetWindowPos(window_, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HtLabel::~HtLabel() {
    if (window_) DestroyWindow(window_);
    if (underlined_) DeleteObject(underlined_);
}

// Colour and underline as the label last chose them.
void HtLabel::Draw(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PlainColor(label_.FontColor));
    HGDIOBJ old = SelectObject(dc, label_.Underlined && underlined_ ? underlined_ : font_);
    TextOutW(dc, 0, 0, caption_.c_str(), static_cast<int>(caption_.size()));
    SelectObject(dc, old);
}

void HtLabel::Hover(bool over) {
    if (over == label_.MouseOver) return;
    if (over) {
        label_.MouseEnter();
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
    } else {
        label_.MouseLeave();
    }
    InvalidateRect(window_, nullptr, FALSE);
}

// The visited colour shows at once, not at the next paint (which chooses
// the colour again).
void HtLabel::Clicked() {
    label_.Click();
    HDC dc = GetDC(window_);
    Draw(dc);
    ReleaseDC(window_, dc);
    if (Open) Open(label_.Caption);
}

LRESULT CALLBACK HtLabel::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HtLabel* self = OwnerOf<HtLabel>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may leave a window procedure; a link that cannot be opened
    // says nothing.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception&) {
        if (message == WM_PAINT) ValidateRect(window, nullptr);
        return 0;
    }
}

LRESULT HtLabel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(window_, &ps);
            label_.Paint();
            Draw(dc);
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            label_.Paint();
            Draw(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills it
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            return TRUE;
        case WM_MOUSEMOVE: {
            // Held by the capture, the mouse may be outside.
            RECT client{};
            GetClientRect(window_, &client);
            Hover(PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE);
            return 0;
        }
        case WM_MOUSELEAVE:
            Hover(false);
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(window_);
            return 0;
        case WM_LBUTTONUP: {
            const bool pressed = std::exchange(pressed_, false);
            if (GetCapture() == window_) ReleaseCapture();
            RECT client{};
            GetClientRect(window_, &client);
            // A click is a press and a release on the label.
            if (pressed && PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Clicked();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_NCDESTROY: {
            HWND window = std::exchange(window_, nullptr);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tavo::win32
