// Which items are offered and marked, menu by menu, as the user sees them
// when a menu opens. Expectations come from the items' update rules and the
// state set below, not from the handlers.
#include <QAction>
#include <QMdiArea>
#include <QMenu>

#include "app/AppFixture.h"

namespace brevimar::testing {
namespace {

void OpenAll(QMenu* menu)
{
    emit menu->aboutToShow();
    for (QAction* action : menu->actions())
        if (action->menu())
            OpenAll(action->menu());
}

struct ItemState {
    const char* Path;
    bool Enabled;
    bool Checked;
};

using MenuEnabling = AppTest;

TEST_F(MenuEnabling, InteractiveRunRunningAndPaused)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    ASSERT_EQ(d.RunMode, InteractiveMode);
    d.LoadInputFile = 1;
    d.StepExecuteMode = 0;
    d.BackgroundToggle = 1;
    d.TraceOn = 0;
    d.ShowAll = 1;
    d.RedForce.NumSquads = 3;
    d.BlueForce.NumSquads = 1;
    d.HighlightRedSquadNumber = 3;
    d.RedLocal.LocalCommandOn = 0;
    d.BlueLocal.LocalCommandOn = 1;
    d.BlueCommandAreas = 1;
    d.ActivityRadius = 1;
    d.BattleFrontGrayscale = 1;
    d.Statistics.BattleFrontThreshold = 3;
    d.ZoomFactor = 1.0f;
    d.EditTerrainType = Pillar;
    d.TerrainEditMode = 0;
    d.DeploymentSource = RedHandPlacement;
    d.EditRedSquad = 1;
    d.Statistics.DataCollectionOn = 0;
    d.RedForce.WeaponsOn = 1, d.RedForce.WeaponAssignType = 0;   // RED: agent-specific weapons
    d.BlueForce.WeaponsOn = 0, d.BlueForce.WeaponAssignType = 1;  // BLUE: squad-specific weapons
    d.Battlefield.PathStartDistance = 3;

