#pragma once

#include <functional>
#include <memory>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/workbook_limits.h"

namespace orcus {
class zip_archive;
class zip_archive_stream;
}  // namespace orcus

namespace tavo::workbook {

class XmlHandler;
class XmlText;

enum class WorkbookKind { Xlsx, Ods };

// An Error naming a workbook file and what is wrong with it; the detail is
// UTF-8 (sheet names and texts from the file) and is kept as the library
// keeps its messages, in Shift-JIS.
[[noreturn]] void FailWorkbook(const std::string& path, const std::string& detail);


// A workbook file and the parts of its archive, read with liborcus. The
// constructor refuses, with an Error naming the file and what is wrong,
// anything that is not an .xlsx or .ods workbook: other files, encrypted
// and binary workbooks, damaged archives, parts beyond the limits.
class WorkbookPackage {
public:
    // The file at `path`: its parts are unpacked from it as they are read.
    explicit WorkbookPackage(std::string path);
    // A workbook held in memory (standard input, a test); `name` names it.
    WorkbookPackage(std::string name, std::string bytes);
    ~WorkbookPackage();
    WorkbookPackage(const WorkbookPackage&) = delete;
    WorkbookPackage& operator=(const WorkbookPackage&) = delete;

    const std::string& path() const { return path_; }
    WorkbookKind kind() const { return kind_; }
    // Whether the part is there. Part names compare as the package format
    // says, without regard to ASCII case; a leading "/" is allowed.
    bool has(std::string_view part) const { return !stored(part).empty(); }
    // A part's bytes; throws Error when it is missing or cannot be unpacked.
    std::string read(std::string_view part) const;
    // The same without a copy, ready for the XML parser, which will come
    // through it: a part that would end the process there is refused as
    // damaged (ParserGuard).
    XmlText readXml(std::string_view part) const;

    // Parses a part with `handler`; a part that is not well-formed XML ends
    // in an Error "PATH: PART: damaged (...)".
    void parse(std::string_view part, XmlHandler& handler) const;

    // An Error naming the file: "PATH: detail".
    [[noreturn]] void fail(const std::string& detail) const;
    // An Error naming the file and one of its parts: "PATH: PART: detail".
    [[noreturn]] void failPart(std::string_view part, const std::string& detail) const;

private:
    using ReadAt = std::function<std::string(std::size_t at, std::size_t length)>;
    void checkFile(const ReadAt& readAt, std::size_t size) const;
    void checkArchive(const ReadAt& readAt, std::size_t size) const;
    void open(std::unique_ptr<orcus::zip_archive_stream> stream);
    // A part's bytes as the archive holds them, unchecked.
    XmlText unpack(std::string_view part) const;

    // The name the archive stores a part under; "" when it is not there.
    const std::string& stored(std::string_view part) const;

    std::string path_;
    std::string bytes_;  // of a workbook in memory
    std::unique_ptr<orcus::zip_archive_stream> stream_;
    std::unique_ptr<orcus::zip_archive> zip_;
    std::map<std::string, std::string> names_;  // by the part name in lower case
    WorkbookKind kind_ = WorkbookKind::Xlsx;
};

}  // namespace tavo::workbook
