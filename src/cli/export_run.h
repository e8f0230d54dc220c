#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavo::cli {

// One output of tavo export: which input (and sheet) becomes what.
struct ExportTask {
    std::size_t input = 0;  // index among the command's inputs
    std::optional<std::string> sheet;  // --sheet all: this sheet's name
    std::string target;     // jwc, jww, jwt, dxf, clipboard or preview
    std::string output;     // the file, or "-"; empty for clipboard and preview
    std::string note;       // why this output, when tavo chose it
};

// The name of an output tavo chooses: the input's name without its
// extension, "-SHEET" for one of all sheets, then the kind's extension,
// in `folder` (with its "/"; empty: beside the input). Characters a file
// name cannot hold become "_".
std::string OutputNameFor(const std::string& input, const std::optional<std::string>& sheet,
                          const std::string& extension, const std::string& folder);

}  // namespace tavo::cli