    const ItemState table[] = {
        {"&File/Load Brevimar Input Data File...", true, false},
        {"&File/&Print...", true, false},
        {"&File/Save/Weapon Data/Agent-Specific Weapons Parameter Data File...", true, false},
        {"&File/Save/Weapon Data/Squad-Specific Weapons Parameter Data File...", true, false},
        {"&File/Save/Terrain Data/   ....Start Computing at Min Dist to Terrain/D=3", true, true},
        {"&File/Save/Terrain Data/   ....Start Computing at Min Dist to Terrain/D=15", true, false},
        {"&Edit/Terrain/User-Defined (Click w/Right Mouse Button)", true, false},
        {"&Edit/Terrain/   ....Terrain Type/Impassable \"Pillar\" (LOS on)", true, true},
        {"&Edit/Terrain/   ....Terrain Type/Impassable \"Lava\" (LOS off)", true, false},
        {"&Edit/RED Data/User-Defined (Click w/Right Mouse Button)", true, true},
        {"&Edit/RED Data/   ....Specify Squad/S=1", true, true},
        {"&Edit/RED Data/   ....Specify Squad/S=3", true, false},
        {"&Edit/RED Data/   ....Specify Squad/S=4", false, false},
        {"&Edit/BLUE Data/   ....Specify Squad/S=2", false, false},
        {"&Simulation/Run Mode/Interactive Time-Series (Default)", true, true},
        {"&Simulation/Run Mode/Playback Stored Run", true, false},
        {"&Simulation/&Step-Execute Mode (Default = 1 Step)", true, false},
        {"&Simulation/Reverse Time Sequence", false, false},
        {"&Display/Toggle Background Color (Default = White)", true, true},
        {"&Display/Toggle Trace", true, false},
        {"&Display/Display All Agents (Default)", true, true},
        {"&Display/Display Alive Agents Alone", true, false},
        {"&Display/Highlight Individual Squads/   ....Squad/S=3", true, true},
        {"&Display/Highlight Individual Squads/   ....Squad/S=4", false, false},
        {"&Display/Highlight Command Structure/RED Local Command Area", false, false},
        {"&Display/Highlight Command Structure/BLUE Local Command Area", true, true},
        {"&Display/Activity Map/   ....Set Radius/R=1", true, true},
        {"&Display/Activity Map/   ....Set Radius/R=0", true, false},
        {"&Display/Battle-Front Map/Use Grayscale", true, true},
        {"&Display/Battle-Front Map/Use Solid", true, false},
        {"&Display/Battle-Front Map/   ....Set Threshold/T=3", true, true},
        {"&Display/Zoom/100%", true, true},
        {"&Display/Zoom/200%", true, false},
        {"&Display/Data/RED Agent Data/RED Agents...", true, false},
        {"&Display/Data/BLUE Agent Data/BLUE Agents...", true, false},
        {"&Display/Data/PURPLE Agents...", false, false},
        {"&Display/Data/1-Sided Genetic Algorithm Summary...", false, false},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Weapon Selection/Toggle Red Squad-Specific Weapons (On/Off)",
         true, false},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Weapon Selection/Toggle Agent-Specific Weapons (On/Off)",
         true, true},
        {"Data Collection/Toggle Data Collection On/Off", true, false},
        {"Data Collection/   ...Territorial Possession", false, false},
        {"Data Collection/   ...Capacity Dimension ", false, false},
        {"Data Collection/   ...Weapon Shots/Hits", true, false},
        {"&Help/&About Brevimar...", true, false},
    };
    for (const int paused : {0, 1}) {
        d.Paused = paused;
        for (QMenu* menu : Frame().ShownMenus())
            OpenAll(menu);
        for (const ItemState& item : table) {
            QAction* action = Frame().FindMenuItem(item.Path);
            ASSERT_NE(action, nullptr) << item.Path;
            EXPECT_EQ(action->isEnabled(), item.Enabled) << item.Path << (paused ? " (paused)" : " (running)");
            EXPECT_EQ(action->isChecked(), item.Checked) << item.Path << (paused ? " (paused)" : " (running)");
        }
    }
}

TEST_F(MenuEnabling, WeaponChartNeedsAgentWeaponsAndGaChartFourGenerations)
{
    // Weapon Shots/Hits...: only the interactive run with some side's agent
    // weapons on. Mission Fitness (Time Series)...: greyed only while fewer
    // than 4 generations are done, whatever the run mode.
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    struct Case {
        int Mode, RedWeapons, BlueWeapons, Generations;
        bool WeaponChart, GaChart;
    };
    const Case cases[] = {
        {InteractiveMode, 1, 0, 0, true, false},         {InteractiveMode, 0, 1, 3, true, false},
        {InteractiveMode, 0, 0, 4, false, true},         {MultipleTimeSeriesMode, 1, 1, 9, false, true},
        {GeneticAlgorithmMode, 1, 0, 3, false, false},   {GeneticAlgorithmMode, 0, 0, 4, false, true},
    };
    for (const Case& c : cases) {
        d.RunMode = c.Mode;
        d.RedForce.WeaponsOn = c.RedWeapons;
        d.BlueForce.WeaponsOn = c.BlueWeapons;
        d.Experiment.GaGeneration = c.Generations;
        for (const auto& [id, open] : {std::pair{CBrevimarView::ID_WEAPON_SHOTS_HITS_GRAPH, c.WeaponChart},
                                       std::pair{CBrevimarView::ID_GA_FITNESS_GRAPH, c.GaChart}}) {
            CCmdUI ui(id);
            View()->MessageMap().Update(ui);
            EXPECT_EQ(ui.Enabled, open) << id << " mode " << c.Mode << " generations " << c.Generations;
        }
    }
}

