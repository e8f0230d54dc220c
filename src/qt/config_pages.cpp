// The pages of the settings dialog: their controls, in the designed order
// and groups, bound to the values of the form.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forms/config_texts.h"
#include "qt/canvas.h"
#include "qt/config_form.h"
#include "qt/form_support.h"
#include "qt/ht_label.h"

namespace tavo {

namespace {

QString Text(const char* cp932) { return qt::FromCp932(cp932); }

QGroupBox* Group(QWidget* page, const char* caption) {
    auto* group = new QGroupBox(Text(caption), page);
    page->layout()->addWidget(group);
    return group;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(Text(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption) {
    auto* r = new QRadioButton(Text(caption), parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QLabel* Label(QWidget* parent, const char* caption, QWidget* buddy = nullptr) {
    auto* l = new QLabel(Text(caption), parent);
    if (buddy) l->setBuddy(buddy);
    return l;
}

// A button at the right of a row of its own.
void AddRightButton(QWidget* page, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
}

QComboBox* HexList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < 16; ++i) list->addItem(QString(QLatin1Char("0123456789ABCDEF"[i])));
    return list;
}

QPixmap PictureOf(const Picture& picture) {
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            image.setPixelColor(x, y, ToQColor(picture.Pixels[std::size_t(y) * std::size_t(picture.Width) + std::size_t(x)]));
    return QPixmap::fromImage(image);
}

// The about page's pictures, drawn here: a banner with the name and a
// small strip of the six pen colours.
QPixmap AboutTitle(const QFont& font) {
    QPixmap p(300, 60);
    QPainter painter(&p);
    QLinearGradient fill(0, 0, 300, 60);
    fill.setColorAt(0, QColor(0x1F, 0x4E, 0x8C));
    fill.setColorAt(1, QColor(0x6F, 0xA8, 0xDC));
    painter.fillRect(p.rect(), fill);
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    for (int x = 0; x < 300; x += 12) painter.drawLine(x, 0, x, 60);
    for (int y = 0; y < 60; y += 12) painter.drawLine(0, y, 300, y);
    QFont big = font;
    big.setPixelSize(34);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(Qt::white);
    painter.drawText(QRect(14, 0, 286, 60), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tavo"));
    return p;
}

QPixmap AboutPens() {
    QPixmap p(138, 26);
    p.fill(Qt::white);
    QPainter painter(&p);
    const QColor pens[6] = {Qt::black, Qt::red, Qt::darkGreen, Qt::blue, Qt::magenta, QColor(0, 160, 160)};
    for (int i = 0; i < 6; ++i) {
        painter.setPen(QPen(pens[i], 3));
        painter.drawLine(6 + i * 22, 20, 22 + i * 22, 6);
    }
    return p;
}

}  // namespace

void QtConfigForm::BuildPages(QWidget* area) {
    const struct {
        ConfigPanel panel;
        void (QtConfigForm::*build)(QWidget*);
    } kPages[] = {{ConfigPanel::ExpTarget, &QtConfigForm::BuildTarget}, {ConfigPanel::ExpScale, &QtConfigForm::BuildScale},
                  {ConfigPanel::ExpLayer, &QtConfigForm::BuildLayers},  {ConfigPanel::LineColor, &QtConfigForm::BuildColors},
                  {ConfigPanel::LineType, &QtConfigForm::BuildTypes},   {ConfigPanel::Moji, &QtConfigForm::BuildMoji},
                  {ConfigPanel::Option, &QtConfigForm::BuildOption},    {ConfigPanel::DumpFile, &QtConfigForm::BuildDump},
                  {ConfigPanel::About, &QtConfigForm::BuildAbout}};
    for (const auto& p : kPages) {
        auto* page = new QWidget(area);
        page->setObjectName(QString::fromLatin1(PanelName(p.panel)));
        page->setGeometry(area->rect());
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(8, 8, 8, 4);
        (this->*p.build)(page);
        layout->addStretch();
        page->hide();
        w_.panels[static_cast<std::size_t>(p.panel)] = page;
    }
}

void QtConfigForm::BuildTarget(QWidget* page) {
    QGroupBox* targets = Group(page, sjis::kTargetGroup);
    auto* targetLayout = new QVBoxLayout(targets);
    w_.targets = new QButtonGroup(this);
    const char* const kTargets[4][2] = {{"rbToPreview", sjis::kToPreview},
                                        {"rbToClipboard", sjis::kToClipboard},
                                        {"rbToJwc", sjis::kToJwc},
                                        {"rbToJww", sjis::kToJww}};
    for (int t = 0; t < 4; ++t) {
        QRadioButton* r = Radio(targets, kTargets[t][0], kTargets[t][1]);
        w_.targets->addButton(r, t);
        targetLayout->addWidget(r);
    }
    connect(w_.targets, &QButtonGroup::idClicked, this, [this](int id) { form_.rbToPreviewClick(id); });

    w_.extraGroup = Group(page, sjis::kExtraGroup);
    w_.extraGroup->setObjectName(QStringLiteral("gbJwcData"));
    auto* extra = new QGridLayout(w_.extraGroup);
    w_.edCom1 = TextBox(w_.extraGroup, "edCom1", form_.edCom1, false, 32);
    w_.edCom2 = TextBox(w_.extraGroup, "edCom2", form_.edCom2, false, 32);
    w_.edFName = TextBox(w_.extraGroup, "edFName", form_.edFName, true, 0);
    QPushButton* browse = Button(w_.extraGroup, "bnSaveAs", sjis::kBrowse);
    connect(browse, &QPushButton::clicked, this, [this] { form_.bnSaveAsClick(); });
    extra->addWidget(Label(w_.extraGroup, sjis::kComment1, w_.edCom1), 0, 0);
    extra->addWidget(w_.edCom1, 0, 1, 1, 2);
    extra->addWidget(Label(w_.extraGroup, sjis::kComment2, w_.edCom2), 1, 0);
    extra->addWidget(w_.edCom2, 1, 1, 1, 2);
    extra->addWidget(Label(w_.extraGroup, sjis::kFileNameLabel, w_.edFName), 2, 0);
    extra->addWidget(w_.edFName, 2, 1);
    extra->addWidget(browse, 2, 2);

    w_.placementGroup = Group(page, sjis::kPlacementGroup);
    w_.placementGroup->setObjectName(QStringLiteral("gbPlace"));
    auto* place = new QHBoxLayout(w_.placementGroup);
    w_.placements = new QButtonGroup(this);
    const char* const kPlaces[3][2] = {
        {"rbCenter", sjis::kPlaceCentre}, {"rbLeftTop", sjis::kPlaceTopLeft}, {"rbLeftBottom", sjis::kPlaceBottomLeft}};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* r = Radio(w_.placementGroup, kPlaces[i][0], kPlaces[i][1]);
        w_.placements->addButton(r, i);
        place->addWidget(r);
    }
    connect(w_.placements, &QButtonGroup::idClicked, this, [this](int id) { form_.PlacementChecked = id; });
}

void QtConfigForm::BuildScale(QWidget* page) {
    QGroupBox* paper = Group(page, sjis::kPaperGroup);
    auto* paperLayout = new QGridLayout(paper);
    w_.cbDraft = new QComboBox(paper);
    w_.cbDraft->setObjectName(QStringLiteral("cbDraft"));
    w_.cbDraft->addItems({QStringLiteral("A0"), QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"),
                          QStringLiteral("A4")});
    connect(w_.cbDraft, qOverload<int>(&QComboBox::activated), this, [this](int i) { form_.cbDraft = i; });
    w_.edDimen = NumberBox(paper, "edDimen", form_.edDimen, KeyFilter::Decimal, 5);
    paperLayout->addWidget(Label(paper, sjis::kPaperSize, w_.cbDraft), 0, 0);
    paperLayout->addWidget(w_.cbDraft, 0, 1);
    paperLayout->addWidget(Label(paper, sjis::kDimScale, w_.edDimen), 1, 0);
    paperLayout->addWidget(w_.edDimen, 1, 1);
    paperLayout->setColumnStretch(2, 1);

    QGroupBox* scale = Group(page, sjis::kScaleGroup);
    auto* scaleLayout = new QGridLayout(scale);
    w_.rbSameScale = Radio(scale, "rbSameScale", sjis::kSameScale);
    w_.rbEachScale = Radio(scale, "rbEachScale", sjis::kEachScale);
    w_.edScale = NumberBox(scale, "edScale", form_.edScale, KeyFilter::Digits, 4);
    w_.edScale->setFixedWidth(60);
    w_.scaleLabel = Label(scale, sjis::kScaleLabel, w_.edScale);
    w_.scaleLabel->setObjectName(QStringLiteral("lbScale"));
    connect(w_.rbSameScale, &QRadioButton::clicked, this, [this] { form_.rbSameScaleClick(true); });
    connect(w_.rbEachScale, &QRadioButton::clicked, this, [this] { form_.rbSameScaleClick(false); });
    w_.sgGroupScale = Grid(scale, "sgGroupScale", kGroupScaleCols, kGroupScaleRows, 36,
                           [this](int c, int r) -> std::string& { return form_.sgGroupScale[std::size_t(r)][std::size_t(c)]; });
    w_.sgGroupScale->setColumnWidth(0, 44);  // "Group" whole in the form's font
    w_.sgGroupScale->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w_.sgGroupScale->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w_.sgGroupScale->setFixedHeight(2 * 19 + w_.sgGroupScale->horizontalScrollBar()->sizeHint().height() + 4);
    scaleLayout->addWidget(w_.rbSameScale, 0, 0, 1, 3);
    scaleLayout->addWidget(w_.scaleLabel, 1, 1);
    scaleLayout->addWidget(w_.edScale, 1, 2, Qt::AlignLeft);
    scaleLayout->addWidget(w_.rbEachScale, 2, 0, 1, 3);
    scaleLayout->addWidget(w_.sgGroupScale, 3, 0, 1, 3);
    scaleLayout->setColumnMinimumWidth(0, 12);
    scaleLayout->setColumnStretch(2, 1);
}

void QtConfigForm::BuildLayers(QWidget* page) {
    const char* const kNames[6] = {"cbRGrp", "cbRLay", "cbMGrp", "cbMLay", "cbSGrp", "cbSLay"};
    int* const kValues[6] = {&form_.cbRGrp, &form_.cbRLay, &form_.cbMGrp, &form_.cbMLay, &form_.cbSGrp, &form_.cbSLay};
    const char* const kGroups[3] = {sjis::kRuledGroup, sjis::kMojiGroup, sjis::kSymbolGroup};
    for (int g = 0; g < 3; ++g) {
        QGroupBox* group = Group(page, kGroups[g]);
        auto* row = new QHBoxLayout(group);
        for (int k = 0; k < 2; ++k) {
            const int i = 2 * g + k;
            QComboBox* list = HexList(group, kNames[i]);
            int* value = kValues[i];
            connect(list, qOverload<int>(&QComboBox::activated), this, [value](int index) { *value = index; });
            w_.layerLists[std::size_t(i)] = list;
            row->addWidget(Label(group, k == 0 ? sjis::kGroupLabel : sjis::kLayerLabel, list));
            row->addWidget(list);
            row->addSpacing(8);
        }
        if (g != 1) {
            QLineEdit* pen = NumberBox(group, g == 0 ? "edRCol" : "edSPenNo", g == 0 ? form_.edRCol : form_.edSPenNo,
                                       KeyFilter::Pen, 1);
            pen->setFixedWidth(28);
            (g == 0 ? w_.edRCol : w_.edSPenNo) = pen;
            row->addWidget(Label(group, sjis::kPenLabel, pen));
            row->addWidget(pen);
        }
        row->addStretch();
    }
}

void QtConfigForm::BuildColors(QWidget* page) {
    QGroupBox* group = Group(page, sjis::kColorGroup);
    auto* layout = new QVBoxLayout(group);
    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    for (int i = 0; i < kSwatchCount; ++i) {
        const ColorSwatch& s = kColorSwatches[std::size_t(i)];
        auto* swatch = new QFrame(group);
        swatch->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        swatch->setFixedSize(36, 34);
        swatch->setAutoFillBackground(true);
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, ToQColor(SwatchColor(s.PaletteIndex)));
        swatch->setPalette(palette);
        const std::string name = "Edit" + std::to_string(i + 1);
        QLineEdit* box = NumberBox(swatch, name.c_str(), form_.ColorBoxes[std::size_t(i)], KeyFilter::Pen, 1);
        box->setGeometry(9, 15, 18, 17);
        box->setAlignment(Qt::AlignCenter);
        box->setToolTip(QStringLiteral("%1").arg(s.PaletteIndex));
        w_.colorBoxes[std::size_t(i)] = box;
        grid->addWidget(swatch, i / 8, i % 8);
    }
    layout->addLayout(grid);
    layout->addWidget(Label(group, sjis::kColorNote));
    QPushButton* factory = Button(page, "bnIniColor", sjis::kFactoryValues);
    connect(factory, &QPushButton::clicked, this, [this] { form_.bnIniColorClick(); });
    AddRightButton(page, factory);
}

void QtConfigForm::BuildTypes(QWidget* page) {
    QGroupBox* group = Group(page, sjis::kTypeGroup);
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(6);
    for (int s = 1; s <= 13; ++s) {
        const int col = s <= 6 ? 0 : 3, row = s <= 6 ? s - 1 : s - 7;
        auto* sample = new QLabel(group);
        sample->setObjectName(QStringLiteral("imgType%1").arg(s));
        sample->setPixmap(PictureOf(BorderStyleSample(s)));
        sample->setFrameStyle(QFrame::Box | QFrame::Plain);
        const std::string name = "edtT" + std::to_string(s);
        QLineEdit* box = NumberBox(group, name.c_str(), form_.TypeBoxes[std::size_t(s - 1)], KeyFilter::LineType, 1);
        box->setFixedWidth(24);
        box->setAlignment(Qt::AlignCenter);
        w_.typeBoxes[std::size_t(s - 1)] = box;
        grid->addWidget(sample, row, col);
        grid->addWidget(box, row, col + 1);
    }
    grid->setColumnMinimumWidth(2, 30);
    grid->setColumnStretch(5, 1);
    grid->addWidget(Label(group, sjis::kTypeNote), 7, 0, 1, 6);
    auto* pitch = new QHBoxLayout;
    w_.edDouble = NumberBox(page, "edDouble", form_.edDouble, KeyFilter::Decimal, 0);
    w_.edDouble->setFixedWidth(60);
    pitch->addWidget(Label(page, sjis::kDoublePitch, w_.edDouble));
    pitch->addWidget(w_.edDouble);
    pitch->addWidget(Label(page, sjis::kMillimetres));
    pitch->addStretch();
    static_cast<QVBoxLayout*>(page->layout())->addLayout(pitch);
    QPushButton* factory = Button(page, "bnIniType", sjis::kFactoryValues);
    connect(factory, &QPushButton::clicked, this, [this] { form_.bnIniTypeClick(); });
    AddRightButton(page, factory);
}

void QtConfigForm::BuildMoji(QWidget* page) {
    QGroupBox* group = Group(page, sjis::kMojiTableGroup);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(Label(group, sjis::kMojiUnit));
    w_.sgTable = Grid(group, "sgTable", kMojiCols, kMojiRows, 60,
                      [this](int c, int r) -> std::string& { return form_.sgTable[std::size_t(r)][std::size_t(c)]; });
    w_.sgTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w_.sgTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w_.sgTable->setFixedSize(kMojiCols * 60 + 2 * w_.sgTable->frameWidth(), kMojiRows * 19 + 2 * w_.sgTable->frameWidth());
    layout->addWidget(w_.sgTable);
    QPushButton* factory = Button(page, "bnMojiIni", sjis::kFactoryValues);
    connect(factory, &QPushButton::clicked, this, [this] { form_.bnMojiIniClick(); });
    AddRightButton(page, factory);
}

void QtConfigForm::BuildOption(QWidget* page) {
    QGroupBox* group = Group(page, sjis::kOptionGroup);
    auto* layout = new QVBoxLayout(group);
    w_.cbCaret = new QCheckBox(Text(sjis::kExchangeCaret), group);
    w_.cbCaret->setObjectName(QStringLiteral("cbCaret"));
    w_.cbSolid = new QCheckBox(Text(sjis::kExchangeSolid), group);
    w_.cbSolid->setObjectName(QStringLiteral("cbSolid"));
    connect(w_.cbCaret, &QCheckBox::clicked, this, [this](bool on) { form_.ExchangeCaretChecked = on; });
    connect(w_.cbSolid, &QCheckBox::clicked, this, [this](bool on) { form_.ExchangeSolidChecked = on; });
    layout->addWidget(w_.cbCaret);
    layout->addWidget(w_.cbSolid);
    layout->addWidget(Label(group, sjis::kOptionNote));
}

void QtConfigForm::BuildDump(QWidget* page) {
    QGroupBox* file = Group(page, sjis::kDumpFileGroup);
    auto* fileLayout = new QHBoxLayout(file);
    w_.edDumpName = TextBox(file, "edDumpName", form_.edDumpName, true, 0);
    QPushButton* browse = Button(file, "bnDumpFile", sjis::kBrowse);
    connect(browse, &QPushButton::clicked, this, [this] { form_.bnDumpFileClick(); });
    fileLayout->addWidget(Label(file, sjis::kFileNameLabel, w_.edDumpName));
    fileLayout->addWidget(w_.edDumpName, 1);
    fileLayout->addWidget(browse);
    QGroupBox* data = Group(page, sjis::kDumpDataGroup);
    auto* dataLayout = new QVBoxLayout(data);
    const char* const kBoxes[4][2] = {{"cbLine", sjis::kDumpLine},
                                      {"cbCircle", sjis::kDumpCircle},
                                      {"cbString", sjis::kDumpString},
                                      {"cbDot", sjis::kDumpDot}};
    for (std::size_t i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(Text(kBoxes[i][1]), data);
        box->setObjectName(QString::fromLatin1(kBoxes[i][0]));
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { form_.DumpBoxes[i] = on; });
        w_.dumpBoxes[i] = box;
        dataLayout->addWidget(box);
    }
}

void QtConfigForm::BuildAbout(QWidget* page) {
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->setSpacing(8);
    auto* title = new QLabel(page);
    title->setObjectName(QStringLiteral("imgTitle"));
    title->setPixmap(AboutTitle(font()));
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(Label(page, sjis::kAboutTitle), 0, Qt::AlignHCenter);
    auto* version = new QLabel(QStringLiteral("version 0.90"), page);
    QFont bold = font();
    bold.setBold(true);
    version->setFont(bold);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(Label(page, sjis::kAboutCopyright), 0, Qt::AlignHCenter);
    auto* pens = new QLabel(page);
    pens->setPixmap(AboutPens());
    layout->addWidget(pens, 0, Qt::AlignHCenter);
    auto* link = new QtHtLabel(QString::fromLatin1(sjis::kMakerSite), page);
    link->setObjectName(QStringLiteral("htLabel"));
    layout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addWidget(Label(page, sjis::kAboutMaker), 0, Qt::AlignHCenter);
}

}  // namespace tavo
