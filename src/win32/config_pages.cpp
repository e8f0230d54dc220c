// The pages of the settings dialog: their controls, in the designed order
// and groups, bound to the values of the form. Positions are the page's
// pixels; the page area is 351 x 336.
#include "win32/windows_api.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "forms/config_texts.h"
#include "forms/form_texts.h"
#include "win32/config_form.h"
#include "win32/dialogs.h"
#include "win32/ht_label.h"

namespace tavo::win32 {

namespace {

constexpr int kPageLeft = 121, kPageWidth = 351, kPageHeight = 336;
constexpr int kGroupLeft = 8, kGroupWidth = 335;
constexpr int kFactoryLeft = kGroupLeft + kGroupWidth - 75;

WinColor Rgb(int r, int g, int b) { return static_cast<WinColor>(r | (g << 8) | (b << 16)); }

// The about page's banner: a gradient under a light grid.
tavo::Picture AboutBanner() {
    tavo::Picture p{300, 60, {}};
    p.Pixels.reserve(std::size_t{300} * 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x) {
            const double t = (x / 300.0 + y / 60.0) / 2;
            int r = static_cast<int>(0x1F + t * (0x6F - 0x1F)), g = static_cast<int>(0x4E + t * (0xA8 - 0x4E)),
                b = static_cast<int>(0x8C + t * (0xDC - 0x8C));
            if (x % 12 == 0 || y % 12 == 0) {
                r += (255 - r) * 70 / 255;
                g += (255 - g) * 70 / 255;
                b += (255 - b) * 70 / 255;
            }
            p.Pixels.push_back(Rgb(r, g, b));
        }
    return p;
}

// Draws on a bitmap with GDI.
template <typename Draw>
void DrawOn(HBITMAP bitmap, Draw draw) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
}

}  // namespace

HWND Win32ConfigForm::Add(HWND parent, const wchar_t* className, const char* captionCp932, DWORD style, int id, int x,
                          int y, int w, int h, DWORD exStyle) {
    HWND control = MakeControl(parent, className, WideOfCp932(captionCp932).c_str(), style, id, x, y, w, h, font_, exStyle);
    if (id != -1) controls_[id] = control;
    return control;
}

HWND Win32ConfigForm::Label(HWND page, const char* captionCp932, int x, int y, int w) {
    return Add(page, L"STATIC", captionCp932, SS_LEFT | WS_GROUP, -1, x, y, w, 16);
}

HWND Win32ConfigForm::Group(HWND page, const char* captionCp932, int x, int y, int w, int h, int id) {
    return Add(page, L"BUTTON", captionCp932, BS_GROUPBOX | WS_GROUP, id, x, y, w, h);
}

HWND Win32ConfigForm::Button(HWND page, int id, const char* captionCp932, int x, int y, int w, int h) {
    return Add(page, L"BUTTON", captionCp932, BS_PUSHBUTTON | WS_TABSTOP, id, x, y, w, h);
}

HWND Win32ConfigForm::Radio(HWND page, int id, const char* captionCp932, int x, int y, int w, bool first) {
    return Add(page, L"BUTTON", captionCp932, BS_AUTORADIOBUTTON | WS_TABSTOP | (first ? WS_GROUP : 0), id, x, y, w, 18);
}

HWND Win32ConfigForm::Check(HWND page, int id, const char* captionCp932, int x, int y, int w) {
    return Add(page, L"BUTTON", captionCp932, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, id, x, y, w, 18);
}

// Sixteen entries "0".."F"; the index is the number.
HWND Win32ConfigForm::List(HWND page, int id, int x, int y, int w) {
    HWND list = Add(page, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, id, x, y, w, 240);
    return list;
}

