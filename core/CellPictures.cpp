#include "core/CellPictures.h"

#include <string>

namespace brevimar {

namespace {

struct PictureSource {
    int ResourceId;
    std::string_view Description;
};

// By slot.
constexpr PictureSource Sources[CellPictureCount] = {
    {104, "cyan, white corners"},
    {183, "red, teal corners"},
    {102, "red, white corners"},
    {135, "red, black corners"},
    {185, "magenta, teal corners"},
    {138, "magenta, white corners"},
    {139, "magenta, black corners"},
    {182, "blue, teal corners"},
    {103, "blue, white corners"},
    {134, "blue, black corners"},
    {184, "cyan, teal corners"},
    {136, "cyan, white corners"},
    {137, "cyan, black corners"},
    {143, "silver"},
    {194, "teal"},
    {157, "black"},
    {192, "black"},
    {156, "white"},
    {158, "yellow centre on black"},
    {191, "yellow centre on black"},
    {159, "yellow centre on black"},
    {161, "cyan centre on black"},
    {189, "cyan centre on black"},
    {160, "cyan centre on black"},
    {171, "yellow centre on black"},
    {190, "yellow centre on black"},
    {172, "yellow centre on black"},
    {174, "cyan centre on black"},
    {188, "cyan centre on black"},
    {173, "cyan centre on black"},
    {187, "black diagonal cross on teal"},
    {162, "black diagonal cross on white"},
    {163, "white diagonal cross on black"},
    {165, "black centre, white border"},
    {186, "black centre, teal border"},
    {164, "white centre, black border"},
    {166, "black"},
    {167, "grey"},
    {168, "silver and grey chequer"},
    {169, "silver"},
    {170, "white"},
    {176, "red"},
    {175, "blue"},
    {177, "white and silver chequer"},
    {178, "silver"},
    {179, "silver and grey chequer"},
    {180, "grey"},
    {181, "black"},
};

// Splits on blanks, keeping a trailing comma as a word of its own.
int SplitWords(std::string_view text, std::string_view* words, int capacity)
{
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != ',')
            ++end;
        if (end > i) {
            if (count == capacity)
                return -1;
            words[count++] = text.substr(i, end - i);
        }
        if (end < text.size() && text[end] == ',') {
            if (count == capacity)
                return -1;
            words[count++] = text.substr(end, 1);
            ++end;
        }
        i = end;
    }
    return count;
}

bool IsCorner(int row, int column)
{
    const int last = CellPictureSize - 1;
    return (row == 0 || row == last) && (column == 0 || column == last);
}

bool IsCentre(int row, int column)
{
    const int last = CellPictureSize - 1;
    return row > 0 && row < last && column > 0 && column < last;
}

bool IsOnDiagonal(int row, int column) { return row == column || row + column == CellPictureSize - 1; }

template <typename Rule>
void Paint(CCellPicture& picture, CRgb ground, CRgb figure, Rule onFigure)
{
    for (int row = 0; row < CellPictureSize; ++row)
        for (int column = 0; column < CellPictureSize; ++column)
            picture.Pixels[row][column] = onFigure(row, column) ? figure : ground;
}

}  // namespace

std::optional<CRgb> PaletteColour(std::string_view name)
{
    struct Named {
        std::string_view Name;
        CRgb Colour;
    };
    static constexpr Named palette[] = {
        {"cyan", {0x00, 0xFF, 0xFF}},   {"red", {0xFF, 0x00, 0x00}},    {"magenta", {0xFF, 0x00, 0xFF}},
        {"blue", {0x00, 0x00, 0xFF}},   {"yellow", {0xFF, 0xFF, 0x00}}, {"teal", {0x00, 0x80, 0x80}},
        {"silver", {0xC0, 0xC0, 0xC0}}, {"grey", {0x80, 0x80, 0x80}},   {"black", {0x00, 0x00, 0x00}},
        {"white", {0xFF, 0xFF, 0xFF}},
    };
    for (const Named& entry : palette)
        if (entry.Name == name)
            return entry.Colour;
    return std::nullopt;
}

std::optional<CCellPicture> BuildCellPicture(int slot, int resourceId, std::string_view description)
{
    std::string_view w[8];
    const int n = SplitWords(description, w, 8);
    CCellPicture picture;
    picture.Slot = slot;
    picture.ResourceId = resourceId;
    picture.Description = description;
    if (n < 1)
        return std::nullopt;
    const std::optional<CRgb> first = PaletteColour(w[0]);
    if (!first)
        return std::nullopt;

    if (n == 1) {  // "c"
        Paint(picture, *first, *first, [](int, int) { return false; });
        return picture;
    }
    if (n == 4 && w[1] == "," && w[3] == "corners") {  // "c, d corners"
        const auto corners = PaletteColour(w[2]);
        if (!corners)
            return std::nullopt;
        Paint(picture, *first, *corners, IsCorner);
        return picture;
    }
    if (n == 4 && w[1] == "centre" && w[2] == "on") {  // "c centre on d"
        const auto ground = PaletteColour(w[3]);
        if (!ground)
            return std::nullopt;
        Paint(picture, *ground, *first, IsCentre);
        return picture;
    }
    if (n == 5 && w[1] == "centre" && w[2] == "," && w[4] == "border") {  // "c centre, d border"
        const auto border = PaletteColour(w[3]);
        if (!border)
            return std::nullopt;
        Paint(picture, *border, *first, IsCentre);
        return picture;
    }
    if (n == 5 && w[1] == "diagonal" && w[2] == "cross" && w[3] == "on") {  // "c diagonal cross on d"
        const auto ground = PaletteColour(w[4]);
        if (!ground)
            return std::nullopt;
        Paint(picture, *ground, *first, IsOnDiagonal);
        return picture;
    }
    if (n == 4 && w[1] == "and" && w[3] == "chequer") {  // "c and d chequer", c at the corners
        const auto second = PaletteColour(w[2]);
        if (!second)
            return std::nullopt;
        Paint(picture, *second, *first, [](int row, int column) { return (row + column) % 2 == 0; });
        return picture;
    }
    return std::nullopt;
}

const std::array<CCellPicture, CellPictureCount>& CellPictures()
{
    static const std::array<CCellPicture, CellPictureCount> table = [] {
        std::array<CCellPicture, CellPictureCount> pictures{};
        for (int slot = 0; slot < CellPictureCount; ++slot) {
            // Every description is one of the forms above; the table test
            // checks that each of them builds.
            if (auto picture = BuildCellPicture(slot, Sources[slot].ResourceId, Sources[slot].Description))
                pictures[slot] = *picture;
            else
                pictures[slot] = CCellPicture{slot, Sources[slot].ResourceId, Sources[slot].Description, {}};
        }
        return pictures;
    }();
    return table;
}

}  // namespace brevimar
