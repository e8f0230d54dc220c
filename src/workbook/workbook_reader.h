#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workbook/cell_collector.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

class WorkbookPackage;

struct ReadOptions {
    // The sheet by name, or by its position from 1; the active sheet when
    // not given.
    std::optional<std::string> sheet;
    CollectOptions collect;
};

// One sheet of an .xlsx or .ods workbook, as far as the drawing needs it.
// Throws Error naming the file and what is wrong.
SheetModel ReadWorkbookSheet(const std::string& path, const ReadOptions& options, const ProgressFn& progress = {});
SheetModel ReadWorkbookSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress = {});

// Index of the wanted sheet among `names`: a name, else a position from 1;
// `active` when nothing is wanted. Throws Error listing the sheets.
std::size_t ChooseSheet(const std::vector<std::string>& names, std::size_t active,
                        const std::optional<std::string>& wanted, const WorkbookPackage& package);

// The names of a workbook's sheets in their order. Throws Error naming the
// file and what is wrong.
std::vector<std::string> ReadSheetNames(const std::string& path);

SheetModel ReadXlsxSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress);
SheetModel ReadOdsSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress);

}  // namespace tavo::workbook
