#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <random>

#include "app/LinePixels.h"

namespace brevimar::testing {
namespace {

// The picture the lines are set into, and a margin around it on the
// reference device so that Qt draws every line whole, unclipped.
constexpr int Width = 97, Height = 61, Margin = 64;

// A line as QPainter draws it on the window: a cosmetic one-pixel pen, no
// antialiasing; only the pixels inside the picture are compared.
QImage QtLine(int x0, int y0, int x1, int y1)
{
    QImage device(Width + 2 * Margin, Height + 2 * Margin, QImage::Format_RGB32);
    device.fill(Qt::white);
    QPainter on(&device);
    QPen pen(QColor(0, 0, 0));
    pen.setWidth(1);
    pen.setCosmetic(true);
    on.setPen(pen);
    on.setRenderHint(QPainter::Antialiasing, false);
    on.translate(Margin, Margin);
    on.drawLine(QLineF(x0, y0, x1, y1));
    on.end();
    return device.copy(Margin, Margin, Width, Height);
}

QImage OwnLine(int x0, int y0, int x1, int y1)
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ForEachLinePixel(x0, y0, x1, y1, Width, Height, [&](int x, int y) { picture.setPixel(x, y, qRgb(0, 0, 0)); });
    return picture;
}

// The same line from its runs along the rows.
QImage OwnRuns(int x0, int y0, int x1, int y1)
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ForEachLineRun(x0, y0, x1, y1, Width, Height, [&](int x, int y, int length) {
        EXPECT_GE(length, 1);
        for (int k = 0; k < length; ++k)
            picture.setPixel(x + k, y, qRgb(0, 0, 0));
    });
    return picture;
}

TEST(LinePixels, SetTheSamePixelsAsQtsLine)
{
    struct Line {
        int X0, Y0, X1, Y1;
    };
    // Points, both axes, both diagonals, shallow and steep slopes each way,
    // and lines leaving the picture on every side.
    std::vector<Line> lines = {
        {5, 5, 5, 5},    {0, 0, 96, 0},    {96, 60, 0, 60},  {3, 0, 3, 60},    {0, 0, 60, 60},
        {60, 0, 0, 60},  {2, 7, 90, 11},   {90, 11, 2, 7},   {7, 2, 11, 58},   {11, 58, 7, 2},
        {1, 40, 95, 39}, {-30, 20, 50, 70}, {10, -40, 80, 100}, {-50, -50, 150, 110}, {120, 5, -10, 44},
    };
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> x(-40, Width + 40), y(-40, Height + 40);
    for (int k = 0; k < 3000; ++k)
        lines.push_back({x(random), y(random), x(random), y(random)});
    int wrong = 0, wrongRuns = 0;
    for (const Line& l : lines) {
        const QImage qt = QtLine(l.X0, l.Y0, l.X1, l.Y1);
        if (OwnLine(l.X0, l.Y0, l.X1, l.Y1) != qt && ++wrong <= 5)
            ADD_FAILURE() << l.X0 << "," << l.Y0 << " -> " << l.X1 << "," << l.Y1;
        if (OwnRuns(l.X0, l.Y0, l.X1, l.Y1) != qt && ++wrongRuns <= 5)
            ADD_FAILURE() << "runs " << l.X0 << "," << l.Y0 << " -> " << l.X1 << "," << l.Y1;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(wrongRuns, 0);
}

TEST(LinePixels, FarEndsVisitOnlyThePicture)
{
    int visited = 0;
    ForEachLinePixel(-2000000000, 30, 2000000000, 31, Width, Height, [&](int x, int y) {
        EXPECT_TRUE(x >= 0 && x < Width && y >= 0 && y < Height);
        ++visited;
    });
    EXPECT_EQ(visited, Width);  // one pixel per column across the picture
    // Rows 30 and 31 share the line's 16.16 walk between them: two runs,
    // the whole width together.
    int runs = 0, covered = 0;
    ForEachLineRun(-2000000000, 30, 2000000000, 31, Width, Height, [&](int x, int y, int length) {
        EXPECT_TRUE(x >= 0 && x + length <= Width && (y == 30 || y == 31));
        ++runs;
        covered += length;
    });
    EXPECT_LE(runs, 2);
    EXPECT_EQ(covered, Width);
}

}  // namespace
}  // namespace brevimar::testing
