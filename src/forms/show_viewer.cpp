#include "forms/show_viewer.h"

#include <exception>

namespace tavo {

ViewerOutcome ShowViewer(std::unique_ptr<ViewerWindow> window, TJwObject& drawing, const std::string& fileName) {
    TJwBrwsForm& form = window->Form();
    form.Viewer.Drawing = &drawing;
    form.Viewer.FitPaper();
    form.FileName = fileName;
    ViewerOutcome outcome;
    outcome.ModalResult = window->ShowModal();
    // Freed at once rather than at the host's next message processing: a
    // host that is no Qt program may never process messages again, and a
    // failure must reach it before it goes on.
    try {
        form.FormDestroy(window->Placement());
    } catch (const std::exception& e) {
        outcome.Failure = e.what();
    }
    window.reset();
    return outcome;
}

}  // namespace tavo
