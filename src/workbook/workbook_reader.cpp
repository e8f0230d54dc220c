#include "workbook/workbook_reader.h"

#include "base/error.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

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

SheetModel ReadWorkbookSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress) {
    try {
        return package.kind() == WorkbookKind::Ods ? ReadOdsSheet(package, options, progress)
                                                   : ReadXlsxSheet(package, options, progress);
    } catch (const Error&) {
        throw;
    } catch (const std::bad_alloc&) {
        package.fail("needs more memory than there is (damaged?)");
    } catch (const std::exception&) {  // liborcus's own failures
        package.fail("is damaged (it cannot be read)");
    }
}

SheetModel ReadWorkbookSheet(const std::string& path, const ReadOptions& options, const ProgressFn& progress) {
    return ReadWorkbookSheet(WorkbookPackage(path), options, progress);
}

}  // namespace tavo::workbook
