// The export drawing family: created from the stored settings, filled with
// the worksheet's elements, written to a .jwc or JWW coordinate file.
#include "export/export_jwc_writer.h"
#include "export/jww_writer.h"
#include "export/sheet_conversion.h"
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "interface/settings_access.h"
#include "tavo.h"

using tavo::GuardedVoid;
using tavo::LibraryState;

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

}  // extern "C"
