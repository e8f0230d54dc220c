#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/byte_sink.h"
#include "base/file_save.h"

namespace tavo::cli {

// A kind of file the commands write, known by its extension.
struct OutputKind {
    const char* name;       // as --to names it
    const char* extension;  // with its "."
    const char* description;
    bool binary;  // never written to a terminal
};

extern const OutputKind kJwcOutput;  // .jwc, JW_CAD (DOS) drawing
extern const OutputKind kJwwOutput;  // .txt, JWW coordinate file
extern const OutputKind kJwtOutput;  // .jwt, JWT text
extern const OutputKind kCsvOutput;  // .csv
extern const OutputKind kPngOutput;  // .png
extern const OutputKind kDxfOutput;  // .dxf

using OutputKinds = std::vector<const OutputKind*>;

// The one rule for every output: "-" is standard output (its kind from
// `forced`, the value of --to, or the command's only kind); a file name's
// extension names one of the command's kinds, case ignored (a misleading
// one such as ".jww" is refused, naming the allowed kinds); the
// output is none of the inputs, however spelled or linked. Throws
// UsageError or CommandError.
class Output {
public:
    Output(std::string name, const OutputKinds& allowed, const std::string& forced,
           const std::vector<std::string>& inputs);

    const OutputKind& kind() const { return *kind_; }
    bool isStandardOutput() const { return name_ == "-"; }
    const std::string& name() const { return name_; }

    // A file goes through the library's atomic save (with the ".bak" rule
    // when asked); standard output gets the bytes once they are complete.
    void write(const std::function<void(ByteSink&)>& produce, Backup backup = Backup::None) const;
    void write(const std::string& bytes) const;

private:
    std::string name_;
    const OutputKind* kind_ = nullptr;
};

// The kinds a command writes, for its messages: ".jwc (JW_CAD drawing) or
// .txt (JWW coordinate file)".
std::string DescribeKinds(const OutputKinds& kinds);

// Bytes of an input: a file, or standard input for "-" (read once).
std::string ReadInput(const std::string& path);
// How an input is named in messages ("stdin" for "-").
std::string InputName(const std::string& path);

// Writes to standard output and checks that it arrived; throws CommandError.
void WriteStandardOutput(const std::string& bytes);

}  // namespace tavo::cli
