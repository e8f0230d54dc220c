// The progress dialog as a native window bound to TProgressForm: a dialog
// frame without caption-bar buttons, on top of other windows, two progress
// bars and the Cancel button (Esc presses it).
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <string>

#include "base/error.h"
#include "win32/windows.h"
#include "files/win32_text.h"
#include "win32/progress_form.h"

namespace tavo {

namespace {

constexpr wchar_t kProgressClassName[] = L"TavoProgressForm";
constexpr int kDesignDpi = 96;
constexpr int kFirstControlId = 1001;

// The DLL's own module, which registers the window class.
HINSTANCE libraryInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&libraryInstance), &module);
    return module;
}

std::wstring wide(const char* cp932) { return platform::WideFromBytes(cp932, platform::kShiftJis); }

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

[[noreturn]] void failCreating(const char* what) {
    const DWORD code = GetLastError();
    throw Error(std::string("the progress dialog cannot be shown: ") + what + ": " + platform::SystemMessage(code));
}

class Win32ProgressForm;
Win32ProgressForm* openForm = nullptr;  // the host shows one at a time

class Win32ProgressForm final : public ProgressWindow {
public:
    Win32ProgressForm() { openForm = this; }

    // Apart from the constructor, so that the destructor frees what a
    // failure leaves.
    void create() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Win32ProgressForm::windowProc;
        windowClass.hInstance = libraryInstance();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = &kProgressClassName[0];
        // One left by a host that unloaded the library with a dialog open.
        UnregisterClassW(&kProgressClassName[0], windowClass.hInstance);
        if (!RegisterClassExW(&windowClass)) failCreating("RegisterClassEx");

        const ProgressFormDesign& design = ProgressDesign();
        const int dpi = screenDpi();
        const auto px = [dpi](int designPixels) { return MulDiv(designPixels, dpi, kDesignDpi); };
        constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;  // a dialog frame, no caption-bar buttons
        constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
        RECT outer{0, 0, px(design.ClientWidth), px(design.ClientHeight)};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        window_ = CreateWindowExW(kExStyle, &kProgressClassName[0], wide(design.Caption).c_str(), kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, GetActiveWindow(),
                                  nullptr, libraryInstance(), this);
        if (!window_) failCreating("CreateWindowEx");
        font_ = CreateFontW(-px(design.FontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            wide(design.FontName).c_str());
        int id = kFirstControlId;
        for (const ControlDesign& c : design.Controls) {
            const wchar_t* windowClassName = L"STATIC";
            DWORD style = WS_CHILD | WS_VISIBLE;
            int controlId = id++;
            switch (c.Kind) {
                case ControlKind::Label: style |= SS_LEFT; break;
                case ControlKind::ProgressBar:
                    windowClassName = PROGRESS_CLASSW;
                    style |= PBS_SMOOTH;
                    break;
                case ControlKind::Button:
                    windowClassName = L"BUTTON";
                    style |= WS_TABSTOP | BS_PUSHBUTTON;
                    controlId = IDCANCEL;
                    break;
            }
            const HWND control = CreateWindowExW(0, windowClassName, wide(c.Caption).c_str(), style, px(c.Left),
                                                 px(c.Top), px(c.Width), px(c.Height), window_,
                                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                                 libraryInstance(), nullptr);
            if (!control) failCreating("CreateWindowEx");
            if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
            if (c.Kind == ControlKind::ProgressBar) (std::string(c.Name) == "pbLine" ? pbLine_ : pbText_) = control;
            if (c.Kind == ControlKind::Button) btnCancel_ = control;
        }
        showBars();
    }

    ~Win32ProgressForm() override {
        closeWindow();
        if (openForm == this) openForm = nullptr;
    }

    // The window and its class go; the form stays.
    void closeWindow() {
        if (window_) DestroyWindow(window_);
        window_ = pbLine_ = pbText_ = btnCancel_ = nullptr;
        if (font_) DeleteObject(font_);
        font_ = nullptr;
        UnregisterClassW(&kProgressClassName[0], libraryInstance());
    }
    Win32ProgressForm(const Win32ProgressForm&) = delete;
    Win32ProgressForm& operator=(const Win32ProgressForm&) = delete;

    TProgressForm& Form() override { return form_; }

    void Show() override {
        form_.FormShow();
        showBars();
        // Centred on the screen's work area.
        RECT area{};
        RECT frame{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(window_, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(window_, HWND_TOPMOST, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetFocus(btnCancel_);
        UpdateWindow(window_);
        handleWaitingMessages();
    }

    void Refresh() override {
        showBars();
        UpdateWindow(pbLine_);
        UpdateWindow(pbText_);
        handleWaitingMessages();
    }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Win32ProgressForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            switch (message) {
                case WM_COMMAND:
                    if (LOWORD(wParam) == IDCANCEL) {
                        self->form_.btnCancelClick();
                        return 0;
                    }
                    break;
                case WM_CLOSE:  // as Cancel; the window stays until ProgressDestroy
                    self->form_.btnCancelClick();
                    return 0;
                case WM_KEYDOWN:
                    if (self->form_.FormKeyDown(static_cast<int>(wParam))) return 0;
                    break;
                default: break;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void showBars() {
        for (const auto& [bar, state] : {std::pair{pbLine_, &form_.pbLine}, std::pair{pbText_, &form_.pbText}}) {
            SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(state->Min), static_cast<LPARAM>(state->ShownMax()));
            SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(state->ShownPosition()), 0);
        }
        ShowWindow(btnCancel_, form_.CancelVisible ? SW_SHOW : SW_HIDE);
    }

    // Every message waiting in the thread's queue, for all its windows: a
    // click on Cancel among them. Esc goes to the dialog as Cancel. A quit
    // message stays for the host's own loop.
    void handleWaitingMessages() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (IsDialogMessageW(window_, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    TProgressForm form_;
    HWND window_ = nullptr;
    HWND pbLine_ = nullptr;
    HWND pbText_ = nullptr;
    HWND btnCancel_ = nullptr;
    HFONT font_ = nullptr;
};

}  // namespace

void CloseProgressWindowBeforeUnload() {
    if (openForm) openForm->closeWindow();
}

std::unique_ptr<ProgressWindow> win32::CreateProgressWindow() {
    auto form = std::make_unique<Win32ProgressForm>();
    form->create();
    return form;
}

}  // namespace tavo
