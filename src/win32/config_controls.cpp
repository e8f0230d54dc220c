#include "win32/config_controls.h"

// After windows.h, which they need.
#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "base/error.h"
#include "forms/config_controls.h"
#include "files/win32_text.h"
#include "win32/window_class.h"

namespace tavo::win32 {

namespace {

struct FilteredBox {
    KeyFilter Filter;
    const BoxMoves* Moves;
};

LRESULT CALLBACK FilteredBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data) {
    const auto* filtered = reinterpret_cast<const FilteredBox*>(data);
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter is the filter's, not the dialog's.
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending && (pending->message == WM_KEYDOWN || pending->message == WM_CHAR) &&
                pending->wParam == VK_RETURN)
                return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTALLKEYS;
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) return 0;  // its character does the work
            break;
        case WM_CHAR: {
            int key = static_cast<int>(wParam);
            if (key == VK_RETURN) {
                key = kKeyReturn;
            } else if (key == VK_BACK) {
                key = kKeyBack;
            } else if (key < 0x20) {
                break;  // Ctrl+C, Ctrl+V, ...: the box's own
            }
            switch (FilterKey(filtered->Filter, key)) {
                case KeyAnswer::Pass: break;
                case KeyAnswer::Swallow: return 0;
                case KeyAnswer::NextControl:
                    if (filtered->Moves->NextControl) filtered->Moves->NextControl(box);
                    return 0;
                case KeyAnswer::NextCell:
                    if (filtered->Moves->NextCell) filtered->Moves->NextCell(box);
                    return 0;
            }
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, &FilteredBoxProcedure, id);
            delete filtered;
            break;
        default: break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void FailMakingDialog() {
    throw Error("the settings dialog cannot be made: " + platform::SystemMessage(GetLastError()));
}

HWND MakeControl(HWND parent, const wchar_t* className, const wchar_t* caption, DWORD style, int id, int x, int y,
                 int w, int h, HFONT font, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), OwnModule(), nullptr);
    if (!control) FailMakingDialog();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void FilterKeys(HWND box, KeyFilter filter, const BoxMoves& moves) {
    auto* filtered = new FilteredBox{filter, &moves};
    if (!SetWindowSubclass(box, &FilteredBoxProcedure, 1, reinterpret_cast<DWORD_PTR>(filtered))) {
        delete filtered;
        FailMakingDialog();
    }
    ImmAssociateContext(box, nullptr);
}

ConfigGrid::ConfigGrid(HWND parent, const Shape& shape, int x, int y, int width, HFONT font) : shape_(shape) {
    moves_.NextCell = [this](HWND box) { MoveOn(box); };
    contentWidth_ = shape.FirstColWidth + (shape.Cols - 1) * shape.ColWidth + 1;
    const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
    const int height = shape.Rows * shape.RowHeight + 1 + edge + (shape.Scrolls ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, kClassName, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | (shape.Scrolls ? WS_HSCROLL : 0), x, y,
                              shape.Scrolls ? width : contentWidth_ + edge, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(shape.Id)), OwnModule(), this);
    if (!window_) FailMakingDialog();
    RECT client{};
    GetClientRect(window_, &client);
    viewWidth_ = client.right;
    for (int r = 0; r < shape.Rows; ++r)
        for (int c = 0; c < shape.Cols; ++c) {
            const int left = ColLeft(c) + 1, top = r * shape.RowHeight + 1;
            const int w = (c == 0 ? shape.FirstColWidth : shape.ColWidth) - 1, h = shape.RowHeight - 1;
            HWND cell;
            if (r == 0 || c == 0) {
                cell = MakeControl(window_, L"STATIC", L"", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                                   TAVO_ID_GRID_CELL(shape.CellBase, c, r), left, top, w, h, font);
            } else {
                cell = MakeControl(window_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL,
                                   TAVO_ID_GRID_CELL(shape.CellBase, c, r), left, top, w, h, font);
                SendMessageW(cell, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
                FilterKeys(cell, KeyFilter::Grid, moves_);
            }
            cells_.push_back(cell);
        }
    if (shape.Scrolls) {
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, contentWidth_ - 1,
                        static_cast<UINT>(viewWidth_), 0, 0};
        SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    }
}

ConfigGrid::~ConfigGrid() {
    if (window_) DestroyWindow(window_);
}

int ConfigGrid::ColLeft(int col) const {
    return (col == 0 ? 0 : shape_.FirstColWidth + (col - 1) * shape_.ColWidth) - offset_;
}

void ConfigGrid::MoveOn(HWND box) {
    const auto at = std::find(cells_.begin(), cells_.end(), box);
    if (at == cells_.end()) return;
    const int index = static_cast<int>(at - cells_.begin());
    const GridCell next = NextGridCell({index % shape_.Cols, index / shape_.Cols}, shape_.Cols, shape_.Rows);
    HWND target = Cell(next.Col, next.Row);
    SetFocus(target);
    SendMessageW(target, EM_SETSEL, 0, -1);
}

void ConfigGrid::Enable(bool enabled) {
    EnableWindow(window_, enabled);
    for (HWND cell : cells_) EnableWindow(cell, enabled);
}

void ConfigGrid::Reveal(HWND box) {
    RECT r{};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    if (r.left < 0) {
        ScrollTo(offset_ + r.left - 1);
    } else if (r.right > viewWidth_) {
        ScrollTo(offset_ + r.right - viewWidth_ + 1);
    }
}

void ConfigGrid::ScrollTo(int offset) {
    offset = std::clamp(offset, 0, std::max(0, contentWidth_ - viewWidth_));
    if (offset == offset_) return;
    ScrollWindowEx(window_, offset_ - offset, 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    offset_ = offset;
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, offset, 0};
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

LRESULT CALLBACK ConfigGrid::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ConfigGrid* self = OwnerOf<ConfigGrid>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT ConfigGrid::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_SETFOCUS) Reveal(reinterpret_cast<HWND>(lParam));
            return SendMessageW(GetParent(window_), message, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: return SendMessageW(GetParent(window_), message, wParam, lParam);
        case WM_HSCROLL: {
            SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
            GetScrollInfo(window_, SB_HORZ, &info);
            int to = offset_;
            switch (LOWORD(wParam)) {
                case SB_LINELEFT: to -= shape_.ColWidth; break;
                case SB_LINERIGHT: to += shape_.ColWidth; break;
                case SB_PAGELEFT: to -= viewWidth_; break;
                case SB_PAGERIGHT: to += viewWidth_; break;
                case SB_LEFT: to = 0; break;
                case SB_RIGHT: to = contentWidth_; break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: to = info.nTrackPos; break;
                default: break;
            }
            ScrollTo(to);
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tavo::win32
