#include "cli/jwc_commands.h"

#include "base/ascii_case.h"
#include "base/file_save.h"
#include "base/geometry.h"
#include "base/path_text.h"
#include "cli/jwc_csv.h"
#include "export/export_jwc_writer.h"
#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "export/jww_writer.h"
#include "jwc/jwc_framing.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwt_text.h"
#include "platform/clipboard.h"
#include "platform/encoding.h"

namespace tavo::cli {

namespace {

std::string onlyInput(const Args& args, const char* what) {
    if (args.positional().size() != 1) throw UsageError{std::string("give one ") + what};
    return args.positional()[0];
}

void loadInto(JwcSession& session, const std::string& path) {
    session.create(3, 1);
    session.loadFrom(path);
}

const char* paperName(int32_t plotSize) {
    static const char* const kNames[] = {"A0", "A1", "A2", "A3", "A4"};
    return plotSize >= 0 && plotSize <= 4 ? kNames[plotSize] : "A4";
}

}  // namespace

int RunInfo(const std::vector<std::string>& argv, std::ostream& out) {
    const Args args(argv, {}, {});
    const std::string path = onlyInput(args, "FILE.jwc");
    JwcSession session;
    loadInto(session, path);
    const TJwcFile& d = session.drawing();
    out << "File: " << path << "\n"
        << "Paper: " << paperName(d.paperSize) << " (index " << d.paperSize << ", " << PaperLength(d.paperSize)
        << " mm)\n"
        << "Scale: " << ParseHeaderLine1(d.head).scale << "\n"
        << "Units per sheet: " << d.unitsPerSheet << "\n"
        << "Unit divisor: " << d.unitDivisor << " mm\n"
        << "Lines: " << d.senCount() << "\n"
        << "Arcs: " << d.enkoCount() << "\n"
        << "Texts: " << d.mojiCount() << "\n"
        << "Points: " << d.tenCount() << "\n"
        << "Text area: " << d.textAreaLength << " bytes\n"
        << "Comment1: " << platform::Cp932ToUtf8(d.comment1) << "\n"
        << "Comment2: " << platform::Cp932ToUtf8(d.comment2) << "\n";
    for (const auto& [label, value] : FramingLines(DescribeFraming(d))) out << label << ": " << value << "\n";
    return 0;
}

int RunDump(const std::vector<std::string>& argv, std::ostream& out) {
    const Args args(argv, {"-o"}, {"--utf8"});
    const std::string path = onlyInput(args, "FILE.jwc");
    JwcSession session;
    loadInto(session, path);
    const std::string csv = DumpJwcCsv(session.drawing(), ParseHeaderLine1(session.drawing().head).scale,
                                       args.has("--utf8"));
    if (args.has("-o"))
        saveFile(args.value("-o"), [&](ByteSink& sink) { sink.write(csv); });
    else
        out << csv;
    return 0;
}

int RunBuild(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--paper", "--scale"}, {"--utf8", "--mm"});
    const std::string path = onlyInput(args, "IN.csv");
    if (!args.has("-o")) throw UsageError{"build needs -o OUT.jwc"};
    BuildOptions options;
    options.plotSize = args.intValue("--paper", -1, 0, 4);
    options.scale = args.intValue("--scale", -1, 1, 32767);
    options.unit = args.has("--mm") ? CoordUnit::PaperMm : CoordUnit::DrawingUnits;
    options.utf8 = args.has("--utf8");
    JwcSession session;
    BuildJwcFromCsv(session, ParseCsv(readWholeFile(path)), options, path);
    session.saveTo(args.value("-o"));
    return 0;
}

int RunJwt(const std::vector<std::string>& argv, std::ostream& out) {
    const Args args(argv, {}, {"--clipboard"});
    const std::string path = onlyInput(args, "FILE.jwc");
    // The file's own unit divisor, so that numbers are millimetres on its
    // sheet (a host's creator sets the paper before it loads).
    auto drawing = std::make_unique<TJwcFile>();
    LoadJwcFile(*drawing, path);
    JwcSession session;
    session.adopt(std::move(drawing));
    const TJwcFile& d = session.drawing();
    const std::string text = JwcToJwt(d, static_cast<float>(d.scale * static_cast<double>(session.unitDivisor())));
    if (args.has("--clipboard"))
        platform::SystemClipboard().setText(text);
    else
        out << text;
    return 0;
}

int RunConvert(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o"}, {});
    const std::string path = onlyInput(args, "FILE.jwc");
    if (!args.has("-o")) throw UsageError{"convert needs -o OUT.txt, OUT.jwt or OUT.jwc"};
    const std::string output = args.value("-o");
    const std::string ext = extractFileExt(output);
    TJwcFile loaded;
    LoadJwcFile(loaded, path);
    TJwObject drawing;
    ImportJwc(loaded, drawing);
    if (EqualsIgnoringAsciiCase(ext, ".jwc")) {
        SaveExportAsJwc(drawing, output);
    } else if (EqualsIgnoringAsciiCase(ext, ".jwt")) {
        const std::string text = ExportToJwt(drawing);
        saveFile(output, [&](ByteSink& sink) { sink.write(text); });
    } else if (EqualsIgnoringAsciiCase(ext, ".txt")) {
        SaveJww(drawing, output);
    } else {
        throw UsageError{"the output name must end in .txt (JWW), .jwt or .jwc"};
    }
    return 0;
}

}  // namespace tavo::cli
