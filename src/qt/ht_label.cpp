#include "qt/ht_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#include "qt/canvas.h"

namespace tavo {

QtHtLabel::QtHtLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    label_.Caption = caption.toStdString();
    setCursor(Qt::PointingHandCursor);
    Open = [](const std::string& target) { QDesktopServices::openUrl(QUrl(QString::fromStdString(target))); };
}

// Only changes are set: setting them repaints, and this runs in a paint.
void QtHtLabel::ShowStyle() {
    const QColor colour = ToQColor(PlainColor(label_.FontColor));
    if (palette().color(QPalette::WindowText) != colour) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        setPalette(p);
    }
    if (font().underline() != label_.Underlined) {
        QFont f = font();
        f.setUnderline(label_.Underlined);
        setFont(f);
    }
}

void QtHtLabel::paintEvent(QPaintEvent* event) {
    label_.Paint();
    ShowStyle();
    QLabel::paintEvent(event);
}

void QtHtLabel::enterEvent(QEnterEvent* event) {
    label_.MouseEnter();
    update();
    QLabel::enterEvent(event);
}

void QtHtLabel::leaveEvent(QEvent* event) {
    label_.MouseLeave();
    update();
    QLabel::leaveEvent(event);
}

void QtHtLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    const std::string target = label_.Click();
    ShowStyle();
    if (Open) Open(target);
}

}  // namespace tavo
