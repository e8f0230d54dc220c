#pragma once

#include <QDialog>

#include "forms/progress_form.h"

class QProgressBar;
class QPushButton;

namespace tavo {

// The progress dialog in Qt: modeless, on top of other windows, centred,
// with its two bars and Cancel laid out as designed; bound to a
// TProgressForm. Controls carry their designed names.
class QtProgressForm final : public QDialog, public ProgressWindow {
public:
    QtProgressForm();
    ~QtProgressForm() override;
    QtProgressForm(const QtProgressForm&) = delete;
    QtProgressForm& operator=(const QtProgressForm&) = delete;

    TProgressForm& Form() override { return form_; }
    void Show() override;
    void Refresh() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Closing it from its frame asks to stop, as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    void reject() override { form_.btnCancelClick(); }

private:
    void ShowBars();

    TProgressForm form_;
    QProgressBar* pbLine_ = nullptr;
    QProgressBar* pbText_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace tavo
