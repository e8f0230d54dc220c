#include "cli/jwt_command.h"

#include <memory>

#include "cli/cli_args.h"
#include "cli/clipboard_copy.h"
#include "cli/export_command.h"
#include "cli/jwc_input.h"
#include "cli/output_rule.h"
#include "cli/text_encoding.h"
#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "jwc/jwt_text.h"
#include "platform/encoding.h"

namespace tavo::cli {

const char* const kJwtHelp =
    "usage: tavo jwt FILE.jwc [-o OUT.jwt|-] [--clipboard] [--units world|sheet]\n"
    "                [--encoding sjis|utf8]\n"
    "\n"
    "The drawing as JWT text, the text another CAD program pastes: to stdout (no -o), to\n"
    "OUT.jwt, and with --clipboard onto the desktop's clipboard.\n"
    "  --units world  real-world millimetres: drawing units x (paper length / 518) x the\n"
    "                 scale of each record's group (the default; what the preview's copy and\n"
    "                 tavo convert -o OUT.jwt give)\n"
    "  --units sheet  millimetres on the paper, what the spreadsheet's copy of a loaded\n"
    "                 file gives (loading sets the drawing's scale to 1)\n"
    "\n"
    "The text has CR LF line ends; it is Shift-JIS in a file and on the clipboard, and in the\n"
    "locale's character set on stdout, a pipe too (UTF-8 under a UTF-8 or the C locale);\n"
    "--encoding forces it. --clipboard needs a\n"
    "display (DISPLAY or WAYLAND_DISPLAY); without one, or when the clipboard cannot be\n"
    "reached, it fails. A background process of tavo keeps the text on the clipboard until\n"
    "another program copies something. FILE may be - (stdin).\n"
    "\n"
    "examples:\n"
    "  tavo jwt plan.jwc --clipboard\n"
    "  tavo jwt plan.jwc -o plan.jwt\n";

const char* const kConvertHelp =
    "usage: tavo convert FILE.jwc -o OUT.txt|OUT.jwt|OUT.jwc|OUT.dxf|- [--to jww|jwt|jwc|dxf]\n"
    "                    [--units world|sheet] [--dxf jw|2000|2018]\n"
    "\n"
    "Turns the drawing into an export drawing, as the preview window does, and writes:\n"
    "  OUT.txt  JWW coordinate file, real-world millimetres (drawing units x (paper length\n"
    "           / 518) x the scale of each record's group)\n"
    "  OUT.jwt  JWT text, the same as tavo jwt (real-world millimetres; --units sheet for\n"
    "           millimetres on the paper)\n"
    "  OUT.jwc  JW_CAD drawing in drawing units; the drawing's scale and comments are kept,\n"
    "           while group and layer names, hidden groups and layers, text-size row 0 and\n"
    "           the spare fields are not (an export drawing has none of them); tavo dump and\n"
    "           tavo build copy a drawing exactly. An existing OUT.jwc becomes OUT.bak.\n"
    "  OUT.dxf  DXF drawing, real-world millimetres as in OUT.txt; --dxf jw (the default, R12\n"
    "           in Shift-JIS for JW_CAD), 2000 or 2018 as tavo export --help tells. An\n"
    "           existing OUT.dxf becomes OUT.bak.\n"
    "With -o -, --to says which. FILE may be - (stdin).\n"
    "\n"
    "examples:\n"
    "  tavo convert plan.jwc -o plan.dxf\n"
    "  tavo convert plan.jwc -o plan.txt\n";

namespace {

enum class JwtUnits { World, Sheet };

JwtUnits unitsOption(const Args& args) {
    const std::string units = args.value("--units", "world");
    if (units == "world") return JwtUnits::World;
    if (units == "sheet") return JwtUnits::Sheet;
    throw UsageError{"--units takes world or sheet, not \"" + units + "\""};
}

// The export drawing the preview shows for the file.
std::unique_ptr<TJwObject> importDrawing(const TJwcFile& file) {
    auto drawing = std::make_unique<TJwObject>();
    ImportJwc(file, *drawing);
    return drawing;
}

std::string jwtText(const TJwcFile& file, JwtUnits units) {
    if (units == JwtUnits::Sheet) return JwcToJwt(file, file.unitDivisor);
    return ExportToJwt(*importDrawing(file));
}

// JWT text in the encoding its output asks for.
std::string encodeJwt(const std::string& cp932, const Output& output, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return platform::Cp932ToUtf8(cp932);
    if (encoding == TextEncoding::Detect && output.isStandardOutput()) return Cp932ForPerson(cp932);
    return cp932;
}

}  // namespace

int RunJwt(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--units", "--encoding"}, {"--clipboard", "--utf8"});
    const std::string& input = args.onlyPositional("FILE.jwc");
    const JwtUnits units = unitsOption(args);
    const TextEncoding encoding = EncodingOption(args);
    const bool toOutput = args.has("-o") || !args.has("--clipboard");
    const Output output(args.value("-o", "-"), {&kJwtOutput}, "", {input});
    auto file = std::make_unique<TJwcFile>();
    LoadJwcInput(*file, input);
    const std::string text = jwtText(*file, units);
    if (args.has("--clipboard")) CopyToDesktopClipboard(text);
    if (toOutput) output.write(encodeJwt(text, output, encoding));
    return 0;
}

int RunConvert(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--to", "--units", "--dxf"}, {});
    const std::string& input = args.onlyPositional("FILE.jwc");
    if (!args.has("-o")) throw UsageError{"convert needs -o OUT.txt, OUT.jwt, OUT.jwc or OUT.dxf"};
    const Output output(args.value("-o"), {&kJwwOutput, &kJwtOutput, &kJwcOutput, &kDxfOutput}, args.value("--to"),
                        {input});
    const DxfProfile profile = DxfProfileOption(args, output);
    const JwtUnits units = unitsOption(args);
    if (args.has("--units") && &output.kind() != &kJwtOutput) throw UsageError{"--units is for JWT text only"};
    auto file = std::make_unique<TJwcFile>();
    LoadJwcInput(*file, input);
    if (&output.kind() == &kJwtOutput) {
        output.write(jwtText(*file, units));
        return 0;
    }
    WriteExportDrawing(*importDrawing(*file), output, profile);
    return 0;
}

}  // namespace tavo::cli
