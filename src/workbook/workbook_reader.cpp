#include "workbook/workbook_reader.h"

#include "base/error.h"
#include "workbook/workbook_package.h"
#include "workbook/xlsx_book.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

// The names of the spreadsheet's own tables, not of tables nested in them.
class OdsTableNames : public XmlHandler {
public:
    std::vector<std::string> names;

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != xmlns::kOdfTable || name != "table") return;
        if (depth_++ == 0) names.emplace_back(a.value(xmlns::kOdfTable, "name"));
    }
    void end(std::string_view ns, std::string_view name) override {
        if (ns == xmlns::kOdfTable && name == "table") --depth_;
    }

private:
    int depth_ = 0;
};

}  // namespace

std::size_t ChooseSheet(const std::vector<std::string>& names, std::size_t active,
                        const std::optional<std::string>& wanted, const WorkbookPackage& package) {
    if (names.empty()) package.fail("has no sheets");
    if (!wanted) return active < names.size() ? active : 0;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == *wanted) return i;
    if (!wanted->empty() && wanted->size() < 6 && wanted->find_first_not_of("0123456789") == std::string::npos) {
        const std::size_t n = std::stoul(*wanted);
        if (n >= 1 && n <= names.size()) return n - 1;
    }
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "\"" : ", \"") + n + "\"";
    package.fail("has no sheet \"" + *wanted + "\" (its sheets: " + list + ")");
}

// Runs `read` over the package, liborcus's failures and a lack of memory
// told as the book's.
template <typename Read>
auto Reading(const WorkbookPackage& package, Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const Error&) {
        throw;
    } catch (const std::bad_alloc&) {
        package.fail("needs more memory than there is (damaged?)");
    } catch (const std::exception&) {  // liborcus's own failures
        package.fail("is damaged (it cannot be read)");
    }
}

std::vector<std::string> ReadSheetNames(const std::string& path) {
    const WorkbookPackage package(path);
    return Reading(package, [&] {
        if (package.kind() == WorkbookKind::Xlsx) return ReadXlsxBook(package).sheetNames;
        OdsTableNames reader;
        package.parse("content.xml", reader);
        return reader.names;
    });
}

SheetModel ReadWorkbookSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress) {
    return Reading(package, [&] {
        return package.kind() == WorkbookKind::Ods ? ReadOdsSheet(package, options, progress)
                                                   : ReadXlsxSheet(package, options, progress);
    });
}

SheetModel ReadWorkbookSheet(const std::string& path, const ReadOptions& options, const ProgressFn& progress) {
    return ReadWorkbookSheet(WorkbookPackage(path), options, progress);
}

}  // namespace tavo::workbook
