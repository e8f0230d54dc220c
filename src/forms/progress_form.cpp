#include "forms/progress_form.h"

#include <algorithm>

#include "forms/form_texts.h"
#include "forms/jw_brws_form.h"

namespace tavo {

int32_t ProgressBarState::ShownPosition() const { return std::clamp(Position, Min, ShownMax()); }

void TProgressForm::Prepare(int16_t lineMax, int16_t textMax) {
    pbLine.Max = lineMax;
    pbText.Max = textMax;
    CancelVisible = true;
}

bool TProgressForm::FormKeyDown(int key) {
    if (key != kKeyEscape) return false;
    btnCancelClick();
    return true;
}

void TProgressForm::SetPositions(int16_t line, int16_t text) {
    pbLine.Position = line;
    pbText.Position = text;
}

int32_t ProgressStep(ProgressWindow& window, int16_t line, int16_t text) {
    window.Form().SetPositions(line, text);
    window.Refresh();
    return window.Form().Result();
}

const ProgressFormDesign& ProgressDesign() {
    using K = ControlKind;
    static const ProgressFormDesign kDesign{sjis::kProgressCaption,
                                            296,
                                            101,
                                            sjis::kFormFontName,
                                            12,
                                            {{{"labMess", K::Label, 12, 20, 24, 12, sjis::kRuledLinesLabel},
                                              {"Label1", K::Label, 12, 44, 24, 12, sjis::kTextsLabel},
                                              {"pbLine", K::ProgressBar, 48, 16, 237, 17, ""},
                                              {"btnCancel", K::Button, 110, 68, 75, 25, sjis::kCancelCaption},
                                              {"pbText", K::ProgressBar, 48, 40, 237, 17, ""}}}};
    return kDesign;
}

}  // namespace tavo
