#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "qt/canvas.h"

namespace tavo {

class TJwBrws;

// The viewer control on screen: owns the image the control paints on,
// forwards paint, mouse (two-button gestures included), double-click and
// size to the control, and lets keys go on to the window. Gesture feedback
// and the rubber band are drawn by the control straight onto the image with
// the not-xor and xor mixes, so that drawing them twice removes them.
class JwBrwsWidget final : public QWidget {
public:
    JwBrwsWidget(TJwBrws& control, QWidget* parent);
    ~JwBrwsWidget() override;
    JwBrwsWidget(const JwBrwsWidget&) = delete;
    JwBrwsWidget& operator=(const JwBrwsWidget&) = delete;

    // Told the new size (the default hands it to the control), and each
    // time the image reaches the screen.
    std::function<void(int width, int height)> OnResized;
    std::function<void()> OnPainted;

    // The control's image as it stands, painted first when it is stale.
    const QImage& Image();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void PaintIfStale();

    TJwBrws& control_;
    QImage image_;
    QtCanvasCache cache_;
};

}  // namespace tavo
