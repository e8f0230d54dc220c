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

inline uint32_t Crc32(const std::string& data) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

inline void Put(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A zip archive of stored (uncompressed) parts, for books assembled from
// hand-written parts.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& parts) {
    std::string body, directory;
    for (const auto& [name, data] : parts) {
        const auto offset = static_cast<uint32_t>(body.size());
        const auto header = [&](std::string& out, bool central) {
            Put(out, central ? 0x02014b50 : 0x04034b50, 4);
            if (central) Put(out, 20, 2);
            Put(out, 20, 2);
            Put(out, 0, 2);  // flags
            Put(out, 0, 2);  // stored
            Put(out, 0, 4);  // time and date
            Put(out, Crc32(data), 4);
            Put(out, static_cast<uint32_t>(data.size()), 4);
            Put(out, static_cast<uint32_t>(data.size()), 4);
            Put(out, static_cast<uint32_t>(name.size()), 2);
            Put(out, 0, 2);
            if (central) {
                Put(out, 0, 2);
                Put(out, 0, 2);
                Put(out, 0, 2);
                Put(out, 0, 4);
                Put(out, offset, 4);
            }
            out += name;
        };
        header(body, false);
        body += data;
        header(directory, true);
    }
    std::string end;
    Put(end, 0x06054b50, 4);
    Put(end, 0, 4);
    Put(end, static_cast<uint32_t>(parts.size()), 2);
    Put(end, static_cast<uint32_t>(parts.size()), 2);
    Put(end, static_cast<uint32_t>(directory.size()), 4);
    Put(end, static_cast<uint32_t>(body.size()), 4);
    Put(end, 0, 2);
    return body + directory + end;
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
