#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPointer>

#include <cmath>

#include "app/AppFixture.h"
#include "charts/LandscapeGraph.h"
#include "dialogs/LandscapeDialogs.h"
#include "experiments/LandscapeSetup.h"

namespace brevimar::testing {
namespace {

using namespace chart;

// The known surface: x = kind 4 ("ALIVE RF") over 1..3, y = kind 14
// ("w1 ALIVE") over 0..0.5, both in 2 intervals, so 3 sets of 3 points.
// Only objective 2 is in use, weight 1, and its mean at x value i, y value j
// is f = 0.1 (i - 1) + 0.3 (j - 1): 0 .. 0.8, the value axis of the surface.
class LandscapeGraph : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        CLandscapeSettings& s = doc.Landscape.Settings;
        SetLandscapeModeDefaults(doc);
        s.LandscapeXParameter = 4, s.LandscapeXMin = 1, s.LandscapeXMax = 3, s.LandscapeXSamples = 2;
        s.LandscapeYParameter = 14, s.LandscapeYMin = 0, s.LandscapeYMax = 0.5, s.LandscapeYSamples = 2;
        DeriveLandscapeGrid(doc);
        for (int k = 1; k <= 12; ++k)
            s.LandscapeObjectiveUsed[k] = 0;
        s.LandscapeObjectiveUsed[2] = 1;
        s.LandscapeObjectiveWeight[2] = 1.0;
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j)
                doc.Landscape.Results().LandscapeMeasureMean[2][i][j] = 0.1 * (i - 1) + 0.3 * (j - 1);
    }
};

// The engine's documented projection, worked out here on its own: the unit
// cube point (u, v, w) turned by Rotation r, tipped by Elevation e, seen with
// Perspective p, and the eight cube corners fitted centred into the plot.
QPointF Project(double u, double v, double w, double rDeg, double eDeg, double p, const QRectF& plot)
{
    const double pi = std::acos(-1.0), r = rDeg * pi / 180, e = eDeg * pi / 180;
    const double eye = p >= 1 && p < 100 ? 1 + p / 10 : 0;
    auto raw = [&](double a, double b, double c) {
        const double X = a - 0.5, Y = b - 0.5, Z = c - 0.5;
        const double xr = X * std::cos(r) + Z * std::sin(r), zr = Z * std::cos(r) - X * std::sin(r);
        double sx = xr, sy = Y * std::cos(e) + zr * std::sin(e);
        const double d = Y * std::sin(e) - zr * std::cos(e);
        if (eye > 0)
            sx *= eye / (eye - d), sy *= eye / (eye - d);
        return QPointF(sx, sy);
    };
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (int c = 0; c < 8; ++c) {
        const QPointF q = raw(c & 1, (c >> 1) & 1, (c >> 2) & 1);
        x0 = std::min(x0, q.x()), x1 = std::max(x1, q.x()), y0 = std::min(y0, q.y()), y1 = std::max(y1, q.y());
    }
    const double scale = std::min(plot.width() / (x1 - x0), plot.height() / (y1 - y0));
    const QPointF q = raw(u, v, w);
    return {plot.center().x() + (q.x() - (x0 + x1) / 2) * scale, plot.center().y() - (q.y() - (y0 + y1) / 2) * scale};
}

// Whether a pixel within one of `at` has the fill or the edge colour of a
// surface cell of height t.
bool CellColourNear(const QImage& image, QPointF at, int palette, double t)
{
    const QRgb fill = SurfaceColor(palette, t).rgb(), edge = SurfaceColor(palette, t).darker(130).rgb();
    const int cx = static_cast<int>(std::lround(at.x())), cy = static_cast<int>(std::lround(at.y()));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QRgb c = image.pixel(cx + dx, cy + dy);
            if (c == fill || c == edge)
                return true;
        }
    return false;
}

