#pragma once

#include <QLabel>
#include <functional>
#include <string>

#include "forms/ht_label.h"

namespace tavo {

// A hyperlink label in Qt: a plain label bound to a THTLabel, with the
// hand cursor; a click opens the caption through the desktop's URL
// handler.
class QtHtLabel final : public QLabel {
public:
    explicit QtHtLabel(const QString& caption, QWidget* parent = nullptr);

    THTLabel& Label() { return label_; }
    // Opens what a click asks for; the desktop's URL handler unless a test
    // puts another here.
    std::function<void(const std::string& target)> Open;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ShowStyle();
    THTLabel label_;
};

}  // namespace tavo
