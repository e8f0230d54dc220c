// dxf_record KIND INPUT OUTDIR NAME PX: the drawing of a .jwc file (KIND jwc)
// or a worksheet CSV (sheet), made as the command makes it, written to
// OUTDIR/NAME-PROFILE.dxf in each profile, with the entities it meant to
// write in OUTDIR/NAME-PROFILE.json, and read back with libdxflib, which
// must find the same entities. Its lines alone (fonts and dash patterns
// differ between programs): without texts in OUTDIR/NAME-PROFILE-lines.dxf,
// and painted as the preview paints them, every line type solid, PX pixels
// to a millimetre of the paper, in OUTDIR/NAME-lines.ppm.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <fstream>
#include <string>

#include "cli/export_command.h"
#include "cli/jwc_input.h"
#include "export/dxf_names.h"
#include "export/dxf_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "platform/encoding.h"
#include "render_ppm.h"

namespace {

using tavo::DxfKind;

const char* const kKindNames[] = {"LINE", "CIRCLE", "ARC", "ELLIPSE", "POINT", "TEXT", "SOLID", "HATCH", "LWPOLYLINE"};
const char* kindName(DxfKind k) { return kKindNames[static_cast<int>(k)]; }

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) out += std::string{digits[c >> 4], digits[c & 15]};
    return out;
}

std::string entityJson(const tavo::DxfEntity& e, const std::string& layer, tavo::DxfProfile p) {
    std::string j = std::string("{\"kind\":\"") + kindName(e.Kind) + "\",\"layer\":\"" + hex(layer) + "\",\"linetype\":\"" +
                    tavo::DxfLineTypeName(e.LineType, p) + "\",\"aci\":" + std::to_string(e.Aci) +
                    ",\"truecolor\":" + std::to_string(e.TrueColor) + ",\"ltscale\":" + number(e.LineTypeScale) + ",\"points\":[";
    for (std::size_t i = 0; i < e.Points.size(); ++i)
        j += (i ? ",[" : "[") + number(e.Points[i].X) + "," + number(e.Points[i].Y) + "]";
    return j + "],\"radius\":" + number(e.Radius) + ",\"start\":" + number(e.Start) + ",\"end\":" + number(e.End) +
           ",\"major\":[" + number(e.MajorAxis.X) + "," + number(e.MajorAxis.Y) + "],\"ratio\":" + number(e.Ratio) +
           ",\"height\":" + number(e.Height) + ",\"width\":" + number(e.WidthFactor) + ",\"rotation\":" +
           number(e.Rotation) + ",\"fit\":" + (e.Fit ? "true" : "false") + ",\"closed\":" + (e.Closed ? "true" : "false") +
           ",\"text\":\"" + hex(e.Text) + "\"}";
}

// What libdxflib reads: each entity's kind, layer and first point (none for hatches).
std::string entry(const char* kind, const std::string& layer, double x, double y) {
    return std::string(kind) + " " + layer + (std::isnan(x) ? "" : " " + number(x + 0.0) + " " + number(y + 0.0));
}

