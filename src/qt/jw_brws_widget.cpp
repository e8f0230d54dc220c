#include "qt/jw_brws_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <optional>

#include "viewer/jw_brws.h"

namespace tavo {

namespace {

std::optional<MouseButton> ButtonOf(Qt::MouseButton b) {
    if (b == Qt::LeftButton) return MouseButton::Left;
    if (b == Qt::RightButton) return MouseButton::Right;
    return std::nullopt;
}

QPoint At(const QMouseEvent* e) { return e->position().toPoint(); }

}  // namespace

JwBrwsWidget::JwBrwsWidget(TJwBrws& control, QWidget* parent)
    : QWidget(parent), control_(control), image_(1, 1, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("Viewer"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the rubber band follows the mouse with no button down
    setFocusPolicy(Qt::StrongFocus);
    OnResized = [this](int w, int h) { control_.SetSize(w, h); };
    control_.OnInvalidate = [this] { update(); };
}

JwBrwsWidget::~JwBrwsWidget() { control_.OnInvalidate = nullptr; }

const QImage& JwBrwsWidget::Image() {
    PaintIfStale();
    return image_;
}

void JwBrwsWidget::PaintIfStale() {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    const bool resized = image_.size() != wanted;
    if (resized) {
        image_ = QImage(wanted, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
    if (!resized && !control_.NeedsPaint()) return;
    QtCanvas canvas(image_, cache_);
    control_.Paint(canvas);
}

void JwBrwsWidget::paintEvent(QPaintEvent*) {
    PaintIfStale();
    QPainter(this).drawImage(0, 0, image_);
    if (OnPainted) OnPainted();
}

void JwBrwsWidget::resizeEvent(QResizeEvent*) {
    if (OnResized) OnResized(width(), height());
}

void JwBrwsWidget::mousePressEvent(QMouseEvent* e) {
    const auto button = ButtonOf(e->button());
    if (!button) return;
    setFocus(Qt::MouseFocusReason);
    control_.MouseDown(*button, At(e).x(), At(e).y());
}

void JwBrwsWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    const auto button = ButtonOf(e->button());
    if (!button) return;
    control_.MouseDoubleClick(*button, At(e).x(), At(e).y());
}

void JwBrwsWidget::mouseMoveEvent(QMouseEvent* e) {
    // Feedback goes onto the image as it is on screen, never onto a stale one.
    PaintIfStale();
    {
        QtCanvas canvas(image_, cache_);
        control_.MouseMove(canvas, At(e).x(), At(e).y());
    }
    update();
}

void JwBrwsWidget::mouseReleaseEvent(QMouseEvent* e) {
    const auto button = ButtonOf(e->button());
    if (!button) return;
    PaintIfStale();
    {
        QtCanvas canvas(image_, cache_);
        control_.MouseUp(canvas, *button, At(e).x(), At(e).y());
    }
    update();
}

bool JwBrwsWidget::focusNextPrevChild(bool) { return false; }  // the control wants Tab

}  // namespace tavo
