#include "qt/canvas.h"

#include <QFontMetricsF>
#include <QPen>
#include <QTransform>
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

// The smallest rectangle holding every pixel with coverage; a single empty
// pixel for none.
QRect InkedArea(const QImage& mask) {
    int left = mask.width(), top = mask.height(), right = -1, bottom = -1;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): within the row
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(left, top), QPoint(right, bottom));
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

const QtCanvasCache::Sprite& QtCanvasCache::SpriteFor(const Font& font, int escapement, std::string_view bytes) {
    auto key = std::make_tuple(&font, escapement, std::string(bytes));
    auto it = sprites_.find(key);
    if (it != sprites_.end()) return it->second;
    // Texts of a drawing repeat; a cache that grows past any drawing's
    // variety starts again.
    if (sprites_.size() >= 65536) sprites_.clear();
    const Text& text = TextFor(font, bytes);
    // Drawn as the platform draws text: the top-left of the character cell
    // at the point, turned counter-clockwise about it, widened or narrowed
    // to the asked width.
    QTransform place;
    place.rotate(-escapement / 10.0);
    place.scale(font.stretch, 1);
    const QFontMetricsF metrics(font.font);
    const double em = font.font.pixelSize();
    const QRectF ink = metrics.boundingRect(text.string)
                           .united(QRectF(0, -font.ascent, metrics.horizontalAdvance(text.string), em * 1.5))
                           .translated(0, font.ascent)
                           .adjusted(-2, -2, 2, 2);
    const QRect box = place.mapRect(ink).toAlignedRect();
    Sprite sprite{QImage(box.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied), box.topLeft()};
    sprite.mask.fill(Qt::transparent);
    {
        QPainter p(&sprite.mask);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setPen(Qt::black);
        p.translate(-box.topLeft());
        p.setTransform(place, true);
        if (text.allGlyphs) {
            p.drawGlyphRun(QPointF(0, font.ascent), text.glyphs);
        } else {
            p.setFont(font.font);
            p.drawText(QPointF(0, font.ascent), text.string);
        }
    }
    // Only the inked part is kept: most of the box is empty, and every
    // drawing of the text walks what is kept.
    const QRect inked = InkedArea(sprite.mask);
    sprite.mask = sprite.mask.copy(inked);
    sprite.offset += inked.topLeft();
    return sprites_.emplace(std::move(key), std::move(sprite)).first->second;
}

QtCanvas::QtCanvas(QImage& image) : QtCanvas(image, ownCache_) {}

QtCanvas::QtCanvas(QImage& image, QtCanvasCache& cache) : cache_(cache), raster_(image), painter_(&image) {
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
    painter_.drawLines(pending_.data(), int(pending_.size()));
    pending_.clear();
}

void QtCanvas::UseMix(PenMix mix) {
    if (mix == activeMix_) return;
    painter_.setCompositionMode(mix == PenMix::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
    activeMix_ = mix;
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
    penRgb_ = ToQColor(color).rgb();
    penStyle_ = style;
    penMix_ = mix;
    ApplyPen();
}

void QtCanvas::SetBrush(WinColor color, BrushStyle style) {
    Flush();
    clearBrush_ = style == BrushStyle::Clear;
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
    if (PlainPen()) {
        Flush();
        raster_.Line(position_.x(), position_.y(), x, y, penRgb_);
    } else if (to != position_) {  // a line to where it starts sets no pixel
        if (pending_.empty()) UseMix(penMix_);
        pending_.emplace_back(position_, to);
    }
    position_ = to;
}

void QtCanvas::Polygon(const std::vector<PixelPoint>& points) {
    Flush();
    UseMix(penMix_);
    QPolygon poly;
    for (const PixelPoint& p : points) poly << QPoint(p.x, p.y);
    painter_.drawPolygon(poly, Qt::OddEvenFill);
}

void QtCanvas::Rectangle(const PixelRect& r) {
    Flush();
    UseMix(penMix_);
    const QRect box = OutlineBox(r);
    if (box.width() < 0 || box.height() < 0) return;
    painter_.drawRect(box);
}

void QtCanvas::Ellipse(const PixelRect& box) {
    Flush();
    if (PlainPen() && clearBrush_) {
        raster_.EllipseArc(box.left, box.top, box.right, box.bottom, 0, 2 * kPi, penRgb_);
        return;
    }
    UseMix(penMix_);
    const QRect b = OutlineBox(box);
    if (b.width() < 0 || b.height() < 0) return;
    painter_.drawEllipse(b);
}

void QtCanvas::Arc(const PixelRect& box, PixelPoint start, PixelPoint end) {
    Flush();
    UseMix(penMix_);
    const QRect b = OutlineBox(box);
    if (b.width() < 0 || b.height() < 0) return;
    const QRectF f(b);
    const double a1 = ParameterAngle(f, QPointF(start.x, start.y));
    double span = ParameterAngle(f, QPointF(end.x, end.y)) - a1;
    if (span <= 0) span += 360;
    if (PlainPen()) {
        raster_.EllipseArc(box.left, box.top, box.right, box.bottom, a1 * kPi / 180, span * kPi / 180, penRgb_);
        return;
    }
    painter_.drawArc(b, int(std::lround(a1 * 16)), int(std::lround(span * 16)));
}

void QtCanvas::SetPixel(int32_t x, int32_t y, WinColor color) {
    Flush();
    raster_.Pixel(x, y, ToQColor(color).rgb());
}

void QtCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    Flush();
    if (!fontEntry_) fontEntry_ = &cache_.FontFor(font_);
    const QtCanvasCache::Sprite& sprite = cache_.SpriteFor(*fontEntry_, font_.Escapement, bytes);
    raster_.Blend(sprite.mask, x + sprite.offset.x(), y + sprite.offset.y(), ToQColor(textColor_).rgb());
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
