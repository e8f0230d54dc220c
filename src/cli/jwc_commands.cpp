#include "cli/jwc_commands.h"

#include <memory>

#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/jwc_csv.h"
#include "cli/jwc_input.h"
#include "cli/output_rule.h"
#include "cli/text_encoding.h"
#include "cli/value_ranges.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_writer.h"
#include "platform/encoding.h"

namespace tavo::cli {

const char* const kDumpHelp =
    "usage: tavo dump FILE.jwc [-o OUT.csv|-] [--encoding sjis|utf8]\n"
    "\n"
    "One CSV row per record of the drawing, every field as stored:\n"
    "  Drawing,PaperSize,Scale          paper-size index 0-4 for A0-A4\n"
    "  Comment,Comment1,Comment2\n"
    "  Table,Row,PenNo,Width,Height,Spacing      rows 0-10, tenths of a millimetre\n"
    "  Sen,X1,Y1,X2,Y2,LineType,Color,Lay,SpareByte,SpareWord\n"
    "  Enko,X,Y,R,Flatness,StartAngle,EndAngle,Tilt,LineType,Color,Lay,SpareByte,SpareWord\n"
    "  Moji,X1,Y1,X2,Y2,MojiNo,Lay,Flags,Text\n"
    "  Ten,X,Y,Lay,Color,SpareWord\n"
    "Coordinates are drawing units exactly as stored (518 across the paper's long side);\n"
    "angles are degrees x 65536 and Flatness is the axis ratio x 10000, as stored.\n"
    "\n"
    "Texts are Shift-JIS in a file, and in the locale's character set on stdout, a pipe too\n"
    "(UTF-8 under a UTF-8 or the C locale); --encoding (or --utf8) forces it. The first line names the encoding, so that\n"
    "tavo build reads the dump back into the same file. FILE may be - (stdin); -o - or no\n"
    "-o writes to stdout.\n"
    "\n"
    "examples:\n"
    "  tavo dump plan.jwc | grep 和室\n"
    "  tavo dump plan.jwc -o plan.csv\n";

const char* const kBuildHelp =
    "usage: tavo build IN.csv -o OUT.jwc|- [--paper N] [--scale N] [--mm] [--encoding sjis|utf8]\n"
    "\n"
    "The reverse of tavo dump: a drawing made of the rows of IN.csv, one record per row,\n"
    "written to OUT.jwc; an existing OUT.jwc becomes OUT.bak. Coordinates are drawing units as dump writes them; with --mm\n"
    "they are millimetres on the paper, as tavo export's CSV rows give them.\n"
    "  --paper N   paper-size index, 0-4 for A0-A4 (else the Drawing row's, else 3)\n"
    "  --scale N   the drawing's scale, 1-1000 (else the Drawing row's, else 100)\n"
    "A comment holds at most 32 bytes of Shift-JIS. Pens (Color) 1-9, line types 1-9 (in the\n"
    "low four bits) and text sizes (MojiNo) 1-10 are what JW_CAD knows: a row with another\n"
    "value is refused. Arc angles are kept from 0 up to a whole turn. The texts of IN.csv are\n"
    "read as tavo export reads them (tavo export --help). IN.csv may be - (stdin).\n"
    "\n"
    "examples:\n"
    "  tavo build plan.csv -o plan.jwc\n"
    "  tavo build rows.csv --mm --paper 2 --scale 50 -o plan.jwc\n";

int RunDump(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--encoding"}, {"--utf8"});
    const std::string& input = args.onlyPositional("FILE.jwc");
    const Output output(args.value("-o", "-"), {&kCsvOutput}, "", {input});
    auto drawing = std::make_unique<TJwcFile>();
    LoadJwcInput(*drawing, input);

    TextEncoding encoding = EncodingOption(args);
    // stdout, a pipe too, follows the locale: `tavo dump x.jwc | grep 和室` finds it.
    const bool otherCharset = encoding == TextEncoding::Detect && output.isStandardOutput() &&
                              (encoding = LocaleEncoding()) == TextEncoding::Detect;
    if (encoding == TextEncoding::Detect) encoding = TextEncoding::ShiftJis;
    std::string csv = DumpJwcCsv(*drawing, StoredScale(*drawing));
    if (otherCharset)
        csv = Cp932ForPerson(csv);
    else if (encoding == TextEncoding::Utf8)
        csv = EncodingLine(encoding) + platform::Cp932ToUtf8(csv);
    else
        csv = EncodingLine(encoding) + csv;
    output.write(csv);
    return 0;
}

int RunBuild(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--paper", "--scale", "--encoding"}, {"--utf8", "--mm"});
    const std::string& input = args.onlyPositional("IN.csv");
    if (!args.has("-o")) throw UsageError{"build needs -o OUT.jwc"};
    const Output output(args.value("-o"), {&kJwcOutput}, "", {input});
    BuildOptions options;
    if (args.has("--paper")) options.plotSize = RangedInt("PlotSize", args.value("--paper"), "--paper");
    if (args.has("--scale")) options.scale = RangedInt("JwcScale", args.value("--scale"), "--scale");
    options.unit = args.has("--mm") ? CoordUnit::PaperMm : CoordUnit::DrawingUnits;
    const std::string name = InputName(input);
    const std::string text = TextFileToShiftJis(ReadInput(input), EncodingOption(args), name);
    JwcSession session;
    BuildJwcFromCsv(session, ParseRecordCsv(text, IsJwcRecordKind), options, name);
    output.write([&](ByteSink& sink) { WriteJwc(session.drawing(), sink); }, Backup::RenameOldToBak);
    return 0;
}

}  // namespace tavo::cli
