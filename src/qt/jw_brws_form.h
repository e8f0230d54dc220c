#pragma once

#include <QDialog>
#include <array>

#include "forms/show_viewer.h"

class QAction;

namespace tavo {

class JwBrwsWidget;

// The preview window in Qt: the toolbar of the seven actions over the
// viewer, bound to a TJwBrwsForm that holds all of its behaviour. Objects
// carry the designed names ("ToolBar", "pnBrws", "FileSave", "tbSelect",
// ...) so that tests find them.
class QtJwBrwsForm final : public QDialog, public FormToolkit, public ViewerWindow {
public:
    QtJwBrwsForm(SettingsStore settings, platform::Clipboard& clipboard);
    ~QtJwBrwsForm() override;
    QtJwBrwsForm(const QtJwBrwsForm&) = delete;
    QtJwBrwsForm& operator=(const QtJwBrwsForm&) = delete;

    // ViewerWindow
    TJwBrwsForm& Form() override { return form_; }
    int32_t ShowModal() override;
    WindowPlacement Placement() const override;

    // FormToolkit
    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
    void ShowMessage(const FormText& text, MessageKind kind) override;
    void ShowHelp(const std::string& helpFile, int32_t context) override;
    void Repaint() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc belongs to the form's key handler and never closes the window.
    void reject() override {}

private:
    void BuildToolbar();
    void Run(JwBrwsAction action);
    // Ends the modal loop once the form has a modal result.
    void EndIfDone();

    TJwBrwsForm form_;
    JwBrwsWidget* viewer_ = nullptr;
    std::array<QAction*, kJwBrwsActionCount> actions_{};
};

// The platform's virtual-key code of a Qt key, 0 for keys the forms ignore.
int VirtualKeyOf(int qtKey);

}  // namespace tavo
