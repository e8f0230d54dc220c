#pragma once

#include <string>
#include <string_view>

#include "base/geometry.h"
#include "export/dxf_entities.h"

namespace tavo {

// A JW text in real-world millimetres: the start of its base line, the
// base line's direction in radians, and its text size times its group scale.
struct DxfTextFrame {
    WorldPoint Base;
    double Theta = 0;
    double Height = 0, Width = 0, Pitch = 0;
    bool Vertical = false;
};

// The TEXT entities of one JW text, placed as the preview places its glyphs;
// `e` comes with the layer and colour set.
// - Jw: a horizontal text is one TEXT with its "^" escapes as they are, for
//   JW_CAD reads them itself;
// - R2000, R2018: a horizontal text without escapes is one TEXT fitted to
//   the length the preview gives it (cells times half of width plus
//   spacing); with escapes, each raised, lowered or overlaid character is a
//   TEXT of its own between fitted runs of plain ones; a text whose trailing
//   middle dots spread the others is one TEXT per character;
// - every profile: a vertical text is one upright TEXT per character,
//   stacked as the preview stacks them.
void EmitDxfText(std::string_view text, const DxfTextFrame& frame, DxfProfile profile, DxfEntity& e,
                 DxfEntitySink& sink);

// The text as a TEXT entity holds it. A DXF value is one line: control
// characters become blanks for JW_CAD and caret notation ("^J") for the
// others, which also read a lone "^" as the start of one, so it is written
// "^ " there.
std::string DxfTextBytes(std::string_view sjis, DxfProfile profile);

}  // namespace tavo
