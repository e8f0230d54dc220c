#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/config_controls.h"
#include "forms/config_form.h"
#include "win32/config_controls.h"
#include "win32/window_class.h"

namespace tavo::win32 {

class HtLabel;

// The settings dialog with Win32 and the common controls, bound to a
// TConfigForm that holds its values and behaviour: the controls show the
// form's values on Repaint and hand back what the user edits. Every
// control has the identifier of its designed name (config_controls.h);
// the pages are child windows of the dialog.
class Win32ConfigForm final : public ConfigToolkit, public ConfigWindow {
public:
    Win32ConfigForm(ConfigMode mode, SettingsStore settings);
    ~Win32ConfigForm() override;
    Win32ConfigForm(const Win32ConfigForm&) = delete;
    Win32ConfigForm& operator=(const Win32ConfigForm&) = delete;

    // ConfigWindow
    TConfigForm& Form() override { return form_; }
    void ShowModal() override;

    // ConfigToolkit
    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
    std::optional<std::string> AskOpenFileName(const SaveDialogRequest& request) override;
    void ShowMessage(const FormText& text, MessageKind kind) override;
    void ShowHelp(const std::string& helpFile, int32_t context) override;
    void Repaint() override;

    HWND Handle() const { return window_; }
    // A control by its identifier; null when the dialog has none.
    HWND Control(int id) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Command(int id, int code, HWND control);
    void Clicked(int id, HWND control);
    void TextEdited(HWND box);
    void FillTree();
    void ShowFailure(const std::exception& failure);

    // The pages (config_pages.cpp).
    void BuildPages();
    void BuildButtons();
    void BuildTarget(HWND page);
    void BuildScale(HWND page);
    void BuildLayers(HWND page);
    void BuildColors(HWND page);
    void BuildTypes(HWND page);
    void BuildMoji(HWND page);
    void BuildOption(HWND page);
    void BuildDump(HWND page);
    void BuildAbout(HWND page);
    // A control of a page; its identifier -1 for labels and frames.
    HWND Add(HWND parent, const wchar_t* className, const char* captionCp932, DWORD style, int id, int x, int y, int w,
             int h, DWORD exStyle = 0);
    HWND Label(HWND page, const char* captionCp932, int x, int y, int w);
    HWND Group(HWND page, const char* captionCp932, int x, int y, int w, int h, int id = -1);
    HWND Button(HWND page, int id, const char* captionCp932, int x, int y, int w = 75, int h = 25);
    HWND Radio(HWND page, int id, const char* captionCp932, int x, int y, int w, bool first);
    HWND Check(HWND page, int id, const char* captionCp932, int x, int y, int w);
    HWND List(HWND page, int id, int x, int y, int w);
    // `small`: the one-character boxes on the colour swatches.
    HWND TextBox(HWND page, int id, std::string& value, bool fileName, int maxLength, int x, int y, int w,
                 bool small = false);
    HWND NumberBox(HWND page, int id, std::string& value, KeyFilter filter, int maxLength, int x, int y, int w,
                   bool small = false);
    HWND Picture(HWND page, HBITMAP bitmap, int x, int y, int w, int h, DWORD style = 0);

    struct TextBinding {
        HWND Box;
        std::string* Value;
        bool FileName;
    };

    TConfigForm form_;
    WindowClass formClass_, pageClass_, gridClass_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND tree_ = nullptr;
    HFONT font_ = nullptr, boldFont_ = nullptr;
    std::array<HWND, 10> panels_{};  // by ConfigPanel
    std::map<int, HWND> controls_;
    std::vector<TextBinding> texts_;
    std::vector<HWND> extraGroup_;  // what the middle group of the target page holds
    std::unique_ptr<ConfigGrid> groupScale_, mojiTable_;
    std::unique_ptr<HtLabel> link_;
    std::vector<HBITMAP> bitmaps_;
    BoxMoves moves_;
    bool showing_ = false;  // Repaint sets texts: not the user's edits
};

}  // namespace tavo::win32
