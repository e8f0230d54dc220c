#pragma once

#include <array>
#include <memory>

#include "forms/show_viewer.h"
#include "win32/viewer_control.h"
#include "win32/window_class.h"

#include <commctrl.h>

namespace tavo::win32 {

// The preview window with Win32 and the common controls: the toolbar of
// the seven actions over the viewer, bound to a TJwBrwsForm that holds all
// of its behaviour. Modal over the host's window while ShowModal runs its
// message loop; the windows go when the object does.
class Win32JwBrwsForm final : public FormToolkit, public ViewerWindow {
public:
    Win32JwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard);
    ~Win32JwBrwsForm() override;
    Win32JwBrwsForm(const Win32JwBrwsForm&) = delete;
    Win32JwBrwsForm& operator=(const Win32JwBrwsForm&) = delete;

    // ViewerWindow
    TJwBrwsForm& Form() override { return form_; }
    int32_t ShowModal() override;
    WindowPlacement Placement() const override;

    // FormToolkit
    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
    void ShowMessage(const FormText& text, MessageKind kind) override;
    void ShowHelp(const std::string& helpFile, int32_t context) override;
    void Repaint() override;

    HWND Handle() const { return window_; }
    HWND Toolbar() const { return toolbar_; }
    ViewerControl& Viewer() { return *viewer_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildToolbar();
    void Layout();
    void Run(JwBrwsAction action);
    void KeyDown(int key);
    void ShowFailure(const std::exception& failure);

    TJwBrwsForm form_;
    WindowClass class_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND toolbar_ = nullptr;
    HFONT font_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::unique_ptr<ViewerControl> viewer_;
    std::array<std::wstring, kJwBrwsActionCount> captions_, hints_;
    // Where the window was when its modal loop ended.
    std::optional<WindowPlacement> closedAt_;
};

// The toolbar button's command identifier of an action.
int CommandOf(JwBrwsAction action);

// The preview window for the exports; throws tavo::Error when it cannot be
// made.
std::unique_ptr<ViewerWindow> CreateJwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard);

}  // namespace tavo::win32
