#include "forms/toolbar_images.h"

#include <array>

namespace tavo {

namespace {

using Art = std::array<const char*, kToolbarImageSize>;

// One character per pixel: '.' shows the toolbar through.
WinColor ColorOf(char c) {
    switch (c) {
        case 'k': return 0x000000;
        case 'w': return 0xFFFFFF;
        case 'g': return 0x808080;
        case 'l': return 0xC0C0C0;
        case 'b': return 0x800000;  // navy
        case 'r': return 0x0000FF;
        case 'y': return 0x00FFFF;
        case 'G': return 0x008000;
        default: return kImageTransparent;
    }
}

const std::array<Art, kToolbarImageCount> kArt = {{
    {  // 0: copy
        "................",
        ".kkkkkkkk.......",
        ".kwwwwwwk.......",
        ".kwggggwk.......",
        ".kwwwwwwk.......",
        ".kwgggkkkkkkkkk.",
        ".kwwwwkwwwwwwwk.",
        ".kwgggkwbbbbbwk.",
        ".kwwwwkwwwwwwwk.",
        ".kwwwwkwbbbbbwk.",
        ".kkkkkkwwwwwwwk.",
        "......kwbbbbbwk.",
        "......kwwwwwwwk.",
        "......kwwwwwwwk.",
        "......kkkkkkkkk.",
        "................",
    },
    {},  // 1: not used
    {  // 2: save
        "................",
        ".kkkkkkkkkkkkk..",
        ".kbbkwwwwkkkbbk.",
        ".kbbkwwwwkkkbbk.",
        ".kbbkwwwwkkkbbk.",
        ".kbbkwwwwkkkbbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbkkkkkkkkkkbk.",
        ".kbkllllllllkbk.",
        ".kbklgggggglkbk.",
        ".kbkllllllllkbk.",
        ".kbkllllllllkbk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    },
    {  // 3: range selection
        "................",
        ".r.r.r.r.r.rr...",
        "................",
        ".r..........r...",
        "................",
        ".r..........r...",
        "........k.......",
        ".r......kk..r...",
        "........kwk.....",
        ".r......kwwkr...",
        ".r.r.r.rkwwwk...",
        "........kwwwwk..",
        "........kwkkk...",
        "........kk.kk...",
        "........k...kk..",
        "................",
    },
    {},  // 4: not used
    {  // 5: close
        "................",
        "......kkkkkkkk..",
        "......klkkkkkk..",
        "......klkyyykk..",
        "....G.klkyyykk..",
        "...GG.klkyyykk..",
        "..GG..klkyyykk..",
        ".GGGGGGGkyyykk..",
        ".GGGGGGGkkyykk..",
        "..GG..klkyyykk..",
        "...GG.klkyyykk..",
        "....G.klkyyykk..",
        "......klkyyykk..",
        "......klkkkkkk..",
        "......kkkkkkkk..",
        "................",
    },
    {  // 6: help
        "....kkkkkkk.....",
        "..kkbbbbbbbkk...",
        ".kbbbbbbbbbbbk..",
        ".kbbbwwwwwbbbk..",
        "kbbbwwbbbwwbbbk.",
        "kbbbwwbbbwwbbbk.",
        "kbbbbbbbbwwbbbk.",
        "kbbbbbbbwwbbbbk.",
        "kbbbbbbwwbbbbbk.",
        "kbbbbbbwwbbbbbk.",
        "kbbbbbbbbbbbbbk.",
        ".kbbbbbwwbbbbk..",
        ".kbbbbbwwbbbbk..",
        "..kkbbbbbbbkk...",
        "....kkkkkkk.....",
        "................",
    },
    {  // 7: select all
        "r.r.r.r.r.r.r.rr",
        "................",
        "r..............r",
        "...rrrrrrrrrr...",
        "r..r...........r",
        "...r...r........",
        "r..r..r.r......r",
        "...r...r........",
        "r..r....rrrrr..r",
        "...r....r...r...",
        "r..r....r...r..r",
        "...r....r...r...",
        "r..rrrrrrrrrr..r",
        "................",
        "r..............r",
        "r.r.r.r.r.r.r.rr",
    },
}};

}  // namespace

Picture ToolbarImage(int index) {
    Picture p;
    p.Width = p.Height = kToolbarImageSize;
    p.Pixels.assign(std::size_t{kToolbarImageSize} * kToolbarImageSize, kImageTransparent);
    if (index < 0 || index >= kToolbarImageCount) return p;
    const Art& art = kArt[static_cast<std::size_t>(index)];
    for (std::size_t y = 0; y < art.size(); ++y) {
        if (!art[y]) continue;
        for (std::size_t x = 0; x < kToolbarImageSize && art[y][x]; ++x)
            p.Pixels[y * kToolbarImageSize + x] = ColorOf(art[y][x]);
    }
    return p;
}

}  // namespace tavo
