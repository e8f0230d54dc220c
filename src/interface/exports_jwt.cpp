// JWT text of either drawing onto the clipboard.
#include "export/export_jwt_writer.h"
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "interface/library_clipboard.h"
#include "jwc/jwt_text.h"
#include "tavo.h"

using tavo::GuardedVoid;
using tavo::LibraryState;

extern "C" {

TAVO_API void TAVO_CALL CopyToAsJwt(void) {
    GuardedVoid([&](LibraryState& state) {
        const tavo::TJwcFile& d = state.jwc.drawing();
        // Millimetres on the sheet times the drawing's scale.
        const auto factor = static_cast<float>(d.scale * static_cast<double>(state.jwc.unitDivisor()));
        tavo::PutOnClipboard(state, tavo::JwcToJwt(d, factor));
    });
}

TAVO_API void TAVO_CALL ObjCopyToAsJwt(void) {
    GuardedVoid([&](LibraryState& state) { tavo::PutOnClipboard(state, tavo::ExportToJwt(state.exportDrawing())); });
}

TAVO_API TavoString TAVO_CALL TavoGetClipboardText(void) {
    return tavo::AllocHostStringOrNull(tavo::State().lastClipboardText);
}

}  // extern "C"