HWND Win32ConfigForm::TextBox(HWND page, int id, std::string& value, bool fileName, int maxLength, int x, int y, int w,
                              bool small) {
    HWND box = Add(page, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | (small ? ES_CENTER : 0), id, x, y, w,
                   small ? 17 : 20, small ? 0 : WS_EX_CLIENTEDGE);
    if (maxLength > 0) SendMessageW(box, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    texts_.push_back({box, &value, fileName});
    return box;
}

HWND Win32ConfigForm::NumberBox(HWND page, int id, std::string& value, KeyFilter filter, int maxLength, int x, int y,
                                int w, bool small) {
    HWND box = TextBox(page, id, value, false, maxLength, x, y, w, small);
    FilterKeys(box, filter, moves_);
    return box;
}

HWND Win32ConfigForm::Picture(HWND page, HBITMAP bitmap, int x, int y, int w, int h, DWORD style) {
    bitmaps_.push_back(bitmap);
    HWND picture = Add(page, L"STATIC", "", SS_BITMAP | style, -1, x, y, w, h);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return picture;
}

void Win32ConfigForm::BuildPages() {
    const struct {
        ConfigPanel panel;
        void (Win32ConfigForm::*build)(HWND);
    } kPages[] = {{ConfigPanel::ExpTarget, &Win32ConfigForm::BuildTarget}, {ConfigPanel::ExpScale, &Win32ConfigForm::BuildScale},
                  {ConfigPanel::ExpLayer, &Win32ConfigForm::BuildLayers},  {ConfigPanel::LineColor, &Win32ConfigForm::BuildColors},
                  {ConfigPanel::LineType, &Win32ConfigForm::BuildTypes},   {ConfigPanel::Moji, &Win32ConfigForm::BuildMoji},
                  {ConfigPanel::Option, &Win32ConfigForm::BuildOption},    {ConfigPanel::DumpFile, &Win32ConfigForm::BuildDump},
                  {ConfigPanel::About, &Win32ConfigForm::BuildAbout}};
    for (const auto& p : kPages) {
        const int id = TAVO_ID_pnExpTarget + static_cast<int>(p.panel) - static_cast<int>(ConfigPanel::ExpTarget);
        HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, pageClass_.Name(), L"", WS_CHILD, kPageLeft,
                                    0, kPageWidth, kPageHeight, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    OwnModule(), this);
        if (!page) FailMakingDialog();
        controls_[id] = page;
        panels_[static_cast<std::size_t>(p.panel)] = page;
        (this->*p.build)(page);
    }
}

void Win32ConfigForm::BuildButtons() {
    Add(window_, L"STATIC", "", SS_ETCHEDHORZ, -1, kPageLeft, kPageHeight, kPageWidth, 2);
    const struct {
        int id;
        const char* caption;
    } kButtons[] = {{TAVO_ID_bnHelp, sjis::kHelpCaption},
                    {TAVO_ID_bnOk, sjis::kOkCaption},
                    {TAVO_ID_bnCancel, sjis::kCancelCaption},
                    {TAVO_ID_bnRenewal, sjis::kRenewalCaption}};
    int left = kPageLeft + kPageWidth - 4 * 82 - 6;
    for (const auto& b : kButtons) {
        Button(window_, b.id, b.caption, left, kPageHeight + 7);
        left += 82;
    }
}

