#include "forms/jw_brws_design.h"

#include "forms/form_texts.h"

namespace tavo {

const std::array<ActionDesign, kJwBrwsActionCount>& JwBrwsToolbar() {
    using A = JwBrwsAction;
    static const std::array<ActionDesign, kJwBrwsActionCount> kToolbar = {{
        {A::FileClose, "FileClose", "ToolButton1", sjis::kCloseCaption, sjis::kCloseHint, 5, false, false},
        {A::FileSave, "FileSave", "ToolButton2", sjis::kSaveJwcCaption, sjis::kSaveJwcHint, 2, false, true},
        {A::FileSaveTxt, "FileSaveTxt", "ToolButton6", sjis::kSaveTxtCaption, "", 2, false, false},
        {A::EditSelect, "EditSelect", "tbSelect", sjis::kSelectCaption, sjis::kSelectHint, 3, true, true},
        {A::EditSelAll, "EditSelAll", "ToolButton7", sjis::kSelectAllCaption, "", 7, false, false},
        {A::EditCopy, "EditCopy", "ToolButton4", sjis::kCopyCaption, sjis::kCopyHint, 0, false, true},
        {A::ShowHelp, "ShowHelp", "ToolButton3", sjis::kHelpCaption, "", 6, false, true},
    }};
    return kToolbar;
}

const ActionDesign& DesignOf(JwBrwsAction action) {
    for (const ActionDesign& d : JwBrwsToolbar())
        if (d.Action == action) return d;
    return JwBrwsToolbar()[0];
}

const JwBrwsFormDesign& JwBrwsDesign() {
    static const JwBrwsFormDesign kDesign{sjis::kJwBrwsCaption, 568, 405, 576, 432, 55, 35, 16,
                                          sjis::kFormFontName, 12};
    return kDesign;
}

}  // namespace tavo
