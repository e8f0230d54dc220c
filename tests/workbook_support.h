#pragma once

#include <xlsxwriter.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_keys.h"
#include "settings/settings_record.h"
#include "stored_zip.h"
#include "tavo.h"
#include "workbook/recording_export_calls.h"
#include "workbook/workbook_export.h"

namespace tavo::test {

// Writes an .xlsx with libxlsxwriter; `fill` adds the formats and cells of
// its first sheet.
inline void WriteXlsx(const std::string& path, const std::function<void(lxw_workbook*, lxw_worksheet*)>& fill,
                      const char* sheetName = nullptr) {
    lxw_workbook* wb = workbook_new(path.c_str());
    if (!wb) throw std::runtime_error("libxlsxwriter cannot create " + path);
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName);
    fill(wb, ws);
    if (workbook_close(wb) != LXW_NO_ERROR) throw std::runtime_error("libxlsxwriter cannot write " + path);
}

// A format with all four borders.
inline lxw_format* BoxFormat(lxw_workbook* wb, uint8_t style = LXW_BORDER_THIN) {
    lxw_format* f = workbook_add_format(wb);
    format_set_border(f, style);
    return f;
}

// The factory settings as ReadInifile hands them to a host.
inline TavoSettings FactoryHostSettings() {
    TavoSettings s{};
    const TSettings f = FactorySettings();
    std::memcpy(&s, &f, kSettingsBytes);
    return s;
}

// The calls the workbook host makes for a sheet with the given settings.
inline workbook::RecordingExportCalls RecordExport(const std::string& path, const TavoSettings& settings,
                                                   const workbook::WorkbookExportOptions& options = {}) {
    workbook::RecordingExportCalls calls(settings);
    workbook::ExportWorkbookSheet(path, options, calls);
    return calls;
}

}  // namespace tavo::test