void Win32ConfigForm::BuildTarget(HWND page) {
    Group(page, sjis::kTargetGroup, kGroupLeft, 4, kGroupWidth, 96);
    const char* const kTargets[4] = {sjis::kToPreview, sjis::kToClipboard, sjis::kToJwc, sjis::kToJww};
    for (int t = 0; t < 4; ++t) Radio(page, TAVO_ID_rbToPreview + t, kTargets[t], 20, 22 + 18 * t, 310, t == 0);

    extraGroup_.push_back(Group(page, sjis::kExtraGroup, kGroupLeft, 106, kGroupWidth, 98, TAVO_ID_gbJwcData));
    const struct {
        const char* caption;
        int id;
        std::string* value;
        bool fileName;
        int maxLength;
    } kBoxes[] = {{sjis::kComment1, TAVO_ID_edCom1, &form_.edCom1, false, 32},
                  {sjis::kComment2, TAVO_ID_edCom2, &form_.edCom2, false, 32},
                  {sjis::kFileNameLabel, TAVO_ID_edFName, &form_.edFName, true, 0}};
    for (int i = 0; i < 3; ++i) {
        const auto& b = kBoxes[i];
        const int y = 124 + 24 * i;
        extraGroup_.push_back(Label(page, b.caption, 20, y + 3, 80));
        extraGroup_.push_back(TextBox(page, b.id, *b.value, b.fileName, b.maxLength, 100, y, i == 2 ? 170 : 232));
    }
    extraGroup_.push_back(Button(page, TAVO_ID_bnSaveAs, sjis::kBrowse, 276, 171, 56, 22));

    Group(page, sjis::kPlacementGroup, kGroupLeft, 210, kGroupWidth, 44, TAVO_ID_gbPlace);
    const char* const kPlaces[3] = {sjis::kPlaceCentre, sjis::kPlaceTopLeft, sjis::kPlaceBottomLeft};
    for (int i = 0; i < 3; ++i) Radio(page, TAVO_ID_rbCenter + i, kPlaces[i], 20 + 106 * i, 229, 102, i == 0);
}

void Win32ConfigForm::BuildScale(HWND page) {
    Group(page, sjis::kPaperGroup, kGroupLeft, 4, kGroupWidth, 76);
    Label(page, sjis::kPaperSize, 20, 26, 96);
    HWND draft = Add(page, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, TAVO_ID_cbDraft, 120,
                     22, 70, 160);
    for (const wchar_t* size : {L"A0", L"A1", L"A2", L"A3", L"A4"})
        SendMessageW(draft, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    Label(page, sjis::kDimScale, 20, 53, 96);
    NumberBox(page, TAVO_ID_edDimen, form_.edDimen, KeyFilter::Decimal, 5, 120, 50, 70);

    Group(page, sjis::kScaleGroup, kGroupLeft, 88, kGroupWidth, 160);
    Radio(page, TAVO_ID_rbSameScale, sjis::kSameScale, 20, 106, 300, true);
    controls_[TAVO_ID_lbScale] = Label(page, sjis::kScaleLabel, 40, 132, 56);
    NumberBox(page, TAVO_ID_edScale, form_.edScale, KeyFilter::Digits, 4, 100, 129, 60);
    Radio(page, TAVO_ID_rbEachScale, sjis::kEachScale, 20, 156, 300, true);
    groupScale_ = std::make_unique<ConfigGrid>(
        page, ConfigGrid::Shape{TAVO_ID_sgGroupScale, TAVO_ID_GROUP_SCALE_CELLS, kGroupScaleCols, kGroupScaleRows, 36, 44, 19, true},
        20, 176, 311, font_);
    controls_[TAVO_ID_sgGroupScale] = groupScale_->Handle();
    for (int r = 0; r < kGroupScaleRows; ++r)
        for (int c = 0; c < kGroupScaleCols; ++c)
            texts_.push_back({groupScale_->Cell(c, r), &form_.sgGroupScale[std::size_t(r)][std::size_t(c)], false});
}

void Win32ConfigForm::BuildLayers(HWND page) {
    const int kIds[6] = {TAVO_ID_cbRGrp, TAVO_ID_cbRLay, TAVO_ID_cbMGrp, TAVO_ID_cbMLay, TAVO_ID_cbSGrp, TAVO_ID_cbSLay};
    const char* const kGroups[3] = {sjis::kRuledGroup, sjis::kMojiGroup, sjis::kSymbolGroup};
    for (int g = 0; g < 3; ++g) {
        const int top = 4 + 60 * g;
        Group(page, kGroups[g], kGroupLeft, top, kGroupWidth, 52);
        for (int k = 0; k < 2; ++k) {
            const int left = 20 + 120 * k, labelWidth = k == 0 ? 72 : 58;
            Label(page, k == 0 ? sjis::kGroupLabel : sjis::kLayerLabel, left, top + 24, labelWidth);
            HWND list = List(page, kIds[2 * g + k], left + labelWidth, top + 20, 40);
            for (const char* digit : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOfCp932(digit).c_str()));
        }
        if (g != 1) {
            Label(page, sjis::kPenLabel, 248, top + 24, 48);
            NumberBox(page, g == 0 ? TAVO_ID_edRCol : TAVO_ID_edSPenNo, g == 0 ? form_.edRCol : form_.edSPenNo,
                      KeyFilter::Pen, 1, 298, top + 21, 28);
        }
    }
}

