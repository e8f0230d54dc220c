#include "cli/input_kind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <fstream>

#include "base/file_save.h"
#include "cli/output_rule.h"
#include "cli/temp_folder.h"
#include "cli/text_encoding.h"

namespace tavo::cli {

namespace {

constexpr std::string_view kZip("PK\x03\x04", 4);
constexpr std::string_view kCompound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr std::string_view kJwcTitle = "jw_cad(c)data";
constexpr std::size_t kHead = 4096, kTail = 1 << 16;

bool startsWith(std::string_view bytes, std::string_view start) { return bytes.substr(0, start.size()) == start; }

bool regularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The start and the end of a file, where a zip archive keeps its names.
std::string headAndTail(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kHead, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(kHead));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() < kHead) return bytes;
    in.clear();
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= static_cast<std::streamoff>(kHead)) return bytes;
    const std::streamoff from = std::max<std::streamoff>(static_cast<std::streamoff>(kHead), size - static_cast<std::streamoff>(kTail));
    in.seekg(from);
    std::string tail(static_cast<std::size_t>(size - from), '\0');
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    tail.resize(static_cast<std::size_t>(in.gcount()));
    return bytes + tail;
}

// A pipe's bytes, read to its end.
std::string readStream(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    std::array<char, 65536> buffer{};
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0)
        bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw CommandError{path, "cannot be read"};
    return bytes;
}

}  // namespace

InputKind DetectInputKind(std::string_view bytes) {
    if (startsWith(bytes, kZip)) {
        // Part names stand uncompressed in the archive's directory; a
        // document or presentation has content types too, but no xl/ parts.
        std::string names(bytes);
        for (char& c : names) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool ooxml = names.find("[content_types].xml") != std::string::npos && names.find("xl/") != std::string::npos;
        const bool ods = bytes.find("application/vnd.oasis.opendocument.spreadsheet") != std::string_view::npos;
        return ooxml || ods ? InputKind::Workbook : InputKind::OtherZip;
    }
    if (startsWith(bytes, kCompound)) return InputKind::CompoundFile;
    if (startsWith(bytes, kJwcTitle)) return InputKind::Jwc;
    if (startsWith(bytes, "hd\r\n") || startsWith(bytes, "hd\n") || bytes == "hd") return InputKind::JwwText;
    return InputKind::Text;
}

const char* KindWords(InputKind kind) {
    switch (kind) {
        case InputKind::Workbook: return "a workbook";
        case InputKind::OtherZip: return "a zip archive";
        case InputKind::CompoundFile: return "a binary Office file (.xls, or an encrypted workbook)";
        case InputKind::Jwc: return "a .jwc drawing";
        case InputKind::JwwText: return "a JWW coordinate file";
        case InputKind::Text: return "a text file";
    }
    return "";
}

Input::Input(std::string path) : path_(std::move(path)), name_(InputName(path_)) {
    struct stat st {};
    const bool exists = path_ != "-" && stat(path_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throw CommandError{name_, "is a folder, not a file"};
    if (path_ == "-" || (exists && !S_ISREG(st.st_mode))) {
        bytes_ = path_ == "-" ? ReadInput(path_) : readStream(path_);
        kind_ = DetectInputKind(*bytes_);
        seen_ = true;
        binary_ = bytes_->substr(0, kHead).find('\0') != std::string::npos;
        return;
    }
    if (regularFile(path_)) {
        const std::string head = headAndTail(path_);
        kind_ = DetectInputKind(head);
        seen_ = access(path_.c_str(), R_OK) == 0;
        binary_ = head.substr(0, kHead).find('\0') != std::string::npos;
    }
    file_ = path_;
}

Input::~Input() = default;
Input::Input(Input&&) noexcept = default;

std::string Input::read() const { return bytes_ ? *bytes_ : ReadInput(path_); }

const std::string& Input::file() {
    if (!file_.empty() || !bytes_) return file_;
    copy_ = std::make_unique<TempFolder>();
    // The readers tell the kind by the name too; the content has said it.
    file_ = copy_->path() + (bytes_->find("opendocument") != std::string::npos ? "input.ods" : "input.xlsx");
    saveFile(file_, [&](ByteSink& sink) { sink.write(*bytes_); });
    return file_;
}

void Input::expectJwc() const {
    if (!seen_) return;  // the reader says why it cannot be read
    switch (kind_) {
        case InputKind::OtherZip:
            throw CommandError{name_, "is a zip archive but no workbook, not a .jwc drawing"};
        case InputKind::Workbook:
        case InputKind::CompoundFile:
            throw CommandError{name_, std::string("is ") + KindWords(kind_) + ", not a .jwc drawing: use tavo export" +
                                          " (tavo render and tavo view take workbooks too)"};
        case InputKind::JwwText:
            throw CommandError{name_, "is a JWW coordinate file (JW_CAD for Windows reads it), not a .jwc drawing"};
        case InputKind::Text:
            if (!binary_)
                throw CommandError{name_, "is a text file, not a .jwc drawing: tavo build makes a drawing of CSV rows, "
                                          "tavo export of a sheet's export calls"};
            return;
        default: return;
    }
}

}  // namespace tavo::cli
