#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "forms/jw_brws_form.h"

namespace tavo {

class TJwObject;

// A front end's preview window, bound to its TJwBrwsForm; creating it runs
// FormCreate, destroying it closes and frees the window.
class ViewerWindow {
public:
    virtual ~ViewerWindow() = default;
    virtual TJwBrwsForm& Form() = 0;
    // Runs FormShow, shows the window modally and returns the form's modal
    // result once it is set.
    virtual int32_t ShowModal() = 0;
    // Where the window is now.
    virtual WindowPlacement Placement() const = 0;
};

struct ViewerOutcome {
    int32_t ModalResult = 0;
    std::string Failure;  // Shift-JIS: the keys could not be kept
};

// ShowViewer: the drawing fitted into the window, the file name handed
// over, the window shown modally, its keys written and the window freed.
// A "tavo.ini" that cannot be written still closes the window; the failure
// comes back beside the modal result.
ViewerOutcome ShowViewer(std::unique_ptr<ViewerWindow> window, TJwObject& drawing, const std::string& fileName);

}  // namespace tavo
