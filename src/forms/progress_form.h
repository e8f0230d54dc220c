#pragma once

#include <array>
#include <cstdint>

namespace tavo {

// A progress bar's range and position as the host sets them.
struct ProgressBarState {
    int32_t Min = 0, Max = 100, Position = 0;

    // What the bar draws: the position kept within the range, so that one
    // above the maximum shows a full bar; a range of no width is widened by
    // one so that it shows empty or full, never as "busy".
    int32_t ShownMax() const { return Max > Min ? Max : Min + 1; }
    int32_t ShownPosition() const;
};

// The progress dialog's behaviour: the continue flag and the two bars.
class TProgressForm {
public:
    ProgressBarState pbLine, pbText;
    bool CancelVisible = false;
    bool Continue = false;  // true while the user has not cancelled

    // ProgressCreate, before the window shows.
    void Prepare(int16_t lineMax, int16_t textMax);
    void FormShow() { Continue = true; }
    void btnCancelClick() { Continue = false; }
    // Esc presses the cancel button; true when the key was used.
    bool FormKeyDown(int key);
    void SetPositions(int16_t line, int16_t text);
    // The host's true (-1) while it may go on, false (0) after a cancel.
    int32_t Result() const { return Continue ? -1 : 0; }
};

// A front end's progress dialog, bound to its TProgressForm.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual TProgressForm& Form() = 0;
    // Runs FormShow and shows the dialog modeless.
    virtual void Show() = 0;
    // Repaints both bars at once, then handles every waiting window event
    // of the thread (a click on Cancel among them).
    virtual void Refresh() = 0;
};

// Progress: the positions shown, the waiting events handled, the result.
int32_t ProgressStep(ProgressWindow& window, int16_t line, int16_t text);

enum class ControlKind : uint8_t { Label, ProgressBar, Button };

struct ControlDesign {
    const char* Name;
    ControlKind Kind;
    int32_t Left, Top, Width, Height;
    const char* Caption;  // Shift-JIS; empty for the bars
};

struct ProgressFormDesign {
    const char* Caption;  // Shift-JIS
    int32_t ClientWidth, ClientHeight;
    const char* FontName;  // Shift-JIS
    int32_t FontHeight;
    std::array<ControlDesign, 5> Controls;  // in creation order
};
const ProgressFormDesign& ProgressDesign();

}  // namespace tavo