// The 2D Graphs menu as the guide describes it: Attrition and Combat-Entropy
// always; a statistic's chart while it is collected, in the interactive run
// and in a multiple time-series run, which collects neither the capacity
// dimension nor the spatial entropy; no statistic's chart in a GA.
TEST_F(MenuEnabling, StatisticsChartsAreOfferedWhereTheirDataIsCollected)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    CStatisticsParameters& st = d.Statistics;
    for (int* on : {&st.TerritoryStatsOn, &st.InterpointOn, &st.CapacityDimensionOn, &st.SpatialEntropyOn,
                    &st.ClusterD1On, &st.NeighborStatsOn, &st.CenterOfMassOn, &st.GoalStatsOn})
        *on = 1;
    const char* charts[] = {"Attrition...",   "Combat-Entropy...",      "Center-of-Mass Position...",
                            "Cluster Size...", "Goal Count...",          "Interpoint Distance...",
                            "Neighbor Count...", "Territorial Possession...", "Capacity Dimension...",
                            "Spatial Entropy..."};
    const struct {
        int Collecting, Mode;
        int Offered;  // the first charts of the list above
    } cases[] = {
        {0, InteractiveMode, 2}, {1, InteractiveMode, 10}, {1, MultipleTimeSeriesMode, 8}, {1, GeneticAlgorithmMode, 2},
    };
    for (const auto& c : cases) {
        st.DataCollectionOn = c.Collecting;
        d.RunMode = c.Mode;
        for (QMenu* menu : Frame().ShownMenus())
            OpenAll(menu);
        for (int k = 0; k < 10; ++k) {
            QAction* action = Frame().FindMenuItem(QString("Data Visualization/2D Graphs/") + charts[k]);
            ASSERT_NE(action, nullptr) << charts[k];
            EXPECT_EQ(action->isEnabled(), k < c.Offered) << charts[k] << " mode " << c.Mode;
        }
    }
}

// Commands that write from the live battle do nothing outside the
// interactive run, so they are offered only there; a batch paused half-way
// can be ended by Terminate Run or by another run mode.
TEST_F(MenuEnabling, LiveBattleSavesOnlyInTheInteractiveRunAndPausedBatchesCanEnd)
{
    using V = CBrevimarView;
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    auto enabled = [&](unsigned id) {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui.Enabled;
    };
    for (int mode = PlaybackMode; mode <= MultipleTimeSeriesMode; ++mode) {
        d.RunMode = mode;
        for (unsigned id : {V::ID_FILE_SAVE_INPUT_DATA, V::ID_FILE_SAVE_RUN, V::ID_DATA_CAPACITY_SNAPSHOT})
            EXPECT_EQ(enabled(id), mode == InteractiveMode) << mode << " " << id;
        d.Pause();
        for (unsigned id : {V::ID_TERMINATE_RUN, V::ID_RUN_MODE_INTERACTIVE, V::ID_RUN_MODE_PLAYBACK})
            EXPECT_TRUE(enabled(id)) << mode << " " << id;
    }
}

TEST_F(MenuEnabling, NoDocument)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    Frame().RefreshMenus();
    const ItemState table[] = {
        {"&File/Load Brevimar Input Data File...", false, false},
        {"&File/Load Brevimar RUN File...", false, false},
        {"&File/E&xit", true, false},
        {"&Help/&Help Topics", true, false},
        {"&Help/&About Brevimar...", true, false},
    };
    for (QMenu* menu : Frame().ShownMenus())
        OpenAll(menu);
    for (const ItemState& item : table) {
        QAction* action = Frame().FindMenuItem(item.Path);
        ASSERT_NE(action, nullptr) << item.Path;
        EXPECT_EQ(action->isEnabled(), item.Enabled) << item.Path;
        EXPECT_EQ(action->isChecked(), item.Checked) << item.Path;
    }
}

}  // namespace
}  // namespace brevimar::testing
