#pragma once

#include <QDialog>
#include <QPointer>
#include <QTableWidget>
#include <QTimer>
#include <array>
#include <functional>

#include "forms/config_form.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTreeWidget;

namespace tavo {

// The settings dialog in Qt, bound to a TConfigForm that holds its values
// and behaviour: the widgets show the form's values on Repaint and hand
// back what the user edits. Controls carry their designed names ("edScale",
// "sgTable", "bnOk", ...).
class QtConfigForm final : public QDialog, public ConfigToolkit, public ConfigWindow {
public:
    QtConfigForm(ConfigMode mode, SettingsStore settings);
    ~QtConfigForm() override;
    QtConfigForm(const QtConfigForm&) = delete;
    QtConfigForm& operator=(const QtConfigForm&) = delete;

    // ConfigWindow
    TConfigForm& Form() override { return form_; }
    void ShowModal() override;

    // ConfigToolkit
    std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
    std::optional<std::string> AskOpenFileName(const SaveDialogRequest& request) override;
    void ShowMessage(const FormText& text, MessageKind kind) override;
    void ShowHelp(const std::string& helpFile, int32_t context) override;
    void Repaint() override;

    // The widgets of the pages (made by config_pages.cpp).
    struct Widgets {
        QTreeWidget* tvContents = nullptr;
        std::array<QWidget*, 10> panels{};  // by ConfigPanel
        QButtonGroup* targets = nullptr;
        QButtonGroup* placements = nullptr;
        QGroupBox* extraGroup = nullptr;
        QGroupBox* placementGroup = nullptr;
        QLineEdit *edCom1 = nullptr, *edCom2 = nullptr, *edFName = nullptr;
        QLineEdit *edDimen = nullptr, *edScale = nullptr;
        QLabel* scaleLabel = nullptr;
        QComboBox* cbDraft = nullptr;
        QRadioButton *rbSameScale = nullptr, *rbEachScale = nullptr;
        QTableWidget* sgGroupScale = nullptr;
        std::array<QComboBox*, 6> layerLists{};  // cbRGrp, cbRLay, cbMGrp, cbMLay, cbSGrp, cbSLay
        QLineEdit *edRCol = nullptr, *edSPenNo = nullptr;
        std::array<QLineEdit*, kSwatchCount> colorBoxes{};
        std::array<QLineEdit*, 13> typeBoxes{};
        QLineEdit* edDouble = nullptr;
        QTableWidget* sgTable = nullptr;
        QCheckBox *cbCaret = nullptr, *cbSolid = nullptr;
        QLineEdit* edDumpName = nullptr;
        std::array<QCheckBox*, 4> dumpBoxes{};
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void BuildPages(QWidget* area);
    void BuildTarget(QWidget* page);
    void BuildScale(QWidget* page);
    void BuildLayers(QWidget* page);
    void BuildColors(QWidget* page);
    void BuildTypes(QWidget* page);
    void BuildMoji(QWidget* page);
    void BuildOption(QWidget* page);
    void BuildDump(QWidget* page);
    void BuildAbout(QWidget* page);
    void BuildButtons(QWidget* strip);
    void FillTree();
    // A numeric box bound to a string of the form, with its key filter.
    QLineEdit* NumberBox(QWidget* parent, const char* name, std::string& value, KeyFilter filter, int maxLength);
    QLineEdit* TextBox(QWidget* parent, const char* name, std::string& value, bool fileName, int maxLength);
    QTableWidget* Grid(QWidget* parent, const char* name, int cols, int rows, int colWidth,
                       const std::function<std::string&(int col, int row)>& cell);
    void ShowGrid(QTableWidget* grid, const std::function<const std::string&(int col, int row)>& cell);
    void Ok();

    TConfigForm form_;
    Widgets w_;
    std::vector<std::pair<QLineEdit*, std::function<QString()>>> shownTexts_;
    // Enter in a cell's editor: the cell to go to once the editor is done.
    std::pair<QPointer<QTableWidget>, GridCell> gridMove_;
    QTimer gridMoveTimer_;
};

}  // namespace tavo
