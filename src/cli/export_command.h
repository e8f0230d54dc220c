#pragma once

#include <string>
#include <vector>

#include "cli/csv.h"
#include "cli/text_encoding.h"
#include "export/dxf_entities.h"

namespace tavo {
class TJwObject;
}

namespace tavo::workbook {
class ExportCalls;
}

namespace tavo::cli {

class Args;
class Output;

// Replays worksheet rows (AddLine, AddText, AddTextV, AddCircle, AddSolid,
// Comment) as the host's export calls, after ObjCreateByInifile. Texts are
// Shift-JIS already.
void ReplaySheetRows(workbook::ExportCalls& calls, const std::vector<CsvRow>& rows, const std::string& csvName);
// The same from a worksheet file's bytes; `name` names it in messages.
void ReplaySheetText(workbook::ExportCalls& calls, std::string bytes, const std::string& name,
                     TextEncoding encoding);

// An export drawing made from the stored settings, as ObjCreateByInifile
// makes it, with the rows of the worksheet file `path` ("-": stdin).
void LoadSheet(TJwObject& drawing, const std::string& path, TextEncoding encoding);
// The same from the file's bytes; `name` names it in messages.
void LoadSheetText(TJwObject& drawing, std::string bytes, const std::string& name, TextEncoding encoding);

// The settings files an export reads: no output may replace them.
std::vector<std::string> SettingsInputs();
// The same with the worksheet or workbook the drawing is made from.
std::vector<std::string> ExportInputs(const std::string& input);

// The DXF profile --dxf names (jw, 2000 or 2018; jw without it); the option
// is refused for any output but DXF.
DxfProfile DxfProfileOption(const Args& args, const Output& output);
// The profile --dxf names, the output aside.
DxfProfile DxfProfileOption(const Args& args);

// Writes an export drawing as ObjSaveToJwcFile, ObjSaveToTxtFile or
// ObjSaveToDxfFile would, by the output's kind; the empty texts a .jwc
// leaves out are told on stderr, or added to `notes`.
void WriteExportDrawing(const TJwObject& drawing, const Output& output, DxfProfile profile = DxfProfile::Jw,
                        std::vector<std::string>* notes = nullptr);

extern const char* const kExportHelp;
int RunExport(const std::vector<std::string>& argv);

}  // namespace tavo::cli
