#include "export/dxf_sections.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "export/jw_line_types.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"

namespace tavo {

namespace {

using namespace dxf_handle;

class Extent {
public:
    void take(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        min_ = {std::min(min_.X, x), std::min(min_.Y, y)};
        max_ = {std::max(max_.X, x), std::max(max_.Y, y)};
        any_ = true;
    }
    bool any() const { return any_; }
    WorldPoint min() const { return min_; }
    WorldPoint max() const { return max_; }

private:
    WorldPoint min_{HUGE_VAL, HUGE_VAL}, max_{-HUGE_VAL, -HUGE_VAL};
    bool any_ = false;
};

// Upper bound of the entities written, so that $HANDSEED lies above them: a
// text makes at most one entity per byte.
uint64_t entityBound(const TJwObject& d) {
    uint64_t n = d.Lines.size() + d.Circles.size() + d.Dots.size() + d.Solids.size();
    for (const TTextItem& t : d.Texts) n += std::max<std::size_t>(1, t.Text.size());
    return n;
}

Extent extentOf(const TJwObject& d) {
    Extent e;
    for (const TLineItem& l : d.Lines) {
        e.take(l.X1, l.Y1);
        e.take(l.X2, l.Y2);
    }
    for (const TCircleItem& c : d.Circles) {
        const double r = std::fabs(c.R) * std::max(1.0, std::fabs(c.Flatness));
        e.take(c.X - r, c.Y - r);
        e.take(c.X + r, c.Y + r);
    }
    for (const TDotItem& p : d.Dots) e.take(p.X, p.Y);
    for (const TTextItem& t : d.Texts) {
        e.take(t.X1, t.Y1);
        e.take(t.X2, t.Y2);
    }
    for (const TSolidItem& s : d.Solids)
        for (int i = 0; i < 4; ++i) e.take(s.X[i], s.Y[i]);
    return e;
}

bool full(const DxfPlan& plan) { return plan.Profile != DxfProfile::Jw; }

void variable(DxfCodes& out, const char* name) { out.word(9, name); }

void startTable(DxfCodes& out, const DxfPlan& plan, const char* name, uint64_t handle, std::size_t count) {
    out.word(0, "TABLE");
    out.word(2, name);
    if (full(plan)) {
        out.handle(5, handle);
        out.handle(330, 0);
        out.word(100, "AcDbSymbolTable");
    }
    out.integer(70, static_cast<int64_t>(count));
}

// The start of a table entry: its handle and owner where the version has them.
void startEntry(DxfCodes& out, const DxfPlan& plan, const char* kind, uint64_t handle, uint64_t table,
                const char* subclass) {
    out.word(0, kind);
    if (!full(plan)) return;
    out.handle(5, handle);
    out.handle(330, table);
    out.word(100, "AcDbSymbolTableRecord");
    out.word(100, subclass);
}

void lineType(DxfCodes& out, const DxfPlan& plan, uint64_t handle, const std::string& name, const std::string& text,
              const std::vector<double>& dashes) {
    startEntry(out, plan, "LTYPE", handle, kLineTypeTable, "AcDbLinetypeTableRecord");
    out.text(2, name);
    out.integer(70, 0);
    out.word(3, text);
    out.integer(72, 65);
    out.integer(73, static_cast<int64_t>(dashes.size()));
    double total = 0;
    for (const double d : dashes) total += std::fabs(d);
    out.real(40, total);
    for (const double d : dashes) {
        out.real(49, d);
        if (full(plan)) out.integer(74, 0);
    }
}

void lineTypes(DxfCodes& out, const DxfPlan& plan) {
    std::vector<int> types;
    for (int t = 2; t <= kJwLineTypes; ++t)
        if (plan.LineTypeUsed[t] && DxfLineTypeName(t, plan.Profile) != DxfLineTypeName(1, plan.Profile))
            types.push_back(t);
    const std::size_t fixed = full(plan) ? 3 : 1;
    startTable(out, plan, "LTYPE", kLineTypeTable, fixed + types.size());
    if (full(plan)) {
        lineType(out, plan, kByBlock, "ByBlock", "", {});
        lineType(out, plan, kByLayer, "ByLayer", "", {});
    }
    lineType(out, plan, kContinuous, DxfLineTypeName(1, plan.Profile), "Solid line", {});
    for (const int t : types) {
        std::vector<double> dashes = DxfLineTypeDashes(t);
        for (double& d : dashes) d *= plan.SheetScale;
        lineType(out, plan, kFirstLineType + static_cast<uint64_t>(t), DxfLineTypeName(t, plan.Profile),
                 DxfLineTypeDescription(t), dashes);
    }
    out.word(0, "ENDTAB");
}

// Hidden groups and layers stay in the file as layers that are off.
void layers(DxfCodes& out, const DxfPlan& plan) {
    const std::size_t count = static_cast<std::size_t>(std::count(plan.Used.begin(), plan.Used.end(), true));
    startTable(out, plan, "LAYER", kLayerTable, count + (full(plan) ? 1 : 0));
    const auto layer = [&](uint64_t handle, const std::string& name, bool shown) {
        startEntry(out, plan, "LAYER", handle, kLayerTable, "AcDbLayerTableRecord");
        out.text(2, name);
        out.integer(70, 0);
        out.integer(62, shown ? 7 : -7);
        out.word(6, DxfLineTypeName(1, plan.Profile));
    };
    if (full(plan)) layer(kLayerZero, "0", true);
    for (int slot = 0; slot < 256; ++slot)
        if (plan.Used[slot]) layer(kFirstLayer + static_cast<uint64_t>(slot), plan.LayerNames[slot], plan.LayerShown[slot]);
    out.word(0, "ENDTAB");
}

void styles(DxfCodes& out, const DxfPlan& plan) {
    startTable(out, plan, "STYLE", kStyleTable, 1);
    startEntry(out, plan, "STYLE", kStandardStyle, kStyleTable, "AcDbTextStyleTableRecord");
    out.word(2, full(plan) ? "Standard" : "STANDARD");
    out.integer(70, 0);
    out.real(40, 0);
    out.real(41, 1);
    out.real(50, 0);
    out.integer(71, 0);
    out.real(42, 2.5);
    // The sheet's font, ＭＳ ゴシック, where the program has it.
    out.word(3, full(plan) ? "msgothic.ttc" : "txt");
    out.word(4, "");
    out.word(0, "ENDTAB");
}

// The view a program opens with: the whole drawing.
void viewports(DxfCodes& out, const DxfPlan& plan) {
    startTable(out, plan, "VPORT", kViewportTable, 1);
    startEntry(out, plan, "VPORT", kActiveViewport, kViewportTable, "AcDbViewportTableRecord");
    out.word(2, "*Active");
    out.integer(70, 0);
    out.point2(10, {0, 0});
    out.point2(11, {1, 1});
    const double width = plan.ExtentMax.X - plan.ExtentMin.X, height = plan.ExtentMax.Y - plan.ExtentMin.Y;
    out.point2(12, {(plan.ExtentMin.X + plan.ExtentMax.X) / 2, (plan.ExtentMin.Y + plan.ExtentMax.Y) / 2});
    out.point2(13, {0, 0});
    out.point2(14, {10, 10});
    out.point2(15, {10, 10});
    out.point(16, {0, 0});
    out.real(36, 1);
    out.point(17, {0, 0});
    const double viewHeight = std::max({height * 1.05, width / 1.5 * 1.05, 1.0});
    out.real(40, viewHeight);
    out.real(41, 1.5);
    out.real(42, 50);
    out.real(43, 0);
    out.real(44, 0);
    out.real(50, 0);
    out.real(51, 0);
    out.integer(71, 0);
    out.integer(72, 100);
    out.integer(73, 1);
    out.integer(74, 3);
    out.integer(75, 0);
    out.integer(76, 0);
    out.integer(77, 0);
    out.integer(78, 0);
    out.word(0, "ENDTAB");
}

void emptyTable(DxfCodes& out, const DxfPlan& plan, const char* name, uint64_t handle) {
    startTable(out, plan, name, handle, 0);
    out.word(0, "ENDTAB");
}

void fullOnlyTables(DxfCodes& out, const DxfPlan& plan) {
    emptyTable(out, plan, "VIEW", kViewTable);
    emptyTable(out, plan, "UCS", kUcsTable);
    startTable(out, plan, "APPID", kAppIdTable, 1);
    startEntry(out, plan, "APPID", kAcadAppId, kAppIdTable, "AcDbRegAppTableRecord");
    out.word(2, "ACAD");
    out.integer(70, 0);
    out.word(0, "ENDTAB");

    startTable(out, plan, "DIMSTYLE", kDimStyleTable, 1);
    out.word(100, "AcDbDimStyleTable");
    out.integer(71, 1);
    out.handle(340, kStandardDimStyle);
    out.word(0, "DIMSTYLE");
    out.handle(105, kStandardDimStyle);  // a dimension style's handle goes under 105
    out.handle(330, kDimStyleTable);
    out.word(100, "AcDbSymbolTableRecord");
    out.word(100, "AcDbDimStyleTableRecord");
    out.word(2, "Standard");
    out.integer(70, 0);
    out.word(0, "ENDTAB");

    startTable(out, plan, "BLOCK_RECORD", kBlockRecordTable, 2);
    for (const auto& [handle, name] : {std::pair{kModelSpace, "*Model_Space"}, std::pair{kPaperSpace, "*Paper_Space"}}) {
        startEntry(out, plan, "BLOCK_RECORD", handle, kBlockRecordTable, "AcDbBlockTableRecord");
        out.word(2, name);
    }
    out.word(0, "ENDTAB");
}

}  // namespace

DxfPlan PlanDxf(const TJwObject& d, DxfProfile profile) {
    DxfPlan plan;
    plan.Profile = profile;
    plan.Used = DxfLayersInUse(d);
    plan.LayerNames = DxfLayerNames(d, plan.Used, profile);
    for (int slot = 0; slot < 256; ++slot) {
        const TLayerGroup& group = d.LayerGroups[GroupOf(static_cast<uint8_t>(slot))];
        plan.LayerShown[slot] = group.Visible && group.Layers[LayerOf(static_cast<uint8_t>(slot))].Visible;
    }
    for (const TLineItem& l : d.Lines) plan.LineTypeUsed[UsableLineType(l.LineType)] = true;
    for (const TCircleItem& c : d.Circles) plan.LineTypeUsed[UsableLineType(c.LineType)] = true;
    plan.SheetScale = DxfSheetScale(d);
    const double paper = PaperLength(d.PlotSize);
    plan.SheetSize = {paper, paper / std::sqrt(2.0)};
    const Extent e = extentOf(d);
    plan.ExtentMin = e.any() ? e.min() : WorldPoint{0, 0};
    plan.ExtentMax = e.any() ? e.max() : WorldPoint{plan.SheetSize.X * plan.SheetScale, plan.SheetSize.Y * plan.SheetScale};
    plan.HandleSeed = kFirstEntity + entityBound(d);
    return plan;
}

void WriteDxfHeader(DxfCodes& out, const DxfPlan& plan) {
    out.word(0, "SECTION");
    out.word(2, "HEADER");
    variable(out, "$ACADVER");
    switch (plan.Profile) {
        case DxfProfile::Jw: out.word(1, "AC1009"); break;
        case DxfProfile::R2000: out.word(1, "AC1015"); break;
        case DxfProfile::R2018: out.word(1, "AC1032"); break;
    }
    // Texts are Shift-JIS; the 2018 file is UTF-8, and this names the code
    // page the drawing falls back to in older versions.
    variable(out, "$DWGCODEPAGE");
    out.word(3, "ANSI_932");
    variable(out, "$EXTMIN");
    out.point(10, plan.ExtentMin);
    variable(out, "$EXTMAX");
    out.point(10, plan.ExtentMax);
    // The sheet, in model space and on the paper (which LibreCAD prints on).
    variable(out, "$LIMMIN");
    out.point2(10, {0, 0});
    variable(out, "$LIMMAX");
    out.point2(10, {plan.SheetSize.X * plan.SheetScale, plan.SheetSize.Y * plan.SheetScale});
    variable(out, "$PLIMMIN");
    out.point2(10, {0, 0});
    variable(out, "$PLIMMAX");
    out.point2(10, plan.SheetSize);
    if (full(plan)) {
        variable(out, "$INSBASE");
        out.point(10, {0, 0});
        variable(out, "$INSUNITS");
        out.integer(70, 4);  // millimetres
        variable(out, "$MEASUREMENT");
        out.integer(70, 1);  // metric
        variable(out, "$HANDSEED");
        out.handle(5, plan.HandleSeed);
    }
    out.word(0, "ENDSEC");
}

void WriteDxfTables(DxfCodes& out, const DxfPlan& plan) {
    out.word(0, "SECTION");
    out.word(2, "TABLES");
    if (full(plan)) viewports(out, plan);
    lineTypes(out, plan);
    layers(out, plan);
    styles(out, plan);
    if (full(plan)) fullOnlyTables(out, plan);
    out.word(0, "ENDSEC");
}

void WriteDxfBlocks(DxfCodes& out) {
    out.word(0, "SECTION");
    out.word(2, "BLOCKS");
    uint64_t handle = kFirstBlock;
    for (const auto& [owner, name] : {std::pair{kModelSpace, "*Model_Space"}, std::pair{kPaperSpace, "*Paper_Space"}}) {
        // A block's start and end are entities of their own, in the space
        // the block is.
        const auto startOf = [&, owner = owner](const char* kind) {
            out.word(0, kind);
            out.handle(5, handle++);
            out.handle(330, owner);
            out.word(100, "AcDbEntity");
            if (owner == kPaperSpace) out.integer(67, 1);
            out.word(8, "0");
        };
        startOf("BLOCK");
        out.word(100, "AcDbBlockBegin");
        out.word(2, name);
        out.integer(70, 0);
        out.point(10, {0, 0});
        out.word(3, name);
        out.word(1, "");
        startOf("ENDBLK");
        out.word(100, "AcDbBlockEnd");
    }
    out.word(0, "ENDSEC");
}

void WriteDxfObjects(DxfCodes& out) {
    out.word(0, "SECTION");
    out.word(2, "OBJECTS");
    out.word(0, "DICTIONARY");
    out.handle(5, kRootDictionary);
    out.handle(330, 0);
    out.word(100, "AcDbDictionary");
    out.integer(281, 1);
    out.word(3, "ACAD_GROUP");
    out.handle(350, kGroupDictionary);
    out.word(0, "DICTIONARY");
    out.handle(5, kGroupDictionary);
    out.handle(330, kRootDictionary);
    out.word(100, "AcDbDictionary");
    out.integer(281, 1);
    out.word(0, "ENDSEC");
}

}  // namespace tavo