void Win32ConfigForm::BuildColors(HWND page) {
    HWND group = Group(page, sjis::kColorGroup, kGroupLeft, 4, kGroupWidth, 232);
    for (int i = 0; i < kSwatchCount; ++i) {
        const ColorSwatch& s = kColorSwatches[std::size_t(i)];
        const int x = 21 + 39 * (i % 8), y = 22 + 37 * (i / 8);
        tavo::Picture fill{34, 32, std::vector<WinColor>(std::size_t{34} * 32, SwatchColor(s.PaletteIndex))};
        // The panel under its box, below every control of the page (it is
        // no tab stop) and painting around the box.
        HWND panel = Picture(page, BitmapOf(fill), x, y, 36, 34, SS_SUNKEN | WS_CLIPSIBLINGS);
        SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        NumberBox(page, TAVO_ID_EDIT_1 + i, form_.ColorBoxes[std::size_t(i)], KeyFilter::Pen, 1, x + 9, y + 15, 18, true);
    }
    // Under the panels, which it would paint over.
    SetWindowPos(group, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Label(page, sjis::kColorNote, 21, 212, 300);
    Button(page, TAVO_ID_bnIniColor, sjis::kFactoryValues, kFactoryLeft, 244);
}

void Win32ConfigForm::BuildTypes(HWND page) {
    Group(page, sjis::kTypeGroup, kGroupLeft, 4, kGroupWidth, 186);
    for (int s = 1; s <= 13; ++s) {
        const int x = s <= 6 ? 20 : 180, y = 22 + 20 * (s <= 6 ? s - 1 : s - 7);
        Picture(page, BitmapOf(BorderStyleSample(s)), x, y + 2, kBorderSampleWidth + 2, kBorderSampleHeight + 2,
                WS_BORDER);
        NumberBox(page, TAVO_ID_EDT_T_1 + s - 1, form_.TypeBoxes[std::size_t(s - 1)], KeyFilter::LineType, 1, x + 58, y,
                  24);
    }
    Label(page, sjis::kTypeNote, 20, 168, 300);
    Label(page, sjis::kDoublePitch, 16, 204, 120);
    NumberBox(page, TAVO_ID_edDouble, form_.edDouble, KeyFilter::Decimal, 0, 136, 201, 60);
    Label(page, sjis::kMillimetres, 202, 204, 40);
    Button(page, TAVO_ID_bnIniType, sjis::kFactoryValues, kFactoryLeft, 236);
}

void Win32ConfigForm::BuildMoji(HWND page) {
    Group(page, sjis::kMojiTableGroup, kGroupLeft, 4, kGroupWidth, 264);
    Label(page, sjis::kMojiUnit, 20, 22, 200);
    mojiTable_ = std::make_unique<ConfigGrid>(
        page, ConfigGrid::Shape{TAVO_ID_sgTable, TAVO_ID_MOJI_CELLS, kMojiCols, kMojiRows, 60, 60, 19, false}, 20, 40, 0,
        font_);
    controls_[TAVO_ID_sgTable] = mojiTable_->Handle();
    for (int r = 0; r < kMojiRows; ++r)
        for (int c = 0; c < kMojiCols; ++c)
            texts_.push_back({mojiTable_->Cell(c, r), &form_.sgTable[std::size_t(r)][std::size_t(c)], false});
    Button(page, TAVO_ID_bnMojiIni, sjis::kFactoryValues, kFactoryLeft, 276);
}

void Win32ConfigForm::BuildOption(HWND page) {
    Group(page, sjis::kOptionGroup, kGroupLeft, 4, kGroupWidth, 96);
    Check(page, TAVO_ID_cbCaret, sjis::kExchangeCaret, 20, 24, 316);
    Check(page, TAVO_ID_cbSolid, sjis::kExchangeSolid, 20, 48, 316);
    Label(page, sjis::kOptionNote, 20, 76, 316);
}

void Win32ConfigForm::BuildDump(HWND page) {
    Group(page, sjis::kDumpFileGroup, kGroupLeft, 4, kGroupWidth, 58);
    Label(page, sjis::kFileNameLabel, 20, 31, 80);
    TextBox(page, TAVO_ID_edDumpName, form_.edDumpName, true, 0, 100, 28, 170);
    Button(page, TAVO_ID_bnDumpFile, sjis::kBrowse, 276, 27, 56, 22);
    Group(page, sjis::kDumpDataGroup, kGroupLeft, 70, kGroupWidth, 108);
    const char* const kBoxes[4] = {sjis::kDumpLine, sjis::kDumpCircle, sjis::kDumpString, sjis::kDumpDot};
    for (int i = 0; i < 4; ++i) Check(page, TAVO_ID_cbLine + i, kBoxes[i], 20, 90 + 22 * i, 200);
}

void Win32ConfigForm::BuildAbout(HWND page) {
    HBITMAP banner = BitmapOf(AboutBanner());
    HFONT big = MakeFormFont(sjis::kFormFontName, 34, true);
    DrawOn(banner, [big](HDC dc) {
        HGDIOBJ old = SelectObject(dc, big);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT r{14, 0, 300, 60};
        DrawTextW(dc, L"Tavo", -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
    });
    DeleteObject(big);
    Picture(page, banner, (kPageWidth - 300) / 2, 16, 300, 60);
    const auto centred = [&](const char* text, int y, HFONT font) {
        HWND line = Add(page, L"STATIC", text, SS_CENTER | SS_NOPREFIX, -1, 0, y, kPageWidth, 16);
        SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    centred(sjis::kAboutTitle, 88, font_);
    centred("version 0.90", 110, boldFont_);
    centred(sjis::kAboutCopyright, 132, font_);
    tavo::Picture white{138, 26, std::vector<WinColor>(std::size_t{138} * 26, Rgb(255, 255, 255))};
    HBITMAP pens = BitmapOf(white);
    DrawOn(pens, [](HDC dc) {
        const COLORREF colours[6] = {RGB(0, 0, 0),     RGB(255, 0, 0),   RGB(0, 128, 0),
                                     RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 160, 160)};
        for (int i = 0; i < 6; ++i) {
            HPEN pen = CreatePen(PS_SOLID, 3, colours[i]);
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, 6 + i * 22, 20, nullptr);
            LineTo(dc, 22 + i * 22, 6);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    });
    Picture(page, pens, (kPageWidth - 138) / 2, 156, 138, 26);
    link_ = std::make_unique<HtLabel>(page, TAVO_ID_htLabel, sjis::kMakerSite, 0, 192, font_);
    RECT r{};
    GetWindowRect(link_->Handle(), &r);
    SetWindowPos(link_->Handle(), nullptr, (kPageWidth - (r.right - r.left)) / 2, 192, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls_[TAVO_ID_htLabel] = link_->Handle();
    centred(sjis::kAboutMaker, 216, font_);
}

}  // namespace tavo::win32
