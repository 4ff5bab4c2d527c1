#include "charts/WeaponGraphs.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/Document.h"

namespace brevimar {

namespace {

using T = CWeaponShotsHitsGraphTypeDlg;
using O = CWeaponShotsHitsGraphOptionsDlg;

constexpr int AllSquads = 11;
constexpr int Weapons = 6;
constexpr int AllSet = -1;  // the weapon set that sums all six weapons
constexpr int Shots = 0, Hits = 1, Ratio = 2;

const DialogTemplate& TypeTemplate()
{
    static const DialogTemplate table{
        T::IDD,
        "2D Graph::Weapon Shots/Hits",
        {
            {DlgItem::Group, IDC_STATIC, "Specify Graph Type"},
            {DlgItem::Radio, T::IDC_SNAPSHOTS, "\"Snapshots\" at times t1, t2, ..."},
            {DlgItem::Radio, T::IDC_TOTAL, "Total at time T (t1+t2+...+ tn)"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{O::IDD, "2D Graph::Weapon Shots/Hits", {}};
        auto& items = t.Items;
        items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Individual Plots");
        items.emplace_back(DlgItem::EndGroup);
        for (const auto& [title, first] : {std::pair{"Red Squad", O::IDC_RED_SQUAD_1}, {"Blue Squad", O::IDC_BLUE_SQUAD_1}}) {
            items.emplace_back(DlgItem::Group, IDC_STATIC, title);
            items.emplace_back(DlgItem::Radio, first + 10, "All");
            for (int k = 1; k <= 10; ++k)
                items.emplace_back(DlgItem::Radio, first + k - 1, std::to_string(k));
        }
        items.emplace_back(DlgItem::Group, IDC_STATIC, "Sums");
        items.emplace_back(DlgItem::Radio, O::IDC_SUM_TOTAL, "Total");
        items.emplace_back(DlgItem::Radio, O::IDC_SUM_PER_AGENT, "Per Agent");
        items.emplace_back(DlgItem::CheckBox, O::IDC_SHOW_RED, "Red");
        items.emplace_back(DlgItem::CheckBox, O::IDC_SHOW_BLUE, "Blue");
        items.emplace_back(DlgItem::Group, IDC_STATIC, "", 7);
        for (const char* caption : {"Weapon", "Shots", "Hits", "H/S", "Shots", "Hits", "H/S"})
            items.emplace_back(DlgItem::Label, IDC_STATIC, caption);
        const char* rows[] = {"ALL",
                              "Grenade",
                              "Point-to-Point #1",
                              "Point-to-Point #2",
                              "Point-to-Point #3",
                              "Point-to-Point #4",
                              "Point-to-Point #5"};
        for (int row = 0; row < 7; ++row) {
            items.emplace_back(DlgItem::Label, IDC_STATIC, rows[row]);
            for (int side = 0; side < 2; ++side)
                for (int kind = 0; kind < 3; ++kind)
                    items.emplace_back(DlgItem::CheckBox, O::GridId(side, row, kind));
        }
        items.emplace_back(DlgItem::EndGroup);
        return t;
    }();
    return table;
}

int Toggled(int flag)
{
    return flag == 1 ? 0 : 1;
}

}  // namespace

CWeaponShotsHitsGraphTypeDlg::CWeaponShotsHitsGraphTypeDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CChartOptionsDlg(TypeTemplate(), parent), WeaponGraphType(doc.Charts.WeaponGraphType)
{
    for (int type : {1, 2})
        OnButton(type == 1 ? IDC_SNAPSHOTS : IDC_TOTAL, [this, type] {
            WeaponGraphType = type;
            UpdateData(false);
            OnInitDialog();
        });
}

bool CWeaponShotsHitsGraphTypeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (WeaponGraphType == 1 || WeaponGraphType == 2)
        CheckRadioButton(IDC_SNAPSHOTS, IDC_TOTAL, WeaponGraphType == 1 ? IDC_SNAPSHOTS : IDC_TOTAL);
    return true;
}

CWeaponShotsHitsGraphOptionsDlg::CWeaponShotsHitsGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    LoadFromDoc(doc);
    struct Squads {
        int first;
        int O::*choice;
        int O::*count;
    };
    for (const Squads& g : {Squads{IDC_RED_SQUAD_1, &O::RedSquadChoice, &O::RedSquadCount},
                            Squads{IDC_BLUE_SQUAD_1, &O::BlueSquadChoice, &O::BlueSquadCount}}) {
        for (int k = 1; k <= AllSquads; ++k)
            OnButton(g.first + k - 1, [this, g, k] {
                // A squad the side does not have keeps the current choice.
                if (k == 1 || k == AllSquads || this->*g.count >= k)
                    this->*g.choice = k;
                Redraw();
            });
    }
    OnButton(IDC_SUM_TOTAL, [this] { SumMode = 1, Redraw(); });
    OnButton(IDC_SUM_PER_AGENT, [this] { SumMode = 2, Redraw(); });
    OnButton(IDC_SHOW_RED, [this] { ShowRed = Toggled(ShowRed), Redraw(); });
    OnButton(IDC_SHOW_BLUE, [this] { ShowBlue = Toggled(ShowBlue), Redraw(); });
    for (int side = 0; side < 2; ++side)
        for (int row = 0; row < 7; ++row)
            for (int kind = 0; kind < 3; ++kind)
                OnButton(GridId(side, row, kind), [this, side, row, kind] {
                    int& flag = row == 0 ? AllWeaponPlots[side][kind] : WeaponPlots[side][row - 1][kind];
                    flag = Toggled(flag);
                    Redraw();
                });
}

void CWeaponShotsHitsGraphOptionsDlg::LoadFromDoc(const CBrevimarDoc& doc)
{
    const CChartSelections& c = doc.Charts;
    RatioPlotChosen = c.RatioPlotChosen;
    Accepted = 1;
    RedSquadCount = doc.Force(Side::Red).NumSquads;
    BlueSquadCount = doc.Force(Side::Blue).NumSquads;
    ShowRed = c.ShowRed;
    ShowBlue = c.ShowBlue;
    SumMode = c.SumMode;
    std::copy(&c.AllWeaponPlots[0][0], &c.AllWeaponPlots[0][0] + 6, &AllWeaponPlots[0][0]);
    RedSquadChoice = c.RedSquadChoice;
    BlueSquadChoice = c.BlueSquadChoice;
    std::copy(&c.WeaponPlots[0][0][0], &c.WeaponPlots[0][0][0] + 36, &WeaponPlots[0][0][0]);
}

void CWeaponShotsHitsGraphOptionsDlg::Redraw()
{
    UpdateData(false);
    OnInitDialog();
}

bool CWeaponShotsHitsGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto squad = [this](int first, int choice) {
        if (choice >= 1 && choice <= AllSquads)
            CheckRadioButton(first, first + 10, first + choice - 1);
    };
    squad(IDC_RED_SQUAD_1, RedSquadChoice);
    squad(IDC_BLUE_SQUAD_1, BlueSquadChoice);
    CheckRadioButton(IDC_SUM_TOTAL, IDC_SUM_PER_AGENT, SumMode == 1 ? IDC_SUM_TOTAL : IDC_SUM_PER_AGENT);
    CheckDlgButton(IDC_SHOW_RED, ShowRed == 1 ? 1 : 0);
    CheckDlgButton(IDC_SHOW_BLUE, ShowBlue == 1 ? 1 : 0);

