#include "qt/jw_brws_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "forms/toolbar_images.h"
#include "qt/jw_brws_widget.h"
#include "qt/canvas.h"
#include "qt/form_support.h"
#include "qt/windows.h"
#include "platform/help.h"

namespace tavo {

namespace {

QImage ImageOf(const Picture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const WinColor c = picture.Pixels[std::size_t(y) * std::size_t(picture.Width) + std::size_t(x)];
            image.setPixelColor(x, y, c == kImageTransparent ? QColor(Qt::transparent) : ToQColor(c));
        }
    return image;
}

// Marks a button whose action has no hint: it shows none, where Qt would
// show the caption.
constexpr const char* kNoHint = "tavoNoHint";

ScreenArea AreaOf(const QScreen* screen) {
    if (!screen) return {0, 0, 1024, 768};
    const QRect r = screen->availableGeometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

int VirtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Tab: return kKeyTab;
        default: return 0;
    }
}

// No system menu and no close button: the close action is the way out.
// The window can be maximized, so the frame offers that.
QtJwBrwsForm::QtJwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint),
      form_(*this, std::move(settings), clipboard) {
    const JwBrwsFormDesign& design = JwBrwsDesign();
    setObjectName(QStringLiteral("JwBrwsForm"));
    setWindowTitle(qt::FromCp932(design.Caption));
    setFont(qt::FormFont(design.FontName, design.FontHeight));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnBrws"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    viewer_ = new JwBrwsWidget(form_.Viewer, panel);
    viewer_->OnResized = [this](int w, int h) { form_.ViewerResized(w, h); };
    viewer_->OnPainted = [this] { form_.ViewerPainted(); };
    panelLayout->addWidget(viewer_);
    layout->addWidget(panel, 1);
    resize(design.ClientWidth, design.ClientHeight);
    viewer_->setFocus();
    Repaint();
}

// The viewer widget goes first: it refers to the form's control, which goes
// with the members, before QWidget frees the children.
QtJwBrwsForm::~QtJwBrwsForm() { delete viewer_; }

void QtJwBrwsForm::BuildToolbar() {
    const JwBrwsFormDesign& design = JwBrwsDesign();
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(design.ImageSize, design.ImageSize));
    for (const ActionDesign& d : JwBrwsToolbar()) {
        if (d.SeparatorBefore) bar->addSeparator();
        auto* action = new QAction(QIcon(QPixmap::fromImage(ImageOf(ToolbarImage(d.ImageIndex)))),
                                   qt::FromCp932(d.Caption), this);
        action->setObjectName(QString::fromLatin1(d.Name));
        action->setCheckable(d.CheckButton);
        action->setToolTip(qt::FromCp932(d.Hint));
        const JwBrwsAction which = d.Action;
        connect(action, &QAction::triggered, this, [this, which] { Run(which); });
        bar->addAction(action);
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(d.ButtonName));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumSize(design.ButtonWidth, design.ButtonHeight);
        if (*d.Hint == '\0') {
            button->setProperty(kNoHint, true);
            button->installEventFilter(this);
        }
        actions_[static_cast<std::size_t>(d.Action)] = action;
    }
    layout()->addWidget(bar);
}

int32_t QtJwBrwsForm::ShowModal() {
    form_.FormShow();
    const WindowPlacement p = form_.OpenPlacement(AreaOf(screen()));
    // The frame belongs to the window manager: the placement is the
    // window's own area, so that it comes back the same under any of them.
    setGeometry(p.Left, p.Top, p.Width, p.Height);
    if (p.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
    Repaint();
    return exec();
}

WindowPlacement QtJwBrwsForm::Placement() const {
    const QRect r = isMaximized() ? normalGeometry() : geometry();
    return {r.x(), r.y(), r.width(), r.height(), isMaximized()};
}

std::optional<std::string> QtJwBrwsForm::AskSaveFileName(const SaveDialogRequest& request) {
    return qt::RunSaveDialog(this, request);
}

void QtJwBrwsForm::ShowMessage(const FormText& text, MessageKind kind) { qt::RunMessageBox(this, text, kind); }

void QtJwBrwsForm::ShowHelp(const std::string& helpFile, int32_t context) {
    platform::ShowHelpTopic(helpFile, context);
}

void QtJwBrwsForm::Repaint() {
    for (const ActionDesign& d : JwBrwsToolbar()) {
        QAction* action = actions_[static_cast<std::size_t>(d.Action)];
        if (!action) continue;
        action->setEnabled(form_.Action(d.Action).Enabled);
        action->setChecked(form_.Action(d.Action).Checked);
    }
    if (viewer_) viewer_->update();
}

void QtJwBrwsForm::Run(JwBrwsAction action) {
    form_.Execute(action);
    EndIfDone();
}

void QtJwBrwsForm::EndIfDone() {
    if (form_.ModalResult != 0) done(form_.ModalResult);
}

void QtJwBrwsForm::keyPressEvent(QKeyEvent* event) {
    const int key = VirtualKeyOf(event->key());
    if (key != 0) {
        form_.FormKeyDown(key);
        event->accept();
        return;
    }
    // Past QDialog, whose Esc and Enter would close the window.
    QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call): QDialog's is the one to skip
}

bool QtJwBrwsForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched->property(kNoHint).toBool()) return true;
    return QDialog::eventFilter(watched, event);
}

void QtJwBrwsForm::closeEvent(QCloseEvent* event) {
    form_.FormCloseByUser();
    EndIfDone();
    event->accept();
}

std::unique_ptr<ViewerWindow> qt::CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard) {
    RequireWindows();
    return std::make_unique<QtJwBrwsForm>(std::move(settings), clipboard);
}

}  // namespace tavo
