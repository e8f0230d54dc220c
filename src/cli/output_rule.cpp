#include "cli/output_rule.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/path_text.h"
#include "cli/cli_args.h"
#include "cli/text_encoding.h"

namespace tavo::cli {

const OutputKind kJwcOutput{"jwc", ".jwc", "JW_CAD drawing", true};
const OutputKind kJwwOutput{"jww", ".txt", "JWW coordinate file", false};
const OutputKind kJwtOutput{"jwt", ".jwt", "JWT text", false};
const OutputKind kCsvOutput{"csv", ".csv", "CSV", false};
const OutputKind kPngOutput{"png", ".png", "PNG image", true};
const OutputKind kDxfOutput{"dxf", ".dxf", "DXF drawing", false};

namespace {

// Extensions people reach for that would mislead another program.
std::string hintFor(const std::string& ext) {
    if (EqualsIgnoringAsciiCase(ext, ".jww"))
        return "; .jww is JW_CAD for Windows' binary drawing, which tavo does not write (the JWW coordinate file "
               "is .txt)";
    if (EqualsIgnoringAsciiCase(ext, ".dxf")) return "; tavo export and tavo convert write DXF";
    return "";
}

const OutputKind* kindByName(const OutputKinds& allowed, const std::string& name) {
    for (const OutputKind* kind : allowed)
        if (EqualsIgnoringAsciiCase(kind->name, name)) return kind;
    return nullptr;
}

std::string kindNames(const OutputKinds& allowed) {
    std::string names;
    for (std::size_t i = 0; i < allowed.size(); ++i)
        names += (i == 0 ? "" : i + 1 == allowed.size() ? " or " : ", ") + std::string(allowed[i]->name);
    return names;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace

std::string DescribeKinds(const OutputKinds& kinds) {
    std::string text;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        text += i == 0 ? "" : i + 1 == kinds.size() ? " or " : ", ";
        text += std::string(kinds[i]->extension) + " (" + kinds[i]->description + ")";
    }
    return text;
}

Output::Output(std::string name, const OutputKinds& allowed, const std::string& forced,
               const std::vector<std::string>& inputs)
    : name_(std::move(name)) {
    if (!forced.empty()) {
        kind_ = kindByName(allowed, forced);
        if (!kind_) throw UsageError{"--to takes " + kindNames(allowed) + ", not \"" + forced + "\""};
    }
    if (isStandardOutput()) {
        if (!kind_ && allowed.size() == 1) kind_ = allowed[0];
        if (!kind_) throw UsageError{"-o - needs --to " + kindNames(allowed) + " to say what to write"};
        if (kind_->binary && IsTerminal(stdout))
            throw UsageError{std::string("will not write a ") + kind_->description +
                             " to a terminal; redirect it or name a file"};
        return;
    }
    if (name_.empty()) throw UsageError{"-o needs a file name"};
    const std::string ext = extractFileExt(name_);
    const OutputKind* byName = nullptr;
    for (const OutputKind* kind : allowed)
        if (EqualsIgnoringAsciiCase(ext, kind->extension)) byName = kind;
    if (!byName)
        throw CommandError{name_, "the name must end in " + DescribeKinds(allowed) + hintFor(ext)};
    if (kind_ && kind_ != byName)
        throw CommandError{name_, std::string("--to ") + kind_->name + " writes a " + kind_->description +
                                      ", which a name ending in " + ext + " would misname"};
    kind_ = byName;
    for (const std::string& input : inputs)
        if (input != "-" && sameFile(name_, input))
            throw CommandError{name_, "is also an input (" + input + "); writing it would destroy what is read"};
}

void Output::write(const std::function<void(ByteSink&)>& produce, Backup backup) const {
    if (!isStandardOutput()) {
        saveFile(name_, produce, backup);
        return;
    }
    StringSink sink;
    produce(sink);
    WriteStandardOutput(sink.bytes());
}

void Output::write(const std::string& bytes) const {
    write([&](ByteSink& sink) { sink.write(bytes); });
}

std::string InputName(const std::string& path) { return path == "-" ? "stdin" : path; }

std::string ReadInput(const std::string& path) {
    if (path != "-") return readWholeFile(path);
    std::string bytes;
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), stdin)) > 0) bytes.append(buffer.data(), n);
    if (std::ferror(stdin)) throw CommandError{"stdin", "cannot be read: " + systemErrorText(errno)};
    return bytes;
}

void WriteStandardOutput(const std::string& bytes) {
    std::cout.flush();
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw CommandError{"stdout", "cannot be written: " + systemErrorText(errno)};
}

}  // namespace tavo::cli
