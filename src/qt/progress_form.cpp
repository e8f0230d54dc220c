#include "qt/progress_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "qt/form_support.h"
#include "qt/windows.h"
#include "qt/jw_brws_form.h"

namespace tavo {

namespace {

void ShowBar(QProgressBar* bar, const ProgressBarState& state) {
    bar->setRange(state.Min, state.ShownMax());
    bar->setValue(state.ShownPosition());
}

}  // namespace

// A dialog border with no caption-bar buttons.
QtProgressForm::QtProgressForm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    const ProgressFormDesign& design = ProgressDesign();
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(qt::FromCp932(design.Caption));
    setFont(qt::FormFont(design.FontName, design.FontHeight));
    setFixedSize(design.ClientWidth, design.ClientHeight);
    for (const ControlDesign& c : design.Controls) {
        QWidget* w = nullptr;
        switch (c.Kind) {
            case ControlKind::Label: w = new QLabel(qt::FromCp932(c.Caption), this); break;
            case ControlKind::ProgressBar: {
                auto* bar = new QProgressBar(this);
                bar->setTextVisible(false);
                (QLatin1String(c.Name) == QLatin1String("pbLine") ? pbLine_ : pbText_) = bar;
                w = bar;
                break;
            }
            case ControlKind::Button:
                btnCancel_ = new QPushButton(qt::FromCp932(c.Caption), this);
                btnCancel_->setAutoDefault(false);
                connect(btnCancel_, &QPushButton::clicked, this, [this] { form_.btnCancelClick(); });
                w = btnCancel_;
                break;
        }
        w->setObjectName(QString::fromLatin1(c.Name));
        w->setGeometry(c.Left, c.Top, c.Width, c.Height);
    }
    ShowBars();
}

QtProgressForm::~QtProgressForm() = default;

void QtProgressForm::ShowBars() {
    ShowBar(pbLine_, form_.pbLine);
    ShowBar(pbText_, form_.pbText);
    btnCancel_->setVisible(form_.CancelVisible);
}

void QtProgressForm::Show() {
    form_.FormShow();
    ShowBars();
    show();
    // Centred with its frame, which is known once it shows.
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
    }
    // A host that is no Qt program processes no events of its own: let the
    // window appear before it goes on.
    QCoreApplication::processEvents();
}

void QtProgressForm::Refresh() {
    ShowBars();
    pbLine_->repaint();
    pbText_->repaint();
    QCoreApplication::processEvents();
}

void QtProgressForm::keyPressEvent(QKeyEvent* event) {
    if (form_.FormKeyDown(VirtualKeyOf(event->key()))) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call): QDialog's would reject
}

void QtProgressForm::closeEvent(QCloseEvent* event) {
    form_.btnCancelClick();
    event->ignore();
}

std::unique_ptr<ProgressWindow> qt::CreateProgressWindow() {
    RequireWindows();
    return std::make_unique<QtProgressForm>();
}

}  // namespace tavo
