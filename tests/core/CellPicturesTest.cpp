#include <gtest/gtest.h>

#include <set>

#include "core/CellPictures.h"

namespace brevimar {
namespace {

constexpr CRgb Red{0xFF, 0x00, 0x00};
constexpr CRgb Teal{0x00, 0x80, 0x80};
constexpr CRgb Yellow{0xFF, 0xFF, 0x00};
constexpr CRgb Black{0, 0, 0};
constexpr CRgb White{0xFF, 0xFF, 0xFF};
constexpr CRgb Silver{0xC0, 0xC0, 0xC0};
constexpr CRgb Grey{0x80, 0x80, 0x80};
constexpr CRgb Cyan{0x00, 0xFF, 0xFF};

int Count(const CCellPicture& p, CRgb colour)
{
    int n = 0;
    for (const auto& row : p.Pixels)
        for (CRgb c : row)
            n += c == colour;
    return n;
}

TEST(CellPictures, EverySlotBuildsFromItsWords)
{
    const auto& table = CellPictures();
    std::set<int> ids;
    for (int slot = 0; slot < CellPictureCount; ++slot) {
        const CCellPicture& p = table[slot];
        EXPECT_EQ(p.Slot, slot);
        EXPECT_TRUE(BuildCellPicture(slot, p.ResourceId, p.Description).has_value()) << p.Description;
        EXPECT_EQ(p.Width(), 5);
        EXPECT_EQ(p.Height(), 5);
        ids.insert(p.ResourceId);
    }
    EXPECT_EQ(ids.size(), 48u);  // every resource once
    EXPECT_EQ(table[0].ResourceId, 104);
    EXPECT_EQ(table[1].ResourceId, 183);
    EXPECT_EQ(table[30].ResourceId, 187);
    EXPECT_EQ(table[47].ResourceId, 181);
}

TEST(CellPictures, PixelsFollowTheDescription)
{
    const auto& table = CellPictures();
    // Agents: the four corners carry the ground.
    const CCellPicture& redOnTeal = table[1];
    EXPECT_EQ(redOnTeal.Pixels[0][0], Teal);
    EXPECT_EQ(redOnTeal.Pixels[4][4], Teal);
    EXPECT_EQ(redOnTeal.Pixels[0][1], Red);
    EXPECT_EQ(Count(redOnTeal, Teal), 4);
    EXPECT_EQ(Count(redOnTeal, Red), 21);
    EXPECT_EQ(Count(table[12], Cyan), 21);
    EXPECT_EQ(Count(table[12], Black), 4);

    // Highlights: a 3 x 3 centre in a frame of 16.
    const CCellPicture& highlight = table[18];
    EXPECT_EQ(Count(highlight, Yellow), 9);
    EXPECT_EQ(Count(highlight, Black), 16);
    EXPECT_EQ(highlight.Pixels[1][1], Yellow);
    EXPECT_EQ(highlight.Pixels[2][4], Black);
    EXPECT_EQ(Count(table[34], Black), 9);
    EXPECT_EQ(Count(table[34], Teal), 16);

    // Deaths: both diagonals, nine pixels.
    const CCellPicture& cross = table[30];
    EXPECT_EQ(Count(cross, Black), 9);
    EXPECT_EQ(Count(cross, Teal), 16);
    EXPECT_EQ(cross.Pixels[2][2], Black);
    EXPECT_EQ(cross.Pixels[0][4], Black);
    EXPECT_EQ(cross.Pixels[0][2], Teal);
    EXPECT_EQ(Count(table[32], White), 9);

    // Chequers: the first colour at the corners.
    const CCellPicture& chequer = table[38];
    EXPECT_EQ(chequer.Pixels[0][0], Silver);
    EXPECT_EQ(chequer.Pixels[0][1], Grey);
    EXPECT_EQ(chequer.Pixels[4][4], Silver);
    EXPECT_EQ(Count(chequer, Silver), 13);
    EXPECT_EQ(table[43].Pixels[0][0], White);
    EXPECT_EQ(table[43].Pixels[1][0], Silver);

    EXPECT_EQ(Count(table[14], Teal), 25);
    EXPECT_EQ(Count(table[41], Red), 25);
}

TEST(CellPictures, UnknownWordsAreRejected)
{
    EXPECT_FALSE(BuildCellPicture(0, 1, "mauve").has_value());
    EXPECT_FALSE(BuildCellPicture(0, 1, "red, teal stripes").has_value());
    EXPECT_FALSE(BuildCellPicture(0, 1, "red centre on").has_value());
    EXPECT_FALSE(BuildCellPicture(0, 1, "").has_value());
    EXPECT_FALSE(PaletteColour("Red").has_value());
    EXPECT_EQ(*PaletteColour("silver"), Silver);
}

}  // namespace
}  // namespace brevimar
