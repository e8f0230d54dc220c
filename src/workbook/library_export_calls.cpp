#include "base/error.h"
#include "workbook/export_calls.h"

namespace tavo::workbook {

namespace {

// A string the library handed out, as bytes; freed here.
std::string TakeString(TavoString s) {
    if (!s) return {};
    std::string bytes(s, TavoStringByteLen(s));
    TavoFreeString(s);
    return bytes;
}

// The exports take strings by reference to the host's pointer.
template <class Export, class... Args>
void CallWithText(Export exportFn, const std::string& text, Args... args) {
    const char* p = text.c_str();
    exportFn(args..., &p);
    ThrowOnLastLibraryError();
}

}  // namespace

std::string TakeLastLibraryError() { return TakeString(TavoGetLastError()); }

void ThrowOnLastLibraryError() {
    std::string message = TakeLastLibraryError();
    if (!message.empty()) throw Error(std::move(message));
}

TavoSettings LibraryExportCalls::ReadInifile() {
    TavoSettings s{};
    ::ReadInifile(&s);
    ThrowOnLastLibraryError();
    return s;
}

std::string LibraryExportCalls::ReadIniString(int16_t slot) {
    std::string value = TakeString(::ReadIniString(slot));
    ThrowOnLastLibraryError();
    return value;
}

void LibraryExportCalls::ObjCreateByInifile() {
    ::ObjCreateByInifile();
    ThrowOnLastLibraryError();
}

void LibraryExportCalls::SetObjComment(const std::string& comment1, const std::string& comment2) {
    const char* c1 = comment1.c_str();
    const char* c2 = comment2.c_str();
    ::SetObjComment(&c1, &c2);
    ThrowOnLastLibraryError();
}

void LibraryExportCalls::AddLine(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay,
                                 uint8_t lineType) {
    ::AddLine(x1, y1, x2, y2, color, lay, lineType);
    ThrowOnLastLibraryError();
}

void LibraryExportCalls::AddText(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                 const std::string& text) {
    CallWithText(::AddText, text, x1, y1, x2, y2, mojiNo, lay);
}

void LibraryExportCalls::AddTextV(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                  const std::string& text) {
    CallWithText(::AddTextV, text, x1, y1, x2, y2, mojiNo, lay);
}

void LibraryExportCalls::AddCircle(float x, float y, float r, float flatness, float startAngle, float endAngle,
                                   float tilt, uint8_t color, uint8_t lay, uint8_t lineType) {
    ::AddCircle(x, y, r, flatness, startAngle, endAngle, tilt, color, lay, lineType);
    ThrowOnLastLibraryError();
}

void LibraryExportCalls::AddSolid(float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) {
    ::AddSolid(x1, y1, x2, y2, color, lay);
    ThrowOnLastLibraryError();
}

}  // namespace tavo::workbook
