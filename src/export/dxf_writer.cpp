#include "export/dxf_writer.h"

#include <array>

#include "base/error.h"
#include "base/file_save.h"
#include "export/dxf_names.h"
#include "export/dxf_sections.h"
#include "export/jw_line_types.h"
#include "export/jw_object.h"

namespace tavo {

namespace {

// Writes each entity as it comes, in the profile's form.
class EntityWriter final : public DxfEntitySink {
public:
    EntityWriter(DxfCodes& out, const DxfPlan& plan) : out_(out), plan_(plan) {
        for (int t = 1; t <= kJwLineTypes; ++t) lineTypeNames_[t] = DxfLineTypeName(t, plan.Profile);
        lineTypeNames_[0] = lineTypeNames_[1];
    }

    void Entity(const DxfEntity& e) override {
        switch (e.Kind) {
            case DxfKind::Line:
                common(e, "LINE", "AcDbLine");
                out_.point(10, e.Points[0]);
                out_.point(11, e.Points[1]);
                break;
            case DxfKind::Circle:
                common(e, "CIRCLE", "AcDbCircle");
                out_.point(10, e.Points[0]);
                out_.real(40, e.Radius);
                break;
            case DxfKind::Arc:
                common(e, "ARC", "AcDbCircle");
                out_.point(10, e.Points[0]);
                out_.real(40, e.Radius);
                subclass("AcDbArc");
                out_.real(50, e.Start);
                out_.real(51, e.End);
                break;
            case DxfKind::Ellipse: ellipse(e); break;
            case DxfKind::Point:
                common(e, "POINT", "AcDbPoint");
                out_.point(10, e.Points[0]);
                break;
            case DxfKind::Text: text(e); break;
            case DxfKind::Solid: solid(e); break;
            case DxfKind::Hatch: hatch(e); break;
            case DxfKind::Polyline: polyline(e); break;
        }
    }

private:
    bool full() const { return plan_.Profile != DxfProfile::Jw; }

    void subclass(const char* name) {
        if (full()) out_.word(100, name);
    }

    void common(const DxfEntity& e, const char* kind, const char* subclassName) {
        out_.word(0, kind);
        if (full()) {
            out_.handle(5, handle_++);
            out_.handle(330, dxf_handle::kModelSpace);
            out_.word(100, "AcDbEntity");
        }
        out_.text(8, plan_.LayerNames[e.Layer]);
        out_.text(6, lineTypeNames_[e.LineType < lineTypeNames_.size() ? e.LineType : 1]);
        out_.integer(62, e.Aci);
        if (full() && e.TrueColor >= 0) out_.integer(420, e.TrueColor);
        if (full() && e.LineTypeScale != 1) out_.real(48, e.LineTypeScale);
        subclass(subclassName);
    }

    void ellipse(const DxfEntity& e) {
        common(e, "ELLIPSE", "AcDbEllipse");
        out_.point(10, e.Points[0]);
        out_.point(11, e.MajorAxis);
        out_.real(210, 0);
        out_.real(220, 0);
        out_.real(230, 1);
        out_.real(40, e.Ratio);
        out_.real(41, e.Start);
        out_.real(42, e.End);
    }

    void text(const DxfEntity& e) {
        common(e, "TEXT", "AcDbText");
        out_.point(10, e.Points[0]);
        out_.real(40, e.Height);
        out_.text(1, e.Text);
        if (e.Rotation != 0) out_.real(50, e.Rotation);
        if (e.WidthFactor != 1) out_.real(41, e.WidthFactor);
        out_.word(7, full() ? "Standard" : "STANDARD");
        if (e.Fit) {
            out_.integer(72, 5);
            out_.point(11, e.Points[1]);
        }
        subclass("AcDbText");
    }

    // A SOLID's third and fourth corners go crosswise.
    void solid(const DxfEntity& e) {
        common(e, "SOLID", "AcDbTrace");
        const bool triangle = e.Points.size() == 3;
        out_.point(10, e.Points[0]);
        out_.point(11, e.Points[1]);
        out_.point(12, e.Points[triangle ? 2 : 3]);
        out_.point(13, e.Points[2]);
    }

    void hatch(const DxfEntity& e) {
        common(e, "HATCH", "AcDbHatch");
        out_.point(10, {0, 0});
        out_.real(210, 0);
        out_.real(220, 0);
        out_.real(230, 1);
        out_.word(2, "SOLID");
        out_.integer(70, 1);  // filled
        out_.integer(71, 0);  // not associative
        out_.integer(91, 1);  // one boundary
        out_.integer(92, 3);  // outer, as a polyline
        out_.integer(72, 0);  // no bulges
        out_.integer(73, 1);  // closed
        out_.integer(93, static_cast<int64_t>(e.Points.size()));
        for (const WorldPoint& p : e.Points) out_.point2(10, p);
        out_.integer(97, 0);
        out_.integer(75, 1);  // odd parity, as the preview fills
        out_.integer(76, 1);  // predefined pattern
        out_.integer(98, 0);
    }

    void polyline(const DxfEntity& e) {
        common(e, "LWPOLYLINE", "AcDbPolyline");
        out_.integer(90, static_cast<int64_t>(e.Points.size()));
        out_.integer(70, e.Closed ? 1 : 0);
        out_.real(43, 0);
        for (const WorldPoint& p : e.Points) out_.point2(10, p);
    }

    DxfCodes& out_;
    const DxfPlan& plan_;
    std::array<std::string, kJwLineTypes + 1> lineTypeNames_;
    uint64_t handle_ = dxf_handle::kFirstEntity;
};

}  // namespace

void WriteDxf(const TJwObject& drawing, ByteSink& sink, const DxfOptions& options) {
    const DxfPlan plan = PlanDxf(drawing, options.Profile);
    DxfCodes out(sink, options.Profile == DxfProfile::R2018 ? &options.ToUtf8 : nullptr);
    WriteDxfHeader(out, plan);
    WriteDxfTables(out, plan);
    if (options.Profile != DxfProfile::Jw) WriteDxfBlocks(out);
    out.word(0, "SECTION");
    out.word(2, "ENTITIES");
    EntityWriter entities(out, plan);
    EmitDxfEntities(drawing, options.Profile, entities);
    out.word(0, "ENDSEC");
    if (options.Profile != DxfProfile::Jw) WriteDxfObjects(out);
    out.word(0, "EOF");
    out.flush();
}

void SaveDxf(const TJwObject& drawing, const std::string& path, const DxfOptions& options) {
    try {
        saveFile(path, [&](ByteSink& sink) { WriteDxf(drawing, sink, options); }, Backup::RenameOldToBak);
    } catch (const Error& e) {
        if (!e.file().empty()) throw;
        throw Error::cannotCreate(path, e.detail());
    }
}

}  // namespace tavo
