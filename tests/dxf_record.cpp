// dxf_record KIND INPUT OUTDIR NAME PX: the drawing of a .jwc file (KIND
// jwc), a worksheet CSV (sheet) or a workbook (book), made as the command
// makes it, written to OUTDIR/NAME-PROFILE.dxf in each profile, with the
// entities it meant to write in OUTDIR/NAME-PROFILE.json. For pictures
// whose fonts and dash patterns differ, its lines alone: without texts in
// OUTDIR/NAME-PROFILE-lines.dxf, and painted as the preview paints them,
// every line type solid, PX pixels to a millimetre of the paper, in
// OUTDIR/NAME-lines.ppm. What other programs read is held against these.
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "cli/cli_args.h"
#include "cli/export_command.h"
#include "cli/jwc_input.h"
#include "cli/workbook_command.h"
#include "base/geometry.h"
#include "export/dxf_names.h"
#include "export/dxf_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "platform/encoding.h"
#include "render_ppm.h"

namespace {

using tavo::DxfEntity;
using tavo::DxfKind;

const char* kindName(DxfKind k) {
    switch (k) {
        case DxfKind::Line: return "LINE";
        case DxfKind::Circle: return "CIRCLE";
        case DxfKind::Arc: return "ARC";
        case DxfKind::Ellipse: return "ELLIPSE";
        case DxfKind::Point: return "POINT";
        case DxfKind::Text: return "TEXT";
        case DxfKind::Solid: return "SOLID";
        case DxfKind::Hatch: return "HATCH";
        case DxfKind::Polyline: return "LWPOLYLINE";
    }
    return "?";
}

std::string hex(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(c));
        out += two;
    }
    return out;
}

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string entityJson(const DxfEntity& e, const std::array<std::string, 256>& layers, tavo::DxfProfile p) {
    std::string j = std::string("{\"kind\":\"") + kindName(e.Kind) + "\",\"layer\":\"" + hex(layers[e.Layer]) +
                    "\",\"linetype\":\"" + tavo::DxfLineTypeName(e.LineType, p) + "\",\"aci\":" + std::to_string(e.Aci) +
                    ",\"truecolor\":" + std::to_string(e.TrueColor) + ",\"ltscale\":" + number(e.LineTypeScale) +
                    ",\"points\":[";
    for (std::size_t i = 0; i < e.Points.size(); ++i)
        j += (i ? "," : "") + std::string("[") + number(e.Points[i].X) + "," + number(e.Points[i].Y) + "]";
    j += "],\"radius\":" + number(e.Radius) + ",\"start\":" + number(e.Start) + ",\"end\":" + number(e.End) +
         ",\"major\":[" + number(e.MajorAxis.X) + "," + number(e.MajorAxis.Y) + "],\"ratio\":" + number(e.Ratio) +
         ",\"height\":" + number(e.Height) + ",\"width\":" + number(e.WidthFactor) +
         ",\"rotation\":" + number(e.Rotation) + ",\"fit\":" + (e.Fit ? "true" : "false") +
         ",\"closed\":" + (e.Closed ? "true" : "false") + ",\"text\":\"" + hex(e.Text) + "\"}";
    return j;
}

void load(const std::string& kind, const std::string& input, tavo::TJwObject& drawing) {
    if (kind == "jwc") {
        tavo::TJwcFile file;
        tavo::cli::LoadJwcInput(file, input);
        tavo::ImportJwc(file, drawing);
    } else if (kind == "sheet") {
        tavo::cli::LoadSheet(drawing, input, tavo::cli::TextEncoding::Detect);
    } else {
        tavo::cli::LoadWorkbookDrawing(input, tavo::cli::Args({input}, {}, {}), drawing);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: dxf_record jwc|sheet|book INPUT OUTDIR NAME PX\n");
        return 2;
    }
    try {
        const std::string kind = argv[1], input = argv[2], base = std::string(argv[3]) + "/" + argv[4];
        const double perMm = std::stod(argv[5]);
        tavo::TJwObject drawing;
        load(kind, input, drawing);
        const double paper = tavo::PaperLength(drawing.PlotSize);
        const auto width = static_cast<int32_t>(std::lround(paper * perMm));
        const auto height = static_cast<int32_t>(std::lround(paper / std::sqrt(2.0) * perMm));
        const struct {
            const char* name;
            tavo::DxfProfile profile;
        } profiles[] = {{"jw", tavo::DxfProfile::Jw}, {"2000", tavo::DxfProfile::R2000}, {"2018", tavo::DxfProfile::R2018}};
        tavo::TJwObject lines = drawing;
        lines.Texts.clear();
        for (tavo::TLineItem& l : lines.Lines) l.LineType = 1;
        for (tavo::TCircleItem& c : lines.Circles) c.LineType = 1;
        for (const auto& p : profiles) {
            const std::string name = base + "-" + p.name;
            tavo::SaveDxf(drawing, name + ".dxf", {p.profile, tavo::platform::Cp932ToUtf8});
            tavo::SaveDxf(lines, name + "-lines.dxf", {p.profile, tavo::platform::Cp932ToUtf8});
            tavo::RecordingDxfSink recording;
            tavo::EmitDxfEntities(drawing, p.profile, recording);
            const auto layers = tavo::DxfLayerNames(drawing, tavo::DxfLayersInUse(drawing), p.profile);
            std::ofstream json(name + ".json", std::ios::binary);
            json << "{\"sheetScale\":" << number(tavo::DxfSheetScale(drawing))
                 << ",\"paperLength\":" << tavo::PaperLength(drawing.PlotSize) << ",\"entities\":[\n";
            for (std::size_t i = 0; i < recording.Entities.size(); ++i)
                json << (i ? ",\n" : "") << entityJson(recording.Entities[i], layers, p.profile);
            json << "]}\n";
            if (!json) throw std::runtime_error("cannot write " + name + ".json");
        }
        tavo::test::WriteTextlessPpm(base + "-lines.ppm", width, height,
                                     tavo::test::PaintedAsThePreview(lines, width, height));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxf_record: %s\n", e.what());
        return 1;
    }
}
