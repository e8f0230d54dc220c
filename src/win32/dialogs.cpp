#include "win32/dialogs.h"

#include "win32/windows_api.h"
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/win32_text.h"
#include "win32/dib_surface.h"

namespace tavo::win32 {

namespace {


// "description|patterns|..." as the dialog's list of NUL-separated pairs.
std::wstring FilterOf(const std::string& filterCp932) {
    std::wstring filter = WideOfCp932(filterCp932);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    return filter;
}

}  // namespace

std::wstring WideOfCp932(std::string_view cp932) { return platform::WideFromBytes(cp932, platform::kShiftJis); }

std::wstring WideOfFileName(std::string_view name) { return platform::WideFromBytes(name, CP_ACP); }

std::wstring WideOfFormText(const FormText& text) {
    return WideOfCp932(text.Before) + WideOfFileName(text.FileName) + WideOfCp932(text.After);
}

namespace {

std::optional<std::string> RunFileDialog(HWND owner, const SaveDialogRequest& request, bool save) {
    const std::wstring filter = FilterOf(request.Filter);
    const std::wstring ext = WideOfCp932(request.DefaultExt);
    const std::wstring folder = WideOfFileName(request.InitialDir);
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring proposed = WideOfFileName(request.FileName);
    proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    // The host's current folder stays as it was.
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
    const std::wstring chosen(file.data());
    const std::string bytes = platform::BytesFromWide(chosen, CP_ACP);
    if (platform::WideFromBytes(bytes, CP_ACP) != chosen) {
        // Saved through the code page, the file would get another name.
        const std::wstring text = L"\"" + chosen +
                                  L"\": this name has characters that the system's code page cannot spell; "
                                  L"choose another name.";
        MessageBoxW(owner, text.c_str(), L"Tavo", MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<std::string> RunSaveDialog(HWND owner, const SaveDialogRequest& request) {
    return RunFileDialog(owner, request, true);
}

std::optional<std::string> RunOpenDialog(HWND owner, const SaveDialogRequest& request) {
    return RunFileDialog(owner, request, false);
}

HFONT MakeFormFont(const char* faceCp932, int pixels, bool bold) {
    LOGFONTW record{};
    record.lfHeight = -pixels;
    record.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    record.lfCharSet = SHIFTJIS_CHARSET;
    const std::wstring face = WideOfCp932(faceCp932);
    face.copy(&record.lfFaceName[0], std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    return CreateFontIndirectW(&record);
}

HBITMAP BitmapOf(const Picture& picture) {
    const BITMAPINFO info = DibInfo(picture.Width, picture.Height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    const std::vector<uint32_t> pixels = DibPixelsOf(picture);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    return bitmap;
}

void RunMessageBox(HWND owner, const FormText& text, MessageKind kind) {
    const std::wstring message = WideOfFormText(text);
    MessageBoxW(owner, message.c_str(), L"Tavo",
                MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace tavo::win32
