#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "forms/ht_label.h"
#include "win32/window_class.h"

namespace tavo::win32 {

// The browser's link settings of the current user; the defaults where a
// value is missing. Only read: a user whose registry is locked still gets
// the defaults, and a label has no business writing there.
LinkColors ReadLinkColors();

// The shell and the classes root of this system.
class Win32LinkShell final : public LinkShell {
public:
    bool ShellOpen(const std::string& address) override;
    std::optional<std::string> ClassesDefault(const std::string& key) override;
    void Run(const std::string& commandLine) override;
};

// A hyperlink label: a child window of its own class bound to a THTLabel,
// sized to its caption in the given font (which stays the caller's), with
// the hand cursor. A left click opens the caption.
class HtLabel {
public:
    HtLabel(HWND parent, int controlId, const std::string& captionCp932, int x, int y, HFONT font);
    ~HtLabel();
    HtLabel(const HtLabel&) = delete;
    HtLabel& operator=(const HtLabel&) = delete;

    HWND Handle() const { return window_; }
    THTLabel& Label() { return label_; }
    // Opens the caption; through the system's shell unless a test puts
    // another here.
    std::function<void(const std::string& caption)> Open;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Draw(HDC dc);
    void Hover(bool over);
    void Clicked();

    THTLabel label_;
    std::shared_ptr<WindowClass> class_;
    std::wstring caption_;
    HFONT font_ = nullptr;
    HFONT underlined_ = nullptr;
    HWND window_ = nullptr;
    bool pressed_ = false;
};

}  // namespace tavo::win32
