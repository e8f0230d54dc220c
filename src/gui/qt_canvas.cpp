#include "gui/qt_canvas.h"

#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "base/geometry.h"
#include "platform/encoding.h"

namespace tavo {

namespace {

// The typeface every text size names does not exist here; IPAGothic has the
// same metrics.
void InstallFontSubstitution() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitution(QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    });
}

// The box of a figure whose right and bottom edges lie outside it, as the
// rectangle Qt outlines (Qt's outline covers width + 1 pixels).
QRect OutlineBox(const PixelRect& r) {
    const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
    const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

// Qt angles in 1/16 degree for the ray from the box centre to p; Qt reads
// angles on the ellipse's parameter, the platform along the ray.
double ParameterAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 0.5), ry = std::max(box.height() / 2, 0.5);
    const double ray = std::atan2(-(p.y() - c.y()), p.x() - c.x());
    return std::atan2(std::sin(ray) / ry, std::cos(ray) / rx) * 180 / kPi;
}

}  // namespace

QColor ToQColor(WinColor c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

const QtCanvasCache::Font& QtCanvasCache::FontFor(const LogicalFont& f) {
    const auto key = std::make_tuple(f.Height, f.Width, f.FaceName);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    Font e;
    e.font = QFont(QString::fromStdString(platform::Cp932ToUtf8(f.FaceName)));
    // A negative height is the em height; the platform's cell height for a
    // positive one is close enough to it for a preview.
    const int em = std::max(1, std::abs(f.Height));
    e.font.setPixelSize(em);
    // The width asked for is the average character width, half an em for
    // this face: the glyphs are widened or narrowed to it.
    if (f.Width > 0) e.stretch = f.Width * 2.0 / em;
    e.raw = QRawFont::fromFont(e.font);
    e.ascent = e.raw.isValid() ? e.raw.ascent() : em * 0.88;
    return fonts_.emplace(key, e).first->second;
}

const QtCanvasCache::Text& QtCanvasCache::TextFor(const Font& font, std::string_view bytes) {
    auto key = std::make_pair(&font, std::string(bytes));
    auto it = texts_.find(key);
    if (it != texts_.end()) return it->second;
    Text t;
    t.string = QString::fromStdString(platform::Cp932ToUtf8(bytes));
    // Laid out once as glyphs of the resolved face, so that drawing skips
    // Qt's text layout; a character the face lacks goes the long way.
    if (font.raw.isValid()) {
        const QList<quint32> indexes = font.raw.glyphIndexesForString(t.string);
        t.allGlyphs = !indexes.isEmpty() && !indexes.contains(0);
        if (t.allGlyphs) {
            const QList<QPointF> advances = font.raw.advancesForGlyphIndexes(indexes);
            QList<QPointF> positions;
            QPointF at(0, 0);
            for (const QPointF& a : advances) {
                positions.append(at);
                at += a;
            }
            t.glyphs.setRawFont(font.raw);
            t.glyphs.setGlyphIndexes(indexes);
            t.glyphs.setPositions(positions);
        }
    }
    return texts_.emplace(std::move(key), std::move(t)).first->second;
}

QtCanvas::QtCanvas(QImage& image) : QtCanvas(image, ownCache_) {}

QtCanvas::QtCanvas(QImage& image, QtCanvasCache& cache) : cache_(cache), painter_(&image) {
    InstallFontSubstitution();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    ApplyPen();
    painter_.setBrush(Qt::NoBrush);
}

QtCanvas::~QtCanvas() {
    Flush();
    painter_.end();
}

void QtCanvas::Flush() {
    if (pending_.empty()) return;
    UseLinePen();
    painter_.drawLines(pending_.data(), int(pending_.size()));
    pending_.clear();
}

void QtCanvas::UseMix(PenMix mix) {
    if (mix == activeMix_) return;
    painter_.setCompositionMode(mix == PenMix::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
    activeMix_ = mix;
}

void QtCanvas::UseLinePen() {
    if (!textPenActive_) return;
    ApplyPen();
    textPenActive_ = false;
}

void QtCanvas::ApplyPen() {
    QPen pen(ToQColor(penColor_));
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (penStyle_ == PenStyle::Dot) pen.setDashPattern({2, 2});
    painter_.setPen(pen);
}

void QtCanvas::SetPen(WinColor color, PenStyle style, PenMix mix) {
    if (color == penColor_ && style == penStyle_ && mix == penMix_) return;
    Flush();
    penColor_ = color;
    penStyle_ = style;
    penMix_ = mix;
    ApplyPen();
    textPenActive_ = false;
}

void QtCanvas::SetBrush(WinColor color, BrushStyle style) {
    Flush();
    if (style == BrushStyle::Clear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ToQColor(color));
}

void QtCanvas::SetFont(const LogicalFont& font) {
    font_ = font;
    fontEntry_ = nullptr;
}

void QtCanvas::SetTextColor(WinColor color) { textColor_ = color; }

void QtCanvas::FillRect(const PixelRect& r, WinColor color) {
    Flush();
    UseMix(PenMix::Copy);
    painter_.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), ToQColor(color));
}

