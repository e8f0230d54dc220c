#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "forms/form_toolkit.h"
#include "viewer/canvas.h"

struct HWND__;
struct HFONT__;
struct HBITMAP__;

namespace tavo::win32 {

// Texts of the forms (Shift-JIS) and file names (the system's code page,
// as the ANSI file functions take them) as the wide text the windows show,
// so that they read right on a system of any language.
std::wstring WideOfCp932(std::string_view cp932);
std::wstring WideOfFileName(std::string_view name);
std::wstring WideOfFormText(const FormText& text);

// The standard save dialog: asks before overwriting, hides the read-only
// box, can be resized. The chosen file in the system's code page, or
// nothing when the user cancels (or chose a name that code page cannot
// spell, which a message box then says).
std::optional<std::string> RunSaveDialog(HWND__* owner, const SaveDialogRequest& request);
// The standard open dialog for an existing file, with the same rules.
std::optional<std::string> RunOpenDialog(HWND__* owner, const SaveDialogRequest& request);

// A form's font: a Shift-JIS face name, characters `pixels` high.
HFONT__* MakeFormFont(const char* faceCp932, int pixels, bool bold = false);
// A 32-bit bitmap of a picture, for image lists and picture controls.
HBITMAP__* BitmapOf(const Picture& picture);

// A message box "Tavo" with an OK button.
void RunMessageBox(HWND__* owner, const FormText& text, MessageKind kind);

}  // namespace tavo::win32
