#include "win32/jw_brws_form.h"

#include <vector>

#include "base/error.h"
#include "forms/toolbar_images.h"
#include "platform/help.h"
#include "files/win32_text.h"
#include "win32/dialogs.h"

namespace tavo::win32 {

namespace {

constexpr const wchar_t* kFormClassName = L"TavoJwBrwsForm";
constexpr int kFirstCommand = 100;

ScreenArea WorkAreaNear(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return {0, 0, 1024, 768};
    const RECT& r = info.rcWork;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

int CommandOf(JwBrwsAction action) { return kFirstCommand + static_cast<int>(action); }

// No system menu, so no close button: the close action is the way out. The
// window can be maximized and resized.
Win32JwBrwsForm::Win32JwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard)
    : form_(*this, std::move(settings), clipboard), class_(kFormClassName, &Procedure, 0) {
    const JwBrwsFormDesign& design = JwBrwsDesign();
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // Modal over the host's window: the one active in this thread.
    owner_ = GetActiveWindow();
    const std::wstring caption = WideOfCp932(design.Caption);
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, class_.Name(), caption.c_str(),
                              WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, design.Width, design.Height, owner_, nullptr, OwnModule(), this);
    if (!window_) throw Error("the preview window cannot be made: " + platform::SystemMessage(GetLastError()));
    font_ = MakeFormFont(design.FontName, design.FontHeight);
    BuildToolbar();
    viewer_ = std::make_unique<ViewerControl>(form_.Viewer, window_);
    viewer_->OnResized = [this](int w, int h) { form_.ViewerResized(w, h); };
    viewer_->OnPainted = [this] { form_.ViewerPainted(); };
    viewer_->OnKeyDown = [this](int key) { KeyDown(key); };
    viewer_->OnFailure = [this](const std::exception& e) { ShowFailure(e); };
    Layout();
    Repaint();
}

// The viewer first: it refers to the form's control.
Win32JwBrwsForm::~Win32JwBrwsForm() {
    viewer_.reset();
    if (window_) DestroyWindow(window_);
    if (images_) ImageList_Destroy(images_);
    if (font_) DeleteObject(font_);
}

void Win32JwBrwsForm::BuildToolbar() {
    const JwBrwsFormDesign& design = JwBrwsDesign();
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"ToolBar",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                                   CCS_NODIVIDER,
                               0, 0, 0, 0, window_, nullptr, OwnModule(), nullptr);
    if (!toolbar_) throw Error("the preview window cannot be made: " + platform::SystemMessage(GetLastError()));
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    images_ = ImageList_Create(design.ImageSize, design.ImageSize, ILC_COLOR32 | ILC_MASK, kToolbarImageCount, 0);
    for (int i = 0; i < kToolbarImageCount; ++i) {
        HBITMAP bitmap = BitmapOf(ToolbarImage(i));
        ImageList_AddMasked(images_, bitmap, kImageTransparent);
        DeleteObject(bitmap);
    }
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(design.ImageSize, design.ImageSize));
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(design.ButtonWidth, design.ButtonHeight));
    std::vector<TBBUTTON> buttons;
    for (const ActionDesign& d : JwBrwsToolbar()) {
        const auto index = static_cast<std::size_t>(d.Action);
        captions_[index] = WideOfCp932(d.Caption);
        hints_[index] = WideOfCp932(d.Hint);
        if (d.SeparatorBefore) {
            TBBUTTON separator{};
            separator.fsStyle = BTNS_SEP;
            buttons.push_back(separator);
        }
        TBBUTTON b{};
        b.iBitmap = d.ImageIndex;
        b.idCommand = CommandOf(d.Action);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = static_cast<BYTE>(d.CheckButton ? BTNS_CHECK : BTNS_BUTTON);
        b.iString = reinterpret_cast<INT_PTR>(captions_[index].c_str());
        buttons.push_back(b);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(design.ButtonWidth, design.ButtonWidth * 2));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void Win32JwBrwsForm::Layout() {
    if (!toolbar_ || !viewer_) return;
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT client{}, bar{};
    GetClientRect(window_, &client);
    GetWindowRect(toolbar_, &bar);
    const int top = bar.bottom - bar.top;
    MoveWindow(viewer_->Handle(), 0, top, client.right, std::max<LONG>(0, client.bottom - top), TRUE);
}

