#include "win32/viewer_control.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "base/error.h"
#include "files/win32_text.h"
#include "viewer/jw_brws.h"
#include "win32/gdi_canvas.h"

namespace tavo::win32 {

namespace {

constexpr const wchar_t* kViewerClassName = L"TavoJwBrws";

}  // namespace

ViewerControl::ViewerControl(TJwBrws& control, HWND parent)
    : control_(control), class_(kViewerClassName, &Procedure, CS_DBLCLKS) {
    window_ = CreateWindowExW(0, class_.Name(), L"Viewer", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 1, 1, parent,
                              nullptr, OwnModule(), this);
    if (!window_) throw Error("the preview window cannot be made: " + platform::SystemMessage(GetLastError()));
    OnResized = [this](int w, int h) { control_.SetSize(w, h); };
    control_.OnInvalidate = [this] { InvalidateRect(window_, nullptr, FALSE); };
}

ViewerControl::~ViewerControl() {
    control_.OnInvalidate = nullptr;
    if (window_) DestroyWindow(window_);
}

const DibSurface& ViewerControl::Surface() {
    PaintIfStale();
    return surface_;
}

void ViewerControl::PaintIfStale() {
    RECT client{};
    GetClientRect(window_, &client);
    const int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
    const bool resized = surface_.Width() != w || surface_.Height() != h;
    if (resized) surface_.Resize(w, h);
    if (!resized && !control_.NeedsPaint()) return;
    GdiCanvas canvas(surface_.Dc());
    control_.Paint(canvas);
}

LRESULT CALLBACK ViewerControl::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ViewerControl* self = OwnerOf<ViewerControl>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        // A paint that failed is not asked for again at once (the message
        // box would pump it straight back).
        if (message == WM_PAINT) ValidateRect(window, nullptr);
        if (self->OnFailure) self->OnFailure(e);
        return 0;
    }
}

LRESULT ViewerControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintIfStale();
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(window_, &ps);
            BitBlt(dc, 0, 0, surface_.Width(), surface_.Height(), surface_.Dc(), 0, 0, SRCCOPY);
            EndPaint(window_, &ps);
            if (OnPainted) OnPainted();
            return 0;
        }
        case WM_ERASEBKGND: return 1;  // the picture covers it all
        case WM_SIZE:
            if (OnResized) OnResized(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_LBUTTONDOWN: ButtonDown(true, lParam); return 0;
        case WM_RBUTTONDOWN: ButtonDown(false, lParam); return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            control_.MouseDoubleClick(message == WM_LBUTTONDBLCLK ? MouseButton::Left : MouseButton::Right,
                                      GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE: Moved(lParam); return 0;
        case WM_LBUTTONUP: ButtonUp(true, lParam); return 0;
        case WM_RBUTTONUP: ButtonUp(false, lParam); return 0;
        case WM_CAPTURECHANGED: buttonsDown_ = 0; return 0;
        // The arrows and Tab are the control's, not the dialog manager's.
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTTAB;
        case WM_KEYDOWN:
            if (OnKeyDown) OnKeyDown(static_cast<int>(wParam));
            return 0;
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ViewerControl::ButtonDown(bool left, LPARAM at) {
    SetFocus(window_);
    // The gesture goes on outside the window while a button is held.
    if (buttonsDown_++ == 0) SetCapture(window_);
    control_.MouseDown(left ? MouseButton::Left : MouseButton::Right, GET_X_LPARAM(at), GET_Y_LPARAM(at));
}

void ViewerControl::Moved(LPARAM at) {
    // Feedback goes onto the picture as it is on screen, never onto a stale one.
    PaintIfStale();
    {
        GdiCanvas canvas(surface_.Dc());
        control_.MouseMove(canvas, GET_X_LPARAM(at), GET_Y_LPARAM(at));
    }
    InvalidateRect(window_, nullptr, FALSE);
}

void ViewerControl::ButtonUp(bool left, LPARAM at) {
    if (buttonsDown_ > 0 && --buttonsDown_ == 0 && GetCapture() == window_) ReleaseCapture();
    PaintIfStale();
    {
        GdiCanvas canvas(surface_.Dc());
        control_.MouseUp(canvas, left ? MouseButton::Left : MouseButton::Right, GET_X_LPARAM(at), GET_Y_LPARAM(at));
    }
    InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace tavo::win32
