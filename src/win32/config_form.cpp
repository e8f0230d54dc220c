#include "win32/config_form.h"

#include <commctrl.h>

#include "forms/form_texts.h"
#include "platform/help.h"
#include "files/win32_text.h"
#include "win32/dialogs.h"
#include "win32/ht_label.h"

namespace tavo::win32 {

namespace {

constexpr int kClientWidth = 472, kClientHeight = 373;
constexpr int kTreeWidth = 121, kFontPixels = 12;

// The centre of the work area of the owner's monitor (or the primary one).
POINT CentredOrigin(HWND beside, int width, int height) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT area{0, 0, 1024, 768};
    if (GetMonitorInfoW(MonitorFromWindow(beside, MONITOR_DEFAULTTOPRIMARY), &info)) area = info.rcWork;
    return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

}  // namespace

// A fixed dialog frame with the close box only.
Win32ConfigForm::Win32ConfigForm(ConfigMode mode, SettingsStore settings)
    : form_(mode, *this, std::move(settings)),
      formClass_(L"TavoConfigForm", &Procedure, 0),
      pageClass_(L"TavoConfigPage", &Procedure, 0),
      gridClass_(ConfigGrid::kClassName, &ConfigGrid::Procedure, 0, COLOR_BTNSHADOW) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    moves_.NextControl = [this](HWND box) {
        SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(window_, box, FALSE)), TRUE);
    };
    owner_ = GetActiveWindow();
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    window_ = CreateWindowExW(kExStyle, formClass_.Name(), WideOfCp932(ModeCaption(mode)).c_str(), kStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, owner_,
                              nullptr, OwnModule(), this);
    if (!window_) FailMakingDialog();
    // The close box only.
    if (HMENU menu = GetSystemMenu(window_, FALSE)) {
        for (const UINT item : {SC_MINIMIZE, SC_MAXIMIZE, SC_SIZE, SC_RESTORE}) DeleteMenu(menu, item, MF_BYCOMMAND);
    }
    font_ = MakeFormFont(sjis::kFormFontName, kFontPixels);
    boldFont_ = MakeFormFont(sjis::kFormFontName, kFontPixels, true);
    tree_ = Add(window_, WC_TREEVIEWW, "",
                WS_TABSTOP | TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_TRACKSELECT | TVS_DISABLEDRAGDROP | TVS_NOHSCROLL,
                TAVO_ID_tvContents, 0, 0, kTreeWidth, kClientHeight, WS_EX_CLIENTEDGE);
    SendMessageW(tree_, TVM_SETINDENT, 12, 0);  // the longest child caption fits
    BuildPages();
    BuildButtons();
    if (!form_.ShowsPlacement()) {
        for (const int id : {TAVO_ID_gbPlace, TAVO_ID_rbCenter, TAVO_ID_rbLeftTop, TAVO_ID_rbLeftBottom})
            ShowWindow(Control(id), SW_HIDE);
    }
    if (!form_.ShowsJwwTarget()) ShowWindow(Control(TAVO_ID_rbToJww), SW_HIDE);
}

// The children first: the grids and the label are windows of the dialog.
Win32ConfigForm::~Win32ConfigForm() {
    link_.reset();
    groupScale_.reset();
    mojiTable_.reset();
    if (window_) DestroyWindow(window_);
    for (HBITMAP b : bitmaps_) DeleteObject(b);
    if (font_) DeleteObject(font_);
    if (boldFont_) DeleteObject(boldFont_);
}

HWND Win32ConfigForm::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void Win32ConfigForm::FillTree() {
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    HTREEITEM root = nullptr, first = nullptr;
    std::vector<HTREEITEM> roots;
    for (const ConfigTreeEntry& e : form_.Tree) {
        std::wstring caption = WideOfCp932(e.Caption);
        TVINSERTSTRUCTW item{};
        item.hParent = e.Level == 1 || !root ? TVI_ROOT : root;
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT | TVIF_PARAM;
        item.item.pszText = caption.data();
        item.item.lParam = e.Page;
        auto* inserted = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (!inserted) FailMakingDialog();
        if (!first) first = inserted;
        if (e.Level == 1) {
            root = inserted;
            roots.push_back(inserted);
        }
    }
    for (HTREEITEM r : roots) SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(r));
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
}

