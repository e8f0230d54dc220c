// The export drawing family: created from the stored settings, filled with
// the worksheet's elements, written to a .jwc, JWW coordinate or DXF file.
#include "export/dxf_writer.h"
#include "export/export_jwc_writer.h"
#include "export/jww_writer.h"
#include "export/sheet_conversion.h"
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "settings/settings_access.h"
#include "platform/encoding.h"
#include "tavo.h"

using tavo::GuardedVoid;
using tavo::LibraryState;

namespace {

// The profile by the number the host passes: 0 for JW_CAD's R12, or the
// version's year.
tavo::DxfProfile dxfProfileNumbered(int32_t number) {
    switch (number) {
        case 0: return tavo::DxfProfile::Jw;
        case 2000: return tavo::DxfProfile::R2000;
        case 2018: return tavo::DxfProfile::R2018;
        default:
            throw tavo::Error("DXF profile " + std::to_string(number) +
                              " is not one of 0 (R12 for JW_CAD), 2000 and 2018; nothing was written");
    }
}

void saveDxf(LibraryState& state, TavoStringIn fileName, tavo::DxfProfile profile) {
    tavo::SaveDxf(state.exportDrawing(), tavo::ReadHostString(fileName), {profile, tavo::platform::Cp932ToUtf8});
}

}  // namespace

extern "C" {

TAVO_API void TAVO_CALL ObjCreateByInifile(void) {
    GuardedVoid([&](LibraryState& state) {
        auto drawing = std::make_unique<tavo::TJwObject>();
        tavo::ApplySettings(*drawing, tavo::ReadStoredSettings());
        state.obj = std::move(drawing);
    });
}

TAVO_API void TAVO_CALL ObjDestroy(void) {
    GuardedVoid([&](LibraryState& state) {
        state.exportDrawing();  // reports a destroy without a drawing
        state.obj.reset();
    });
}

TAVO_API void TAVO_CALL SetObjComment(TavoStringIn Comment1, TavoStringIn Comment2) {
    GuardedVoid([&](LibraryState& state) {
        tavo::TJwObject& d = state.exportDrawing();
        d.Comment1 = tavo::ReadHostString(Comment1);
        d.Comment2 = tavo::ReadHostString(Comment2);
    });
}

TAVO_API void TAVO_CALL AddLine(float X1, float Y1, float X2, float Y2, uint8_t Color, uint8_t Lay,
                                uint8_t LineType) {
    GuardedVoid([&](LibraryState& state) {
        tavo::AddSheetLine(state.exportDrawing(), X1, Y1, X2, Y2, Color, Lay, LineType);
    });
}

TAVO_API void TAVO_CALL AddText(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                TavoStringIn Text) {
    GuardedVoid([&](LibraryState& state) {
        tavo::AddSheetText(state.exportDrawing(), X1, Y1, X2, Y2, MojiNo, Lay, tavo::ReadHostString(Text), false);
    });
}

TAVO_API void TAVO_CALL AddTextV(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                 TavoStringIn Text) {
    GuardedVoid([&](LibraryState& state) {
        tavo::AddSheetText(state.exportDrawing(), X1, Y1, X2, Y2, MojiNo, Lay, tavo::ReadHostString(Text), true);
    });
}

TAVO_API void TAVO_CALL AddCircle(float X, float Y, float R, float Flatness, float StartAngle, float EndAngle,
                                  float Tilt, uint8_t Color, uint8_t Lay, uint8_t LineType) {
    GuardedVoid([&](LibraryState& state) {
        tavo::AddSheetCircle(state.exportDrawing(), X, Y, R, Flatness, StartAngle, EndAngle, Tilt, Color, Lay,
                             LineType);
    });
}

TAVO_API void TAVO_CALL AddSolid(float X1, float Y1, float X2, float Y2, int32_t Color, uint8_t Lay) {
    GuardedVoid([&](LibraryState& state) { tavo::AddSheetSolid(state.exportDrawing(), X1, Y1, X2, Y2, Color, Lay); });
}

TAVO_API void TAVO_CALL ObjSaveToJwcFile(TavoStringIn FileName) {
    GuardedVoid([&](LibraryState& state) {
        tavo::SaveExportAsJwc(state.exportDrawing(), tavo::ReadHostString(FileName));
    });
}

TAVO_API void TAVO_CALL ObjSaveToTxtFile(TavoStringIn FileName) {
    GuardedVoid([&](LibraryState& state) { tavo::SaveJww(state.exportDrawing(), tavo::ReadHostString(FileName)); });
}

TAVO_API void TAVO_CALL ObjSaveToDxfFile(TavoStringIn FileName) {
    GuardedVoid([&](LibraryState& state) { saveDxf(state, FileName, tavo::DxfProfile::Jw); });
}

TAVO_API void TAVO_CALL TavoObjSaveToDxfFileEx(TavoStringIn FileName, int32_t Profile) {
    GuardedVoid([&](LibraryState& state) { saveDxf(state, FileName, dxfProfileNumbered(Profile)); });
}

}  // extern "C"
