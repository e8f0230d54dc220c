#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// Splits a line the way the runtime's string list reads comma text: commas
// separate fields, so do runs of blanks and control bytes, a field in double
// quotes loses its quotes (a doubled quote inside stands for one), and a
// trailing comma adds an empty field. Splitting stops at the first NUL.
std::vector<std::string> splitCommaText(std::string_view line);

}  // namespace tavo