    // Hits per shot is never plotted beside shot or hit counts.
    RatioPlotChosen = IsRatioPlotSelected();
    for (int side = 0; side < 2; ++side)
        for (int row = 0; row < 7; ++row) {
            int* flags = row == 0 ? AllWeaponPlots[side] : WeaponPlots[side][row - 1];
            for (int kind : {Shots, Hits}) {
                if (RatioPlotChosen == 1)
                    flags[kind] = 0;
                CheckDlgButton(GridId(side, row, kind), flags[kind] == 1 ? 1 : 0);
            }
            if (RatioPlotChosen == 1)
                CheckDlgButton(GridId(side, row, Ratio), flags[Ratio] == 1 ? 1 : 0);
        }
    return true;
}

int CWeaponShotsHitsGraphOptionsDlg::IsRatioPlotSelected() const
{
    for (int side = 0; side < 2; ++side) {
        if (AllWeaponPlots[side][Ratio] == 1)
            return 1;
        for (int w = 0; w < Weapons; ++w)
            if (WeaponPlots[side][w][Ratio] == 1)
                return 1;
    }
    return 0;
}

void CWeaponShotsHitsGraphOptionsDlg::OnOK()
{
    Accepted = 1;
    RatioPlotChosen = IsRatioPlotSelected();
    CDialog::OnOK();
}

