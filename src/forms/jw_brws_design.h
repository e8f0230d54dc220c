#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavo {

// The preview window as designed, for every front end that shows it.

enum class JwBrwsAction : uint8_t { FileClose, FileSave, FileSaveTxt, EditSelect, EditSelAll, EditCopy, ShowHelp };
constexpr std::size_t kJwBrwsActionCount = 7;

struct ActionDesign {
    JwBrwsAction Action;
    const char* Name;        // the action's name
    const char* ButtonName;  // its toolbar button's name
    const char* Caption;     // Shift-JIS
    const char* Hint;        // Shift-JIS; empty: no hint
    int32_t ImageIndex;      // into the toolbar images
    bool CheckButton;        // shown pressed while the action is checked
    bool SeparatorBefore;    // a toolbar separator to its left
};

// The toolbar from left to right; every action has one button.
const std::array<ActionDesign, kJwBrwsActionCount>& JwBrwsToolbar();
const ActionDesign& DesignOf(JwBrwsAction action);

struct JwBrwsFormDesign {
    const char* Caption;  // Shift-JIS
    int32_t ClientWidth, ClientHeight;
    int32_t Width, Height;  // the window's own size on first use
    int32_t ButtonWidth, ButtonHeight;
    int32_t ImageSize;
    const char* FontName;  // Shift-JIS
    int32_t FontHeight;    // character height in pixels
};
const JwBrwsFormDesign& JwBrwsDesign();

}  // namespace tavo
