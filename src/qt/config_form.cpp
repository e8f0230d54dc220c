#include "qt/config_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTreeWidget>

#include "forms/config_texts.h"
#include "forms/form_texts.h"
#include "qt/form_support.h"
#include "qt/windows.h"
#include "platform/encoding.h"
#include "platform/help.h"

namespace tavo {

namespace {

constexpr int kClientWidth = 472, kClientHeight = 373, kTreeWidth = 121, kButtonStrip = 37;
constexpr const char* kFilterProperty = "tavoKeyFilter";

std::string ToCp932(const QString& text) { return platform::Utf8ToCp932(text.toStdString()); }

// The grids' cell editors carry the grid's key filter.
class GridDelegate final : public QStyledItemDelegate {
public:
    GridDelegate(QObject* filter, QObject* parent) : QStyledItemDelegate(parent), filter_(filter) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setProperty(kFilterProperty, static_cast<int>(KeyFilter::Grid));
        editor->setAttribute(Qt::WA_InputMethodEnabled, false);
        editor->installEventFilter(filter_);
        return editor;
    }

private:
    QObject* filter_;
};

QTableWidget* GridOf(QObject* watched) {
    for (QObject* o = watched; o; o = o->parent())
        if (auto* table = qobject_cast<QTableWidget*>(o)) return table;
    return nullptr;
}

}  // namespace

// A fixed dialog border with the close box only.
QtConfigForm::QtConfigForm(ConfigMode mode, SettingsStore settings)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      form_(mode, *this, std::move(settings)) {
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(qt::FromCp932(ModeCaption(mode)));
    setFont(qt::FormFont(sjis::kFormFontName, 12));
    setFixedSize(kClientWidth, kClientHeight);
    gridMoveTimer_.setSingleShot(true);
    gridMoveTimer_.setInterval(0);
    connect(&gridMoveTimer_, &QTimer::timeout, this, [this] {
        if (gridMove_.first) gridMove_.first->setCurrentCell(gridMove_.second.Row, gridMove_.second.Col);
    });
    w_.tvContents = new QTreeWidget(this);
    w_.tvContents->setObjectName(QStringLiteral("tvContents"));
    w_.tvContents->setHeaderHidden(true);
    w_.tvContents->setIndentation(12);  // the longest child caption fits the 121 pixels
    w_.tvContents->setGeometry(0, 0, kTreeWidth, kClientHeight);
    w_.tvContents->setMouseTracking(true);  // hot tracking
    connect(w_.tvContents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) form_.tvContentsChange(static_cast<uint8_t>(item->data(0, Qt::UserRole).toInt()));
    });
    auto* main = new QWidget(this);
    main->setObjectName(QStringLiteral("pnMain"));
    main->setGeometry(kTreeWidth, 0, kClientWidth - kTreeWidth, kClientHeight);
    auto* area = new QWidget(main);
    area->setGeometry(0, 0, main->width(), kClientHeight - kButtonStrip);
    BuildPages(area);
    auto* strip = new QWidget(main);
    strip->setObjectName(QStringLiteral("pnButton"));
    strip->setGeometry(0, kClientHeight - kButtonStrip, main->width(), kButtonStrip);
    BuildButtons(strip);
    if (!form_.ShowsPlacement()) w_.placementGroup->hide();
    if (!form_.ShowsJwwTarget()) w_.targets->button(3)->hide();
}

QtConfigForm::~QtConfigForm() = default;

void QtConfigForm::BuildButtons(QWidget* strip) {
    auto* line = new QFrame(strip);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, 0, strip->width(), 2);
    const struct {
        const char* name;
        const char* caption;
        std::function<void()> click;
    } kButtons[] = {
        {"bnHelp", sjis::kHelpCaption, [this] { form_.bnHelpClick(); }},
        {"bnOk", sjis::kOkCaption, [this] { Ok(); }},
        {"bnCancel", sjis::kCancelCaption, [this] { reject(); }},
        {"bnRenewal", sjis::kRenewalCaption, [this] { form_.bnRenewalClick(); }},
    };
    int left = strip->width() - 4 * 82 - 6;
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(qt::FromCp932(b.caption), strip);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        button->setGeometry(left, 7, 75, 25);
        connect(button, &QPushButton::clicked, this, b.click);
        left += 82;
    }
}