void Win32ConfigForm::ShowModal() {
    FillTree();
    Repaint();
    RECT r{};
    GetWindowRect(window_, &r);
    const POINT at = CentredOrigin(owner_ ? owner_ : window_, r.right - r.left, r.bottom - r.top);
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    // What was painted before the window was on the screen.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    SetForegroundWindow(window_);
    SetFocus(tree_);
    MSG message{};
    while (form_.ModalResult == 0) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The host is quitting: hand the request on after the dialog.
            PostQuitMessage(static_cast<int>(message.wParam));
            form_.Cancel();
            break;
        }
        if (got == -1) {
            form_.Cancel();
            break;
        }
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner first, so that the host's window gets the activation back.
    if (owner_) EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
}

std::optional<std::string> Win32ConfigForm::AskSaveFileName(const SaveDialogRequest& request) {
    return RunSaveDialog(window_, request);
}

std::optional<std::string> Win32ConfigForm::AskOpenFileName(const SaveDialogRequest& request) {
    return RunOpenDialog(window_, request);
}

void Win32ConfigForm::ShowMessage(const FormText& text, MessageKind kind) { RunMessageBox(window_, text, kind); }

void Win32ConfigForm::ShowHelp(const std::string& helpFile, int32_t context) {
    platform::ShowHelpTopic(helpFile, context);
}

void Win32ConfigForm::ShowFailure(const std::exception& failure) {
    RunMessageBox(window_, FormTextOf(failure), MessageKind::Error);
}

