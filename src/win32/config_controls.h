#pragma once

#include <functional>
#include <vector>

#include "forms/config_design.h"
#include "win32/windows_api.h"

namespace tavo::win32 {

// The settings dialog could not make a window: the system's reason.
[[noreturn]] void FailMakingDialog();
// A visible child control of the settings dialog in `font`; its identifier
// -1 for labels and frames. Throws tavo::Error when it cannot be made.
HWND MakeControl(HWND parent, const wchar_t* className, const wchar_t* caption, DWORD style, int id, int x, int y,
                 int w, int h, HFONT font, DWORD exStyle = 0);

// What a filtered box asks of its dialog when Enter moves on.
struct BoxMoves {
    std::function<void(HWND box)> NextControl;
    std::function<void(HWND box)> NextCell;
};

// A box whose typed characters pass the key filter first (Enter included,
// which the dialog's key handling would otherwise take), with the input
// method off. `moves` outlives the box.
void FilterKeys(HWND box, KeyFilter filter, const BoxMoves& moves);

// A grid of cells whose first row and column are fixed labels and whose
// other cells are edit boxes (control id TAVO_ID_GRID_CELL(cellBase, col,
// row)); with a horizontal scroll bar when it is wider than its place.
// The boxes' notices go to the grid's parent, as a control's would.
class ConfigGrid {
public:
    struct Shape {
        int Id, CellBase, Cols, Rows, ColWidth, FirstColWidth, RowHeight;
        bool Scrolls;
    };
    ConfigGrid(HWND parent, const Shape& shape, int x, int y, int width, HFONT font);
    ~ConfigGrid();
    ConfigGrid(const ConfigGrid&) = delete;
    ConfigGrid& operator=(const ConfigGrid&) = delete;

    HWND Handle() const { return window_; }
    // The label of a fixed cell or the box of an editable one.
    HWND Cell(int col, int row) const { return cells_.at(static_cast<std::size_t>(row) * std::size_t(shape_.Cols) + std::size_t(col)); }
    // Enter in `box`: the next cell, shown and its text selected.
    void MoveOn(HWND box);
    void Enable(bool enabled);
    // Scrolls until the cell of `box` can be seen.
    void Reveal(HWND box);

    // The grids' window class procedure.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static constexpr const wchar_t* kClassName = L"TavoConfigGrid";

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    int ColLeft(int col) const;
    void ScrollTo(int offset);

    Shape shape_;
    HWND window_ = nullptr;
    std::vector<HWND> cells_;
    BoxMoves moves_;
    int offset_ = 0, contentWidth_ = 0, viewWidth_ = 0;
};

}  // namespace tavo::win32