struct DxflibEntities : DL_CreationAdapter {
    std::vector<std::string> read;
    void add(const char* kind, double x, double y) { read.push_back(entry(kind, attributes.getLayer(), x, y)); }
    void addLine(const DL_LineData& d) override { add("LINE", d.x1, d.y1); }
    void addCircle(const DL_CircleData& d) override { add("CIRCLE", d.cx, d.cy); }
    void addArc(const DL_ArcData& d) override { add("ARC", d.cx, d.cy); }
    void addEllipse(const DL_EllipseData& d) override { add("ELLIPSE", d.cx, d.cy); }
    void addPoint(const DL_PointData& d) override { add("POINT", d.x, d.y); }
    void addText(const DL_TextData& d) override { add("TEXT", d.ipx, d.ipy); }
    void addSolid(const DL_SolidData& d) override { add("SOLID", d.x[0], d.y[0]); }
    void addHatch(const DL_HatchData&) override { add("HATCH", NAN, NAN); }
    void addPolyline(const DL_PolylineData&) override { pendingPolyline = true; }
    void addVertex(const DL_VertexData& d) override {
        if (pendingPolyline) add("LWPOLYLINE", d.x, d.y);
        pendingPolyline = false;
    }
    bool pendingPolyline = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: dxf_record jwc|sheet INPUT OUTDIR NAME PX\n");
        return 2;
    }
    try {
        const std::string kind = argv[1], input = argv[2], base = std::string(argv[3]) + "/" + argv[4];
        tavo::TJwObject drawing;
        if (kind == "jwc") {
            tavo::TJwcFile file;
            tavo::cli::LoadJwcInput(file, input);
            tavo::ImportJwc(file, drawing);
        } else {
            tavo::cli::LoadSheet(drawing, input, tavo::cli::TextEncoding::Detect);
        }
        const double paper = tavo::PaperLength(drawing.PlotSize), perMm = std::stod(argv[5]);
        const auto width = static_cast<int32_t>(std::lround(paper * perMm));
        const auto height = static_cast<int32_t>(std::lround(paper / std::sqrt(2.0) * perMm));
        const std::pair<const char*, tavo::DxfProfile> profiles[] = {
            {"jw", tavo::DxfProfile::Jw}, {"2000", tavo::DxfProfile::R2000}, {"2018", tavo::DxfProfile::R2018}};
        tavo::TJwObject lines = drawing;
        lines.Texts.clear();
        for (tavo::TLineItem& l : lines.Lines) l.LineType = 1;
        for (tavo::TCircleItem& c : lines.Circles) c.LineType = 1;
        int failures = 0;
        for (const auto& [suffix, profile] : profiles) {
            const std::string name = base + "-" + suffix;
            tavo::SaveDxf(drawing, name + ".dxf", {profile, tavo::platform::Cp932ToUtf8});
            tavo::SaveDxf(lines, name + "-lines.dxf", {profile, tavo::platform::Cp932ToUtf8});
            tavo::RecordingDxfSink recording;
            tavo::EmitDxfEntities(drawing, profile, recording);
            const auto layers = tavo::DxfLayerNames(drawing, tavo::DxfLayersInUse(drawing), profile);
            std::ofstream json(name + ".json", std::ios::binary);
            json << "{\"sheetScale\":" << number(tavo::DxfSheetScale(drawing)) << ",\"entities\":[\n";
            std::vector<std::string> meant;
            DxflibEntities read;
            for (std::size_t i = 0; i < recording.Entities.size(); ++i) {
                const tavo::DxfEntity& e = recording.Entities[i];
                json << (i ? ",\n" : "") << entityJson(e, layers[e.Layer], profile);
                const std::string layer = layers[e.Layer];
                const bool utf8 = profile == tavo::DxfProfile::R2018;
                meant.push_back(entry(kindName(e.Kind), utf8 ? tavo::platform::Cp932ToUtf8(layer) : layer,
                                      e.Kind == DxfKind::Hatch ? NAN : e.Points[0].X, e.Points[0].Y));
            }
            json << "]}\n";
            if (!json) throw std::runtime_error("cannot write " + name + ".json");
            DL_Dxf dxf;
            if (!dxf.in(name + ".dxf", &read)) throw std::runtime_error("libdxflib cannot read " + name + ".dxf");
            for (std::size_t i = 0; i < std::max(meant.size(), read.read.size()); ++i) {
                const std::string m = i < meant.size() ? meant[i] : "-", r = i < read.read.size() ? read.read[i] : "-";
                if (m != r && ++failures < 10)
                    std::fprintf(stderr, "%s.dxf entity %zu: libdxflib reads %s, not %s\n", name.c_str(), i + 1,
                                 r.c_str(), m.c_str());
            }
        }
        tavo::test::WriteTextlessPpm(base + "-lines.ppm", width, height, tavo::test::PaintedAsThePreview(lines, width, height));
        return failures ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxf_record: %s\n", e.what());
        return 1;
    }
}