void QtConfigForm::FillTree() {
    QSignalBlocker block(w_.tvContents);
    w_.tvContents->clear();
    QTreeWidgetItem* root = nullptr;
    for (const ConfigTreeEntry& e : form_.Tree) {
        auto* item = e.Level == 1 || !root ? new QTreeWidgetItem(w_.tvContents) : new QTreeWidgetItem(root);
        if (e.Level == 1) root = item;
        item->setText(0, qt::FromCp932(e.Caption));
        item->setData(0, Qt::UserRole, int(e.Page));
    }
    w_.tvContents->expandAll();
    w_.tvContents->setCurrentItem(w_.tvContents->topLevelItem(0));
}

void QtConfigForm::ShowModal() {
    FillTree();
    Repaint();
    w_.tvContents->setFocus();
    exec();
}

void QtConfigForm::Ok() {
    form_.bnOkClick();
    if (form_.ModalResult == 1) done(1);
}

void QtConfigForm::reject() {
    form_.Cancel();
    done(2);
}

std::optional<std::string> QtConfigForm::AskSaveFileName(const SaveDialogRequest& request) {
    return qt::RunSaveDialog(this, request);
}

std::optional<std::string> QtConfigForm::AskOpenFileName(const SaveDialogRequest& request) {
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlOpen"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qt::NameFiltersOf(request.Filter));
    const QString name = qt::FromFileName(request.FileName);
    if (!name.isEmpty()) dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return qt::ToFileName(dialog.selectedFiles().first());
}

void QtConfigForm::ShowMessage(const FormText& text, MessageKind kind) { qt::RunMessageBox(this, text, kind); }

void QtConfigForm::ShowHelp(const std::string& helpFile, int32_t context) {
    platform::ShowHelpTopic(helpFile, context);
}

QLineEdit* QtConfigForm::TextBox(QWidget* parent, const char* name, std::string& value, bool fileName, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) box->setMaxLength(maxLength);
    std::string* bound = &value;
    connect(box, &QLineEdit::textEdited, this, [bound, fileName](const QString& text) {
        *bound = fileName ? qt::ToFileName(text) : ToCp932(text);
    });
    shownTexts_.emplace_back(box, [bound, fileName] {
        return fileName ? qt::FromFileName(*bound) : qt::FromCp932(*bound);
    });
    return box;
}

QLineEdit* QtConfigForm::NumberBox(QWidget* parent, const char* name, std::string& value, KeyFilter filter,
                                   int maxLength) {
    QLineEdit* box = TextBox(parent, name, value, false, maxLength);
    box->setProperty(kFilterProperty, static_cast<int>(filter));
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->installEventFilter(this);
    return box;
}

QTableWidget* QtConfigForm::Grid(QWidget* parent, const char* name, int cols, int rows, int colWidth,
                                 const std::function<std::string&(int col, int row)>& cell) {
    auto* grid = new QTableWidget(rows, cols, parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(colWidth);
    grid->horizontalHeader()->setMinimumSectionSize(10);
    grid->verticalHeader()->setDefaultSectionSize(19);
    grid->verticalHeader()->setMinimumSectionSize(10);
    grid->setItemDelegate(new GridDelegate(this, grid));
    grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setProperty(kFilterProperty, static_cast<int>(KeyFilter::Grid));
    grid->installEventFilter(this);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            auto* item = new QTableWidgetItem;
            if (r == 0 || c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(grid->palette().button());
            }
            grid->setItem(r, c, item);
        }
    connect(grid, &QTableWidget::itemChanged, this, [cell](QTableWidgetItem* item) {
        if (item->row() > 0 && item->column() > 0) cell(item->column(), item->row()) = ToCp932(item->text());
    });
    return grid;
}

void QtConfigForm::ShowGrid(QTableWidget* grid, const std::function<const std::string&(int col, int row)>& cell) {
    QSignalBlocker block(grid);
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QString text = qt::FromCp932(cell(c, r));
            if (grid->item(r, c)->text() != text) grid->item(r, c)->setText(text);
        }
}