TEST_F(LandscapeGraph, SurfaceAndTopViewsPutTheGridCornersWhereTheProjectionSays)
{
    // A corner of the grid: its set (x value) and point (y value), its height
    // in the unit cube, and the mean height of the one cell it belongs to.
    struct Corner {
        int Set, Point;
        double Height, Cell;
    };
    struct Case {
        int Graph, Color;
        double Threshold;
        double Rotation, Elevation, Perspective;
        int Palette;
        Corner Corners[4];
    };
    // Surface and density: heights f / 0.8; the corner cells' vertices have
    // f = {0, .3, .4, .1}, {.3, .6, .7, .4}, {.1, .4, .5, .2}, {.4, .7, .8, .5}.
    // Win at 0.5: f >= 0.5 draws 1 (0.5 itself wins), so the cells are
    // {0,0,0,0}, {0,1,1,0}, {0,0,1,0}, {0,1,1,1} on a 0..1 axis.
    const Case cases[] = {
        {1, 1, 0.5, 40, 25, 15, 6, {{0, 0, 0, 0.25}, {0, 2, 0.75, 0.625}, {2, 0, 0.25, 0.375}, {2, 2, 1, 0.75}}},
        {2, 2, 0.5, 0, 90, 100, 3, {{0, 0, 0, 0.25}, {0, 2, 0.75, 0.625}, {2, 0, 0.25, 0.375}, {2, 2, 1, 0.75}}},
        {3, 1, 0.5, 0, 90, 100, 0, {{0, 0, 0, 0}, {0, 2, 1, 0.5}, {2, 0, 0, 0.25}, {2, 2, 1, 0.75}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Graph);
        CLandscapeSettings& s = Doc().Landscape.Settings;
        s.LandscapeGraphKind = c.Graph;
        s.LandscapeColorMode = c.Color;
        Doc().Experiment.LandscapeWinThreshold = c.Threshold;
        QPointer<CLandscapeGraphDlg> w = new CLandscapeGraphDlg(View(), Doc());
        ChartLayout layout;
        const QImage image = RenderChartImage(w->Graph.GraphHandle, QSize(640, 480), &layout);
        ASSERT_TRUE(layout.Drawn);
        EXPECT_EQ(layout.Kind, 20);
        for (const Corner& k : c.Corners) {
            SCOPED_TRACE(k.Set * 10 + k.Point);
            const QPointF at =
                Project(k.Point / 2.0, k.Height, k.Set / 2.0, c.Rotation, c.Elevation, c.Perspective, layout.PlotRect);
            EXPECT_TRUE(CellColourNear(image, at, c.Palette, k.Cell)) << at.x() << "," << at.y();
            // Well outside the corner (away from the plot's centre) the
            // surface has ended.
            const QPointF away = at - layout.PlotRect.center();
            const QPointF out = at + away * (12 / std::hypot(away.x(), away.y()));
            EXPECT_FALSE(CellColourNear(image, out, c.Palette, k.Cell));
        }
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }
}

TEST_F(LandscapeGraph, TitleAxisNamesAndValueLabelsAreDrawn)
{
    struct Case {
        int Plot;
        int Used[3];  // objectives in use
        const char* Title;
    };
    const Case cases[] = {
        {1, {2, 0, 0}, "Minimize Number of Red Losses (f/ave)"},
        {2, {2, 0, 0}, "Minimize Number of Red Losses (f/var)"},
        {1, {2, 7, 0}, "Mission-Fitness Landscape (Average)"},
        {2, {0, 0, 0}, "Mission-Fitness Landscape (Variability)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        CLandscapeSettings& s = Doc().Landscape.Settings;
        for (int k = 1; k <= 12; ++k)
            s.LandscapeObjectiveUsed[k] = 0;
        for (int k : c.Used)
            if (k > 0)
                s.LandscapeObjectiveUsed[k] = 1;
        s.LandscapePlotKind = c.Plot;
        CLandscapeGraphDlg* w = new CLandscapeGraphDlg(View(), Doc());
        EXPECT_EQ(w->windowTitle().toStdString(), "3D Graph::Two-Parameter Fitness Landscape");
        ChartLayout layout;
        RenderChartImage(w->Graph.GraphHandle, QSize(640, 480), &layout);
        const std::pair<TextRole, const char*> texts[] = {
            {TextRole::Title, c.Title},         {TextRole::RightTitle, "ALIVE RF"},
            {TextRole::BottomTitle, "w1 ALIVE"}, {TextRole::TickLabel, "3"},
            {TextRole::TickLabel, "  0.000"},
            {TextRole::TickLabel, "  0.250"},    {TextRole::TickLabel, "  0.500"},
        };
        // Where the x and depth axes meet, one of their two labels gives way.
        EXPECT_TRUE(layout.FindText("1") || layout.FindText("2")) << c.Title;
        for (const auto& [role, text] : texts) {
            const ChartText* found = layout.FindText(text);
            ASSERT_NE(found, nullptr) << text;
            EXPECT_EQ(found->Role, role) << text;
        }
        w->close();
    }
}

TEST_F(LandscapeGraph, CommandOpensTheChartAfterTheObjectiveAndTheRawDataQuestion)
{
    CBrevimarDoc& doc = Doc();
    doc.RunMode = FitnessLandscapeMode;
    // Before the sweep has run its 9 points: one box, and neither the
    // objective nor a chart.
    Hooks.Reset();
    Hooks.AnswerDialog(IDOK, {{CLandscapeObjectiveDlg::IDC_WIN, "1"}});
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_LANDSCAPE_3D_GRAPH));
    ASSERT_EQ(Hooks.Log().size(), 1u);
    EXPECT_EQ(Hooks.Log()[0].Kind, ModalKind::MessageBox);
    EXPECT_EQ(Hooks.Log()[0].Text, "The fitness landscape has not started: none of its 9 points has run. Its chart "
                                   "and raw fitness file are made once it ends.");
    EXPECT_TRUE(View()->LastChartWindow.isNull());
    Hooks.Reset();

    doc.Experiment.LandscapeGridPoint = 9;  // the sweep has ended
    Hooks.AnswerDialog(IDOK, {{CLandscapeObjectiveDlg::IDC_WIN, "1"}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_LANDSCAPE_3D_GRAPH));
    QPointer<QWidget> first = View()->LastChartWindow;
    auto* w = dynamic_cast<CLandscapeGraphDlg*>(first.data());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->pos(), View()->mapToGlobal(QPoint(0, 0)) + QPoint(100, 100));
    EXPECT_EQ(GetProperty(w->Graph.GraphHandle, Prop::Palette).ToInt(), 0);  // the win map

    // A second one stands beside the first; closing it frees it alone.
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_LANDSCAPE_3D_GRAPH));
    QPointer<QWidget> second = View()->LastChartWindow;
    ASSERT_NE(second.data(), first.data());
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(View()->LastChartWindow.isNull());
    EXPECT_FALSE(first.isNull());
}

}  // namespace
}  // namespace brevimar::testing
