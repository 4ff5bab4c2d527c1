// The 48 cell pictures the battlefield view draws, one per slot: each a
// 5 x 5 picture in the colours of the standard 16-colour palette, built from
// a short description in words ("red, teal corners", "yellow centre on
// black", "silver and grey chequer").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevimar {

constexpr int CellPictureCount = 48;
constexpr int CellPictureSize = 5;  // pixels per side

struct CRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const CRgb&, const CRgb&) = default;
};

struct CCellPicture {
    int Slot = 0;
    int ResourceId = 0;
    std::string_view Description;
    CRgb Pixels[CellPictureSize][CellPictureSize] = {};  // [row][column], row 0 at the top

    int Width() const { return CellPictureSize; }
    int Height() const { return CellPictureSize; }
};

// Colour of a palette name: cyan, red, magenta, blue, yellow, teal, silver,
// grey, black, white.
std::optional<CRgb> PaletteColour(std::string_view name);

// The pixels a description stands for. The forms are "<c>", "<c>, <d>
// corners", "<c> centre on <d>", "<c> centre, <d> border", "<c> diagonal
// cross on <d>" and "<c> and <d> chequer" (c at the corners). Nothing when
// the words do not fit one of them.
std::optional<CCellPicture> BuildCellPicture(int slot, int resourceId, std::string_view description);

// The table of all 48 slots, built once.
const std::array<CCellPicture, CellPictureCount>& CellPictures();

}  // namespace brevimar