bool QtConfigForm::eventFilter(QObject* watched, QEvent* event) {
    const QVariant filter = watched->property(kFilterProperty);
    if (event->type() != QEvent::KeyPress || !filter.isValid()) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        code = kKeyReturn;
    else if (key->key() == Qt::Key_Backspace)
        code = kKeyBack;
    else if (!key->text().isEmpty() && key->text().at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier))
        code = key->text().at(0).unicode();
    if (code == 0) return QDialog::eventFilter(watched, event);  // moves, Delete, Ctrl+V ...
    switch (FilterKey(static_cast<KeyFilter>(filter.toInt()), code)) {
        case KeyAnswer::Pass: return false;
        case KeyAnswer::Swallow: return true;
        case KeyAnswer::NextControl:
            focusNextChild();
            return true;
        case KeyAnswer::NextCell: {
            QTableWidget* grid = GridOf(watched);
            if (!grid) return true;
            const GridCell next = NextGridCell({grid->currentColumn(), grid->currentRow()}, grid->columnCount(),
                                               grid->rowCount());
            if (watched == grid) {
                grid->setCurrentCell(next.Row, next.Col);
                return true;
            }
            // In a cell's editor the view has already queued its commit of
            // the text and the editor's end: the move comes after them.
            gridMove_ = {grid, next};
            gridMoveTimer_.start();
            return true;
        }
    }
    return false;
}

void QtConfigForm::Repaint() {
    for (std::size_t i = 0; i < w_.panels.size(); ++i)
        if (w_.panels[i]) w_.panels[i]->setVisible(static_cast<std::size_t>(form_.ShownPanel) == i);
    for (auto& [box, text] : shownTexts_) {
        const QString shown = text();
        if (box->text() != shown) box->setText(shown);
    }
    // Target page.
    const auto check = [](QButtonGroup* group, int id) {
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(group->id(b) == id);
        group->setExclusive(true);
    };
    check(w_.targets, form_.TargetChecked);
    check(w_.placements, form_.PlacementChecked);
    w_.extraGroup->setEnabled(form_.ExtraGroupEnabled);
    w_.extraGroup->setTitle(qt::FromCp932(form_.ExtraGroupCaption));
    w_.edCom1->setEnabled(form_.CommentsEnabled);
    w_.edCom2->setEnabled(form_.CommentsEnabled);
    // Paper and scale page.
    w_.cbDraft->setCurrentIndex(form_.cbDraft);
    w_.rbSameScale->setChecked(form_.SameScaleChecked);
    w_.rbEachScale->setChecked(!form_.SameScaleChecked);
    w_.scaleLabel->setEnabled(form_.SameScaleChecked);
    w_.edScale->setEnabled(form_.SameScaleChecked);
    w_.sgGroupScale->setEnabled(!form_.SameScaleChecked);
    ShowGrid(w_.sgGroupScale, [this](int c, int r) -> const std::string& {
        return form_.sgGroupScale[std::size_t(r)][std::size_t(c)];
    });
    // Layers, options, text table, dump.
    const int layers[6] = {form_.cbRGrp, form_.cbRLay, form_.cbMGrp, form_.cbMLay, form_.cbSGrp, form_.cbSLay};
    for (std::size_t i = 0; i < 6; ++i) w_.layerLists[i]->setCurrentIndex(layers[i]);
    w_.cbCaret->setChecked(form_.ExchangeCaretChecked);
    w_.cbSolid->setChecked(form_.ExchangeSolidChecked);
    ShowGrid(w_.sgTable,
             [this](int c, int r) -> const std::string& { return form_.sgTable[std::size_t(r)][std::size_t(c)]; });
    for (std::size_t i = 0; i < 4; ++i) w_.dumpBoxes[i]->setChecked(form_.DumpBoxes[i]);
}

std::unique_ptr<ConfigWindow> qt::CreateConfigWindow(ConfigMode mode, SettingsStore settings) {
    RequireWindows();
    return std::make_unique<QtConfigForm>(mode, std::move(settings));
}

}  // namespace tavo