void QtCanvas::MoveTo(int32_t x, int32_t y) { position_ = QPoint(x, y); }

void QtCanvas::LineTo(int32_t x, int32_t y) {
    const QPoint to(x, y);
    // A line to where it starts sets no pixel.
    if (to != position_) {
        if (pending_.empty()) UseMix(penMix_);
        pending_.emplace_back(position_, to);
    }
    position_ = to;
}

void QtCanvas::Polygon(const std::vector<PixelPoint>& points) {
    Flush();
    UseLinePen();
    UseMix(penMix_);
    QPolygon poly;
    for (const PixelPoint& p : points) poly << QPoint(p.x, p.y);
    painter_.drawPolygon(poly, Qt::OddEvenFill);
}

void QtCanvas::Rectangle(const PixelRect& r) {
    Flush();
    UseLinePen();
    UseMix(penMix_);
    const QRect box = OutlineBox(r);
    if (box.width() < 0 || box.height() < 0) return;
    painter_.drawRect(box);
}

void QtCanvas::Ellipse(const PixelRect& box) {
    Flush();
    UseLinePen();
    UseMix(penMix_);
    const QRect b = OutlineBox(box);
    if (b.width() < 0 || b.height() < 0) return;
    painter_.drawEllipse(b);
}

void QtCanvas::Arc(const PixelRect& box, PixelPoint start, PixelPoint end) {
    Flush();
    UseLinePen();
    UseMix(penMix_);
    const QRect b = OutlineBox(box);
    if (b.width() < 0 || b.height() < 0) return;
    const QRectF f(b);
    const double a1 = ParameterAngle(f, QPointF(start.x, start.y));
    double span = ParameterAngle(f, QPointF(end.x, end.y)) - a1;
    if (span <= 0) span += 360;
    painter_.drawArc(b, int(std::lround(a1 * 16)), int(std::lround(span * 16)));
}

void QtCanvas::SetPixel(int32_t x, int32_t y, WinColor color) {
    Flush();
    UseMix(PenMix::Copy);
    painter_.fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void QtCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    Flush();
    UseMix(PenMix::Copy);
    if (!fontEntry_) fontEntry_ = &cache_.FontFor(font_);
    if (!textPenActive_ || textColor_ != appliedTextColor_) {
        painter_.setPen(ToQColor(textColor_));
        appliedTextColor_ = textColor_;
        textPenActive_ = true;
    }
    const QtCanvasCache::Font& f = *fontEntry_;
    const QtCanvasCache::Text& text = cache_.TextFor(f, bytes);
    const bool plain = font_.Escapement == 0 && f.stretch == 1;
    if (!plain) {
        painter_.save();
        painter_.translate(x, y);
        painter_.rotate(-font_.Escapement / 10.0);
        painter_.scale(f.stretch, 1);
    }
    const QPointF baseline = plain ? QPointF(x, y + f.ascent) : QPointF(0, f.ascent);
    if (text.allGlyphs) {
        painter_.drawGlyphRun(baseline, text.glyphs);
    } else {
        painter_.setFont(f.font);
        painter_.drawText(baseline, text.string);
    }
    if (!plain) painter_.restore();
}

void QtCanvas::XorPicture(int32_t x, int32_t y, const Picture& picture) {
    Flush();
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    for (int py = 0; py < picture.Height; ++py)
        for (int px = 0; px < picture.Width; ++px)
            image.setPixelColor(px, py, ToQColor(picture.Pixels[std::size_t(py) * std::size_t(picture.Width) + std::size_t(px)]));
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_.drawImage(QPoint(x, y), image);
    painter_.setCompositionMode(activeMix_ == PenMix::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                             : QPainter::CompositionMode_SourceOver);
}

}  // namespace tavo
