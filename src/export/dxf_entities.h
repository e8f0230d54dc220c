#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/geometry.h"

namespace tavo {

class TJwObject;

// What a DXF file is written for:
// - Jw: R12 (AC1009) as JW_CAD's own reader takes it: Shift-JIS texts, no
//   handles, LINE, CIRCLE, ARC, POINT, TEXT and SOLID only;
// - R2000 (AC1015, Shift-JIS) and R2018 (AC1032, UTF-8) for AutoCAD,
//   BricsCAD and LibreCAD: ELLIPSE, HATCH, LWPOLYLINE, handles, $INSUNITS.
enum class DxfProfile : uint8_t { Jw, R2000, R2018 };

enum class DxfKind : uint8_t { Line, Circle, Arc, Ellipse, Point, Text, Solid, Hatch, Polyline };

// One entity as it goes into the file, in real-world millimetres.
struct DxfEntity {
    DxfKind Kind = DxfKind::Line;
    uint8_t Layer = 0;     // group x 16 + layer of the JW entity
    uint8_t LineType = 1;  // JW line type; 1 is continuous
    int Aci = 7;
    int32_t TrueColor = -1;    // 0xRRGGBB, or -1 for none
    double LineTypeScale = 1;  // the entity's group scale against the sheet's
    // Line: both ends; Circle, Arc, Ellipse: the centre; Point: itself;
    // Solid, Hatch: the corners in order round the edge; Polyline: its
    // vertices; Text: the start of its base line and, when it is fitted,
    // the end.
    std::vector<WorldPoint> Points;
    double Radius = 0;
    double Start = 0, End = 0;  // Arc: degrees; Ellipse: parameters in radians
    WorldPoint MajorAxis;       // Ellipse: end of the major axis from the centre
    double Ratio = 1;           // Ellipse: minor axis over major axis
    double Height = 0, WidthFactor = 1, Rotation = 0;  // Text; rotation in degrees
    bool Fit = false;     // Text spread between its two points
    bool Closed = false;  // Polyline
    std::string Text;     // Shift-JIS, as it stands in the file before any UTF-8
};

// Takes the entities one by one; the entity is only valid during the call.
class DxfEntitySink {
public:
    virtual ~DxfEntitySink() = default;
    virtual void Entity(const DxfEntity& entity) = 0;
};

// Keeps every entity, for tests and tools.
class RecordingDxfSink final : public DxfEntitySink {
public:
    void Entity(const DxfEntity& entity) override { Entities.push_back(entity); }
    std::vector<DxfEntity> Entities;
};

// Every entity of the drawing as the profile writes it, in the order the
// preview paints: solids, lines, circles and arcs, texts, points. Entities
// that the preview shows as nothing (a circle of radius 0, a text without
// size or characters) are left out. Throws Error naming the first entity
// whose geometry is not finite.
void EmitDxfEntities(const TJwObject& drawing, DxfProfile profile, DxfEntitySink& sink);

// The scale the line types are drawn for: the drawing's scale, or for a
// drawing without one (made from a .jwc) the scale of the first group that
// holds something.
double DxfSheetScale(const TJwObject& drawing);

// The largest error of an ellipse drawn as short lines, in millimetres on
// the sheet.
constexpr double kDxfEllipseTolerance = 0.01;

}  // namespace tavo