void Win32ConfigForm::Repaint() {
    if (!window_) return;
    for (std::size_t i = 0; i < panels_.size(); ++i)
        if (panels_[i]) ShowWindow(panels_[i], static_cast<std::size_t>(form_.ShownPanel) == i ? SW_SHOW : SW_HIDE);
    showing_ = true;
    for (const TextBinding& t : texts_) {
        const std::wstring shown = t.FileName ? WideOfFileName(*t.Value) : WideOfCp932(*t.Value);
        std::wstring now(static_cast<std::size_t>(GetWindowTextLengthW(t.Box)) + 1, L'\0');
        now.resize(static_cast<std::size_t>(GetWindowTextW(t.Box, now.data(), static_cast<int>(now.size()))));
        if (now != shown) SetWindowTextW(t.Box, shown.c_str());
    }
    showing_ = false;
    const auto check = [this](int id, bool on) {
        SendMessageW(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    const auto enable = [this](int id, bool on) { EnableWindow(Control(id), on); };
    // Target page.
    for (int t = 0; t < 4; ++t) check(TAVO_ID_rbToPreview + t, form_.TargetChecked == t);
    for (int p = 0; p < 3; ++p) check(TAVO_ID_rbCenter + p, form_.PlacementChecked == p);
    for (HWND c : extraGroup_) EnableWindow(c, form_.ExtraGroupEnabled);
    SetWindowTextW(Control(TAVO_ID_gbJwcData), WideOfCp932(form_.ExtraGroupCaption).c_str());
    enable(TAVO_ID_edCom1, form_.ExtraGroupEnabled && form_.CommentsEnabled);
    enable(TAVO_ID_edCom2, form_.ExtraGroupEnabled && form_.CommentsEnabled);
    // Paper and scale page.
    SendMessageW(Control(TAVO_ID_cbDraft), CB_SETCURSEL, static_cast<WPARAM>(form_.cbDraft), 0);
    check(TAVO_ID_rbSameScale, form_.SameScaleChecked);
    check(TAVO_ID_rbEachScale, !form_.SameScaleChecked);
    enable(TAVO_ID_lbScale, form_.SameScaleChecked);
    enable(TAVO_ID_edScale, form_.SameScaleChecked);
    groupScale_->Enable(!form_.SameScaleChecked);
    // Layers, options, dump.
    const int layers[6] = {form_.cbRGrp, form_.cbRLay, form_.cbMGrp, form_.cbMLay, form_.cbSGrp, form_.cbSLay};
    const int layerIds[6] = {TAVO_ID_cbRGrp, TAVO_ID_cbRLay, TAVO_ID_cbMGrp, TAVO_ID_cbMLay, TAVO_ID_cbSGrp, TAVO_ID_cbSLay};
    for (std::size_t i = 0; i < 6; ++i)
        SendMessageW(Control(layerIds[i]), CB_SETCURSEL, static_cast<WPARAM>(layers[i]), 0);
    check(TAVO_ID_cbCaret, form_.ExchangeCaretChecked);
    check(TAVO_ID_cbSolid, form_.ExchangeSolidChecked);
    for (int i = 0; i < 4; ++i) check(TAVO_ID_cbLine + i, form_.DumpBoxes[std::size_t(i)]);
}

void Win32ConfigForm::TextEdited(HWND box) {
    if (showing_) return;
    for (const TextBinding& t : texts_) {
        if (t.Box != box) continue;
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        *t.Value = platform::BytesFromWide(text, t.FileName ? CP_ACP : platform::kShiftJis);
        return;
    }
}

void Win32ConfigForm::Clicked(int id, HWND control) {
    const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    switch (id) {
        case TAVO_ID_rbToPreview:
        case TAVO_ID_rbToClipboard:
        case TAVO_ID_rbToJwc:
        case TAVO_ID_rbToJww: form_.rbToPreviewClick(id - TAVO_ID_rbToPreview); break;
        case TAVO_ID_rbCenter:
        case TAVO_ID_rbLeftTop:
        case TAVO_ID_rbLeftBottom: form_.PlacementChecked = id - TAVO_ID_rbCenter; break;
        case TAVO_ID_rbSameScale: form_.rbSameScaleClick(true); break;
        case TAVO_ID_rbEachScale: form_.rbSameScaleClick(false); break;
        case TAVO_ID_cbCaret: form_.ExchangeCaretChecked = checked; break;
        case TAVO_ID_cbSolid: form_.ExchangeSolidChecked = checked; break;
        case TAVO_ID_cbLine:
        case TAVO_ID_cbCircle:
        case TAVO_ID_cbString:
        case TAVO_ID_cbDot: form_.DumpBoxes[std::size_t(id - TAVO_ID_cbLine)] = checked; break;
        case TAVO_ID_bnSaveAs: form_.bnSaveAsClick(); break;
        case TAVO_ID_bnDumpFile: form_.bnDumpFileClick(); break;
        case TAVO_ID_bnIniColor: form_.bnIniColorClick(); break;
        case TAVO_ID_bnIniType: form_.bnIniTypeClick(); break;
        case TAVO_ID_bnMojiIni: form_.bnMojiIniClick(); break;
        case TAVO_ID_bnHelp: form_.bnHelpClick(); break;
        case TAVO_ID_bnRenewal: form_.bnRenewalClick(); break;
        case TAVO_ID_bnOk: form_.bnOkClick(); break;
        case TAVO_ID_bnCancel: form_.Cancel(); break;
        default: return;
    }
    Repaint();
}

void Win32ConfigForm::Command(int id, int code, HWND control) {
    if (!control) {
        // Esc through the dialog's key handling; Enter outside the filtered
        // boxes presses no button.
        if (id == IDCANCEL) form_.Cancel();
        return;
    }
    switch (code) {
        case EN_CHANGE: TextEdited(control); break;
        case BN_CLICKED: Clicked(id, control); break;
        case CBN_SELCHANGE: {
            const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
            int* const lists[] = {&form_.cbDraft, &form_.cbRGrp, &form_.cbRLay, &form_.cbMGrp,
                                  &form_.cbMLay,  &form_.cbSGrp, &form_.cbSLay};
            const int ids[] = {TAVO_ID_cbDraft, TAVO_ID_cbRGrp, TAVO_ID_cbRLay, TAVO_ID_cbMGrp,
                               TAVO_ID_cbMLay,  TAVO_ID_cbSGrp, TAVO_ID_cbSLay};
            for (std::size_t i = 0; i < std::size(ids); ++i)
                if (ids[i] == id) *lists[i] = index;
            break;
        }
        default: break;
    }
}

LRESULT CALLBACK Win32ConfigForm::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32ConfigForm* self = OwnerOf<Win32ConfigForm>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may leave a window procedure: a failure is shown.
    try {
        return self->Handle(window, message, wParam, lParam);
    } catch (const std::exception& e) {
        self->ShowFailure(e);
        return 0;
    }
}

// The dialog and its pages: the pages hand their controls' notices on.
LRESULT Win32ConfigForm::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tree_ && header->code == TVN_SELCHANGEDW) {
                const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
                if (change->itemNew.hItem) form_.tvContentsChange(static_cast<uint8_t>(change->itemNew.lParam));
                return 0;
            }
            break;
        }
        case WM_NEXTDLGCTL: {
            // What the dialog manager sends for a label's or a group box's
            // mnemonic; a dialog procedure of the system would take it.
            if (window != window_) break;
            HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                            : GetNextDlgTabItem(window_, GetFocus(), wParam != 0);
            if (next && IsChild(window_, next)) {
                SetFocus(next);
                if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
            }
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CLOSE:
            if (window == window_) {
                form_.Cancel();
                return 0;
            }
            break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tavo::win32
