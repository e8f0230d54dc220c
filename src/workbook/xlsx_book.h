#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "workbook/sheet_model.h"
#include "workbook/workbook_package.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

// A relationship of a part: its type (the URI's last word, "worksheet",
// "drawing"...) and the part it points to, resolved against the source.
struct Relationship {
    std::string type, part;
    bool external = false;
};

// The relationships of `part` ("" for the package's own), by id.
std::map<std::string, Relationship> ReadRelationships(const WorkbookPackage& package, const std::string& part);

// What an .xlsx package says about its workbook, besides the cells: the
// sheets and their parts, the active sheet, the date system and the parts
// of the styles, shared strings and theme.
struct XlsxBook {
    std::vector<std::string> sheetNames;
    std::vector<std::string> sheetParts;
    std::size_t activeSheet = 0;
    bool date1904 = false;
    std::string stylesPart, sharedStringsPart, themePart;
};

XlsxBook ReadXlsxBook(const WorkbookPackage& package);

// The shared strings in order, their rich runs joined, raised and lowered
// runs kept, phonetic readings (furigana) left out.
std::vector<RichText> ReadXlsxSharedStrings(const WorkbookPackage& package, const std::string& part);

// Points of a column width given in characters of the default font, as the
// spreadsheet shows it in pixels (7 per character plus padding).
double ColumnWidthPoints(double characters);

// Reads the string elements of a shared string or an inline string (`si`
// or `is`): text runs, their vertical alignment, and phonetic runs to skip.
class RichTextReader {
public:
    // Feed the elements inside `si` / `is`; `text` only while inside them.
    void start(std::string_view name, const XmlAttributes& attrs);
    void end(std::string_view name);
    void text(std::string_view chars);
    // The string read so far, _xHHHH_ escapes resolved; and starts anew.
    RichText take();

private:
    RichText current_;
    int phonetic_ = 0;
    bool inText_ = false;
    Script runScript_ = Script::None;
    uint32_t runBegin_ = 0;
};

}  // namespace tavo::workbook
