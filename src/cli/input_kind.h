#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavo::cli {

class TempFolder;

// What a file is, by its content rather than its name.
enum class InputKind {
    Workbook,       // a zip archive with an .xlsx's content types or an .ods's mimetype
    OtherZip,       // another zip archive (a damaged workbook, a document of another kind)
    CompoundFile,   // an OLE compound file: a binary .xls or an encrypted workbook
    Jwc,            // starts with the .jwc title "jw_cad(c)data"
    JwwText,        // a JWW coordinate file: its first line is "hd"
    Text,           // anything else: CSV rows
};

// The kind of a file from its first bytes and, for a zip archive, the
// names it holds (`bytes` may be the start and the end of a large file).
InputKind DetectInputKind(std::string_view bytes);

// The words for a kind in a message: "a workbook", "a .jwc drawing".
const char* KindWords(InputKind kind);

// An input of a command. A regular file is read where it lies; standard
// input ("-") and pipes (<(...), a FIFO) are read once into memory, as a
// loader needs to seek.
class Input {
public:
    explicit Input(std::string path);
    ~Input();
    Input(Input&&) noexcept;
    Input& operator=(Input&&) = delete;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    const std::string& path() const { return path_; }
    // How messages name it ("stdin" for "-").
    const std::string& name() const { return name_; }
    InputKind kind() const { return kind_; }
    // The bytes of standard input or a pipe; none for a regular file.
    const std::optional<std::string>& bytes() const { return bytes_; }
    // All its bytes, from memory or from the file.
    std::string read() const;
    // A regular file holding it, for readers that take a path: the file
    // itself, or a private copy of what was read from a pipe.
    const std::string& file();

    // Throws "NAME: is a workbook, not a .jwc drawing: use tavo export"
    // when the input is plainly no .jwc drawing; the reader speaks of the rest.
    void expectJwc() const;

private:
    std::string path_, name_;
    InputKind kind_ = InputKind::Text;
    bool seen_ = false;    // its bytes could be read: the kind is known
    bool binary_ = false;  // a NUL among its first bytes
    std::optional<std::string> bytes_;
    std::string file_;
    std::unique_ptr<TempFolder> copy_;
};

}  // namespace tavo::cli