int32_t Win32JwBrwsForm::ShowModal() {
    form_.FormShow();
    const WindowPlacement p = form_.OpenPlacement(WorkAreaNear(owner_ ? owner_ : window_));
    SetWindowPos(window_, nullptr, p.Left, p.Top, p.Width, p.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, p.Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    SetFocus(viewer_->Handle());
    Repaint();
    closedAt_.reset();
    MSG message{};
    while (form_.ModalResult == 0) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The host is quitting: hand the request on after the window.
            PostQuitMessage(static_cast<int>(message.wParam));
            form_.FormCloseByUser();
            break;
        }
        if (got == -1) {
            form_.FormCloseByUser();
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    closedAt_ = Placement();
    // The owner first, so that the host's window gets the activation back.
    if (owner_) EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
    return form_.ModalResult;
}

WindowPlacement Win32JwBrwsForm::Placement() const {
    if (closedAt_) return *closedAt_;
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    GetWindowPlacement(window_, &place);
    const bool maximized = IsZoomed(window_) != FALSE;
    RECT r{};
    if (maximized) {
        r = place.rcNormalPosition;  // the placement it comes back to
    } else {
        GetWindowRect(window_, &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top, maximized};
}

std::optional<std::string> Win32JwBrwsForm::AskSaveFileName(const SaveDialogRequest& request) {
    return RunSaveDialog(window_, request);
}

void Win32JwBrwsForm::ShowMessage(const FormText& text, MessageKind kind) { RunMessageBox(window_, text, kind); }

void Win32JwBrwsForm::ShowHelp(const std::string& helpFile, int32_t context) {
    platform::ShowHelpTopic(helpFile, context);
}

void Win32JwBrwsForm::Repaint() {
    if (toolbar_) {
        for (const ActionDesign& d : JwBrwsToolbar()) {
            const ActionState& state = form_.Action(d.Action);
            SendMessageW(toolbar_, TB_ENABLEBUTTON, CommandOf(d.Action), MAKELPARAM(state.Enabled, 0));
            SendMessageW(toolbar_, TB_CHECKBUTTON, CommandOf(d.Action), MAKELPARAM(state.Checked, 0));
        }
    }
    if (viewer_) InvalidateRect(viewer_->Handle(), nullptr, FALSE);
}

void Win32JwBrwsForm::Run(JwBrwsAction action) {
    form_.Execute(action);
    // A check button pressed for an action that does not check it pops up.
    Repaint();
    if (viewer_ && IsWindowVisible(window_)) SetFocus(viewer_->Handle());
}

void Win32JwBrwsForm::KeyDown(int key) { form_.FormKeyDown(key); }

void Win32JwBrwsForm::ShowFailure(const std::exception& failure) {
    RunMessageBox(window_, FormTextOf(failure), MessageKind::Error);
}

LRESULT CALLBACK Win32JwBrwsForm::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32JwBrwsForm* self = OwnerOf<Win32JwBrwsForm>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may leave a window procedure: a failure is shown, as the
    // toolkit's default handling would.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->ShowFailure(e);
        return 0;
    }
}

LRESULT Win32JwBrwsForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: Layout(); return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam) - kFirstCommand;
            if (id >= 0 && id < static_cast<int>(kJwBrwsActionCount)) {
                Run(static_cast<JwBrwsAction>(id));
                return 0;
            }
            break;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOW) {
                // An action without a hint shows none (not its caption).
                auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                const auto id = static_cast<int>(header->idFrom) - kFirstCommand;
                if (id >= 0 && id < static_cast<int>(kJwBrwsActionCount))
                    tip->lpszText = const_cast<wchar_t*>(hints_[static_cast<std::size_t>(id)].c_str());
                return 0;
            }
            break;
        }
        case WM_KEYDOWN: KeyDown(static_cast<int>(wParam)); return 0;
        case WM_SETFOCUS:
            if (viewer_) SetFocus(viewer_->Handle());
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {160, 120};
            return 0;
        }
        case WM_CLOSE:
            // Closed some other way than by the close action (Alt+F4): the
            // modal loop ends; the window itself goes with this object.
            form_.FormCloseByUser();
            return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

std::unique_ptr<ViewerWindow> CreateJwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard) {
    return std::make_unique<Win32JwBrwsForm>(std::move(settings), clipboard);
}

}  // namespace tavo::win32