void CWeaponChartWindow::Build(CBrevimarDoc& doc, bool runningTotals)
{
    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();

    const CChartSelections& c = doc.Charts;
    const int current = doc.RunHeader.CurrentStep;
    const int T = current - 1;
    // The logs hold steps 0..501: a longer run is drawn as far as they go.
    const int last = std::min(T, SeriesLength - 1);

    Graph.GraphType = 6;
    Graph.EBarSource[0] = 0;
    Graph.GraphStyle = 0;
    Graph.NumPoints = current - 2;
    Common2D common;
    common.TickPoints = T;
    common.YMinZero = true;
    ApplyCommon2DSettings(common);
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();
    const char* title = runningTotals ? "Number of Shots/Hits" : "Number of Shots/Hits at T";
    Graph.LeftTitle = title;
    Graph.GraphTitle = title;

    struct Series {
        int Side, Set, Kind;
    };
    std::vector<Series> order;
    for (int side = 0; side < 2; ++side)
        for (int set = AllSet; set < Weapons; ++set)
            for (int kind = 0; kind < 3; ++kind)
                order.push_back({side, set, kind});
    // The running totals list RED's first six as All S, All H, Area S,
    // All H/S, Area H, Area H/S.
    if (runningTotals)
        std::swap(order[2], order[3]);

    const char* sideWords[] = {"Red", "Blue"};
    const char* setWords[] = {"All", "Area", "P-1", "P-2", "P-3", "P-4", "P-5"};
    const char* kindWords[] = {"S", "H", "H/S"};

    auto log = [&doc](int side, int kind, int s, int w, int t) {
        const auto& buffer =
            side == 0 ? (kind == Shots ? doc.RedSquadShotsLog : doc.RedSquadHitsLog)
                      : (kind == Shots ? doc.BlueSquadShotsLog : doc.BlueSquadHitsLog);
        return buffer ? buffer[SquadWeaponLogIndex(s, w, t)] : 0.0;
    };
    auto carriers = [&doc](int side, int w, int s) {
        const CForce& f = doc.Force(side == 0 ? Side::Red : Side::Blue);
        const int* rows[] = {f.grenades,         f.point_to_point_1, f.point_to_point_2,
                             f.point_to_point_3, f.point_to_point_4, f.point_to_point_5};
        return rows[w][s];
    };
    // The shots or hits of one side, weapon set and step, summed over the
    // chosen squads.
    auto count = [&](int side, int set, int kind, int t) {
        const int choice = side == 0 ? c.RedSquadChoice : c.BlueSquadChoice;
        const int squads = std::clamp(doc.Force(side == 0 ? Side::Red : Side::Blue).NumSquads, 1, 10);
        int from = choice, to = choice;
        if (choice == AllSquads)
            from = 1, to = squads;
        else if (choice < 1 || choice > 10)
            return 0.0;
        double sum = 0.0;
        for (int s = from; s <= to; ++s)
            for (int w = set == AllSet ? 0 : set; w <= (set == AllSet ? Weapons - 1 : set); ++w) {
                const double value = log(side, kind, s, w, t);
                if (c.SumMode != 2) {
                    sum += value;
                } else {
                    const int n = carriers(side, w, s);
                    if (n > 0)
                        sum += value / n;
                    else if (set != AllSet)
                        sum += value;
                }
            }
        return sum;
    };

    double largest = 0.0;
    int firstPositive = 0;  // over all series; 0 while none
    int s = 0;
    for (const Series& series : order) {
        const int flag = series.Set == AllSet ? c.AllWeaponPlots[series.Side][series.Kind]
                                              : c.WeaponPlots[series.Side][series.Set][series.Kind];
        const int shown = series.Side == 0 ? c.ShowRed : c.ShowBlue;
        if (flag != 1 || shown != 1)
            continue;
        const int agents = series.Side == 0 ? doc.NumRed() : doc.NumBlue();
        double shots = 0.0, hits = 0.0;
        auto value = [&](int t) {
            const double stepShots = count(series.Side, series.Set, Shots, t);
            const double stepHits = count(series.Side, series.Set, Hits, t);
            shots = runningTotals ? shots + stepShots : stepShots;
            hits = runningTotals ? hits + stepHits : stepHits;
            if (series.Kind == Shots)
                return shots;
            if (series.Kind == Hits)
                return hits;
            double ratio = shots > 0.0 ? hits / shots : 0.0;
            // The per-agent ratio of all weapons is per agent of the side;
            // a side without agents shows 0.
            if (!runningTotals && series.Set == AllSet && c.SumMode == 2)
                ratio = agents > 0 ? ratio / agents : 0.0;
            return ratio;
        };
        int first = 0;
        double pointOne = 0.0;
        for (int t = 1; t <= last; ++t) {
            // Steps whose shots were not counted are left out (and add nothing).
            if (!doc.StepCollected(t, WeaponStatistic))
                continue;
            const double v = value(t);
            if (t == 1)
                pointOne = v;
            Graph.GraphData[s][t] = v;
            const double back = Graph.GraphData[s][t].GetDouble();
            if (back > 0.0 && first == 0)
                first = t;
            Graph.XPosData[s][t] = static_cast<double>(t + 1);
            largest = std::max(largest, back);
            HandOffPoint(doc, s, t, back, 0.0);
        }
        if (doc.StepCollected(1, WeaponStatistic)) {
            Graph.GraphData[s][0] = pointOne;
            Graph.XPosData[s][0] = 1.0;
        }
        const std::string legend = std::string(sideWords[series.Side]) + "::" + setWords[series.Set + 1] +
                                   "::" + kindWords[series.Kind];
        Graph.LegendText[s] = legend;
        HandOffLabel(doc, s, legend);
        if (first > 0 && (firstPositive == 0 || first < firstPositive))
            firstPositive = first;
        ++s;
        Graph.NumSets = s;
    }

    Graph.XAxisMax = static_cast<double>(T);
    Graph.RangeMax = T;
    if (firstPositive == 0) {
        Graph.XAxisMin = 1.0;
        Graph.RangeMin = 1;
    } else if (firstPositive == T) {
        Graph.XAxisMin = static_cast<double>(current);
        Graph.RangeMin = current;
    } else {
        Graph.XAxisMin = static_cast<double>(firstPositive);
        Graph.RangeMin = firstPositive;
    }
    Graph.YAxisMax[0] = largest == 0.0 ? 1.0 : largest;
    DrawChart();
    EndHandOff(doc, s);
}

CWeaponShotsHitsSnapshotGraphDlg::CWeaponShotsHitsSnapshotGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CWeaponChartWindow(IDD, parent)
{
    Build(doc, false);
}

CWeaponShotsHitsTotalGraphDlg::CWeaponShotsHitsTotalGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CWeaponChartWindow(IDD, parent)
{
    Build(doc, true);
}

}  // namespace brevimar
