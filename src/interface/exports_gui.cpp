// The preview window and the progress dialog, in the windows of the front end
// the build links. When a window cannot show (no display, or none in this
// build) each returns at once with its neutral result and says so in
// TavoGetLastError.
#include "export/jwc_import.h"
#include "interface/front_end.h"
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "interface/library_clipboard.h"
#include "settings/settings_access.h"
#include "tavo.h"

using tavo::Guarded;
using tavo::GuardedVoid;
using tavo::LibraryState;

namespace {

int32_t ShowPreview(LibraryState& state, tavo::TJwObject& drawing, const std::string& fileName) {
    // A host with an event loop of its own could call back while the window
    // runs; one window at a time.
    if (state.previewShowing) throw tavo::Error("a preview window is open already");
    tavo::LibraryClipboard clipboard(state);
    auto window = tavo::front_end::CreateViewerWindow(tavo::CurrentSettingsStore(), clipboard);
    state.previewShowing = true;
    struct Showing {
        LibraryState& state;
        ~Showing() { state.previewShowing = false; }
    } showing{state};
    const tavo::ViewerOutcome outcome = tavo::ShowViewer(std::move(window), drawing, fileName);
    if (!outcome.Failure.empty()) tavo::RememberError(state, outcome.Failure);
    return outcome.ModalResult;
}

}  // namespace

extern "C" {

TAVO_API int32_t TAVO_CALL ShowJwBrws(TavoStringIn FileName) {
    return Guarded<int32_t>(0, [&](LibraryState& state) {
        const std::string name = tavo::ReadHostString(FileName);
        return ShowPreview(state, state.exportDrawing(), name);
    });
}

TAVO_API int16_t TAVO_CALL ShowJwBrwsFromJwc(TavoStringIn FileName) {
    return Guarded<int16_t>(0, [&](LibraryState& state) {
        const std::string name = tavo::ReadHostString(FileName);
        const tavo::TJwcFile& source = state.jwc.drawing();
        if (state.previewShowing) throw tavo::Error("a preview window is open already");
        // Made from the current JWC drawing and gone afterwards, also when
        // showing fails.
        state.obj = std::make_unique<tavo::TJwObject>();
        struct Drop {
            LibraryState& state;
            ~Drop() { state.obj.reset(); }
        } drop{state};
        tavo::ImportJwc(source, *state.obj);
        return static_cast<int16_t>(ShowPreview(state, *state.obj, name));
    });
}

TAVO_API void TAVO_CALL ProgressCreate(int16_t LineMax, int16_t TextMax) {
    GuardedVoid([&](LibraryState& state) {
        // An earlier dialog would stay on screen with nothing to close it.
        state.progress.reset();
        std::shared_ptr<tavo::ProgressWindow> window = tavo::front_end::CreateProgressWindow();
        window->Form().Prepare(LineMax, TextMax);
        window->Show();
        state.progress = std::move(window);
    });
}

TAVO_API int32_t TAVO_CALL Progress(int16_t LinePos, int16_t TextPos) {
    return Guarded<int32_t>(-1, [&](LibraryState& state) -> int32_t {
        if (!state.progress) return -1;
        const std::shared_ptr<tavo::ProgressWindow> window = state.progress;
        return tavo::ProgressStep(*window, LinePos, TextPos);
    });
}

TAVO_API void TAVO_CALL ProgressDestroy(void) {
    GuardedVoid([&](LibraryState& state) { state.progress.reset(); });
}

}  // extern "C"
