#include "dialogs/GaEditDialogs.h"

#include <string>
#include <vector>

namespace brevimar {

namespace {

// How a check box of the chromosome dialog changes its gene.
enum class Box { None, Single, Pair, MinDistance };

struct ChromosomeRow {
    const char* Label;
    int Alive;  // gene of the Alive box
    int Injured;  // gene of the Injured box, 0: no box
    Box Kind;
};

struct ChromosomeGroup {
    const char* Title;
    std::vector<ChromosomeRow> Rows;
};

const std::vector<ChromosomeGroup>& ChromosomeGroups()
{
    static const std::vector<ChromosomeGroup> groups = {
        {"GENERAL BATTLE PARAMETERS",
         {{"Reconstitution Time", 57, 0, Box::Single},
          {"Fratricide Radius", 58, 0, Box::Single},
          {"Fratricide Prob(Kill)", 59, 0, Box::Single}}},
        {"PERSONALITY",
         {{"--> Alive RED", 9, 21, Box::Pair},
          {"--> Alive BLUE", 11, 23, Box::Pair},
          {"--> Injured RED", 13, 25, Box::Pair},
          {"--> Injured BLUE", 15, 27, Box::Pair},
          {"--> RED Flag", 17, 29, Box::Pair},
          {"--> BLUE Flag", 19, 31, Box::Pair}}},
        {"META-PERSONALITY",
         {{"ADVANCE", 33, 34, Box::Single},
          {"CLUSTER", 35, 36, Box::Single},
          {"COMBAT", 37, 39, Box::Pair},
          {"Min Dist from RED", 42, 43, Box::MinDistance},
          {"Min Dist from BLUE", 44, 45, Box::MinDistance},
          {"Min Dist from RFlag", 46, 47, Box::MinDistance}}},
        {"RANGES",
         {{"Sensor Range", 1, 2, Box::Single},
          {"Fire Range", 3, 4, Box::Single},
          {"Threshold Range", 5, 6, Box::Single},
          {"Movement Range", 7, 8, Box::Single}}},
        {"OFFENSE/DEFENSE",
         {{"Prob(Hit)", 48, 49, Box::Single},
          {"Max # Simul Tgts", 50, 51, Box::Single},
          {"Defense", 52, 53, Box::Single}}},
        {"COMMUNICATIONS", {{"Comm Range", 54, 0, Box::Single}, {"Comm Weight", 55, 56, Box::Single}}},
    };
    return groups;
}

// The injured-side genes "Symmetrize ALIVE and INJURED" switches off.
constexpr int InjuredGenes[] = {2,  4,  6,  8,  21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                                34, 36, 39, 40, 43, 45, 47, 49, 51, 53, 56};

using C = CAgentChromosomeDlg;

const DialogTemplate& ChromosomeTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{C::IDD, "Edit::Agent Chromosome", {}};
        t.Items.push_back({DlgItem::Button, C::IDC_SYMMETRIZE, "Symmetrize ALIVE and INJURED"});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Multi-Squad?"});
        t.Items.push_back({DlgItem::Radio, C::IDC_MULTI_YES, "Yes"});
        t.Items.push_back({DlgItem::Radio, C::IDC_MULTI_NO, "No"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Number of Squads"});
        t.Items.push_back({DlgItem::Edit, C::IDC_SQUADS});
        int n = 0;
        for (const ChromosomeGroup& group : ChromosomeGroups()) {
            if (n++ == 3)
                t.Items.push_back({DlgItem::Column});
            t.Items.push_back({DlgItem::Group, IDC_STATIC, group.Title, 3});
            t.Items.push_back({DlgItem::Label, IDC_STATIC, ""});
            t.Items.push_back({DlgItem::Label, IDC_STATIC, "Alive"});
            t.Items.push_back({DlgItem::Label, IDC_STATIC, "Injured"});
            for (const ChromosomeRow& row : group.Rows) {
                t.Items.push_back({DlgItem::Label, IDC_STATIC, row.Label});
                t.Items.push_back({DlgItem::CheckBox, C::GeneId(row.Alive), ""});
                if (row.Injured != 0)
                    t.Items.push_back({DlgItem::CheckBox, C::GeneId(row.Injured), ""});
                else
                    t.Items.push_back({DlgItem::Label, IDC_STATIC, ""});
            }
        }
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CAgentChromosomeDlg::CAgentChromosomeDlg(CBrevimarDoc&, QWidget* parent) : CParamDlg(ChromosomeTemplate(), parent)
{
    // More than ten squads do not fit the force or the chromosome.
    Bind(IDC_SQUADS, Values.SquadCount, GaLimits::SquadCount.IntLow(), GaLimits::SquadCount.IntHigh());
    for (const ChromosomeGroup& group : ChromosomeGroups())
        for (const ChromosomeRow& row : group.Rows)
            for (int gene : {row.Alive, row.Injured}) {
                if (gene == 0)
                    continue;
                switch (row.Kind) {
                case Box::Single:
                    OnButton(GeneId(gene), [this, gene] { ToggleSingle(gene); });
                    break;
                case Box::Pair:
                    OnButton(GeneId(gene), [this, gene] { TogglePair(gene); });
                    break;
                case Box::MinDistance:
                    OnButton(GeneId(gene), [this, gene] { ToggleMinDistance(gene); });
                    break;
                case Box::None:
                    break;
                }
            }
    OnButton(IDC_MULTI_YES, [this] {
        Values.MultiSquad = 1;
        Initialise();
    });
    OnButton(IDC_MULTI_NO, [this] {
        Values.MultiSquad = 0;
        Initialise();
    });
    OnButton(IDC_SYMMETRIZE, [this] { Symmetrize(); });
}

bool CAgentChromosomeDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    Initialise();
    return true;
}

void CAgentChromosomeDlg::Initialise()
{
    int* on = Values.GeneOn;
    for (int g = 9; g <= 31; g += 2)
        on[g + 1] = on[g] == 1 ? 1 : 0;
    on[38] = on[40] = 1;
    on[41] = 0;
    for (int g = 42; g <= 47; ++g)
        if (on[g] == 1)
            on[41] = 1;
    ShowValues();
}

void CAgentChromosomeDlg::ShowValues()
{
    CheckRadioButton(IDC_MULTI_YES, IDC_MULTI_NO, Values.MultiSquad == 1 ? IDC_MULTI_YES : IDC_MULTI_NO);
    for (const ChromosomeGroup& group : ChromosomeGroups())
        for (const ChromosomeRow& row : group.Rows)
            for (int gene : {row.Alive, row.Injured})
                if (gene != 0)
                    CheckDlgButton(GeneId(gene), Values.GeneOn[gene] == 1);
    UpdateData(false);
}

void CAgentChromosomeDlg::ToggleSingle(int gene)
{
    UpdateData(true);
    Values.GeneOn[gene] = Values.GeneOn[gene] == 1 ? 0 : 1;
    ShowValues();
}

void CAgentChromosomeDlg::TogglePair(int gene)
{
    UpdateData(true);
    const int value = Values.GeneOn[gene] == 1 ? 0 : 1;
    Values.GeneOn[gene] = Values.GeneOn[gene + 1] = value;
    ShowValues();
}

void CAgentChromosomeDlg::ToggleMinDistance(int gene)
{
    UpdateData(true);
    Values.GeneOn[gene] = Values.GeneOn[gene] == 1 ? 0 : 1;
    if (Values.GeneOn[gene] == 1)
        Values.GeneOn[41] = 1;
    ShowValues();
}

void CAgentChromosomeDlg::Symmetrize()
{
    UpdateData(true);
    for (int gene : InjuredGenes)
        Values.GeneOn[gene] = 0;
    Values.Symmetrize = 1;
    Initialise();
}

// ------------------------------------------------------------------ ranges

namespace {

using R = CGeneMinMaxDlg;

const DialogTemplate& RangesTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{R::IDD, "Edit::Agent Gene Minimum/Maximum Values", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "GENE MINIMUM/MAXIMUM VALUES", 3});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, ""});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Min"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Max"});
        for (int k = 0; k < GeneRangeRowCount; ++k)
            PairRow(t.Items, GeneRangeRows[k].Label, {R::MinId(GeneRangeRows[k].Gene), R::MaxId(GeneRangeRows[k].Gene)});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "PERSONALITY WEIGHTS"});
        // The rows bound a weight's magnitude; its sign is a gene of its own,
        // so the chromosome displays show weights from -Max to Max.
        t.Items.push_back({DlgItem::Label, IDC_STATIC,
                           "Rows --> bound | w[i] |; a sign gene of its own makes w[i] run from -Max to Max"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "| w[i] | < e --> w[i]=0; e = "});
        t.Items.push_back({DlgItem::Edit, R::IDC_THRESHOLD});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CGeneMinMaxDlg::CGeneMinMaxDlg(CBrevimarDoc& doc, QWidget* parent) : CParamDlg(RangesTemplate(), parent)
{
    for (int k = 0; k < GeneRangeRowCount; ++k) {
        const GeneRangeRow& row = GeneRangeRows[k];
        Values.Min[row.Gene] = doc.Ga.GeneMin[row.Gene];
        Values.Max[row.Gene] = doc.Ga.GeneMax[row.Gene];
        Bind(MinId(row.Gene), Values.Min[row.Gene], row.MinLow, row.MinHigh);
        Bind(MaxId(row.Gene), Values.Max[row.Gene], row.MaxLow, row.MaxHigh);
    }
    Values.WeightThreshold = doc.Ga.GaWeightThreshold;
    Bind(IDC_THRESHOLD, Values.WeightThreshold, GaLimits::WeightThreshold.Low, GaLimits::WeightThreshold.High);
}

// ------------------------------------------------------------------ mission

namespace {

const char* const Primitives[GaPrimitiveSlots] = {
    "",
    "Minimize Time to Enemy Flag",
    "Minimize Friendly Casualties",
    "Maximize Enemy Casualties",
    "Maximize Friendly-to-Enemy Survival Ratio",
    "Minimize Friendly Center-of-Mass Distance to Enemy Flag",
    "Maximize Enemy Center-of-Mass Distance to Friendly Flag",
    "Maximize Number of Friendly VORLAXs within Distance D of Enemy Flag",
    "Minimize Number of Enemy VORLAXs within Distance D of Friendly Flag",
    "Minimize Number of Fratricide \"Hits\" (on Friendly Side)",
    "Maximize Number of Fratricide \"Hits\" (on Enemy Side)",
};

using M = CMissionObjectiveDlg;

const DialogTemplate& MissionTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{M::IDD, "Edit::One-Sided Genetic Algorithm:Edit Mission Objective", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "EDIT MISSION OBJECTIVE", 2});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Weight"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Use?"});
        for (int k = 1; k <= GaPrimitiveCount; ++k) {
            t.Items.push_back({DlgItem::Edit, M::WeightId(k)});
            t.Items.push_back({DlgItem::CheckBox, M::UseId(k), Primitives[k]});
        }
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CMissionObjectiveDlg::CMissionObjectiveDlg(CBrevimarDoc& doc, QWidget* parent) : CParamDlg(MissionTemplate(), parent)
{
    for (int k = 1; k <= GaPrimitiveCount; ++k) {
        Used[k] = doc.Ga.MissionUsed[k];
        Weight[k] = doc.Ga.MissionWeight[k];
        Bind(WeightId(k), Weight[k], GaLimits::MissionWeight.Low, GaLimits::MissionWeight.High);
        BindCheck(UseId(k), Used[k]);
    }
    TerminationRule = doc.Ga.GaTerminationRule;
}

void CMissionObjectiveDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    double effective[GaPrimitiveSlots];
    if (!EffectiveMissionWeights(Weight, TerminationRule, effective)) {
        MessageBox(TerminationRule == 4
                       ? std::string("Please give a weight above 0 to at least one primitive other than \"") +
                             Primitives[1] +
                             "\": with termination rule 4 its weight counts as 0, and the weights are divided by "
                             "their sum."
                       : "Please give a weight above 0 to at least one primitive: the weights are divided by their "
                         "sum.");
        return;
    }
    CParamDlg::OnOK();
}

// ------------------------------------------------------------------ search space

namespace {

using S = CGaSearchSpaceDlg;

const DialogTemplate& SearchSpaceTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{S::IDD, "Edit::Specify One-Sided GA Search Space", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Define GA Search Space"});
        const char* const modes[] = {
            "Personality (Single Squad; Default)",
            "Personality (Multiple Squad, Fixed # / Size)",
            "Squad Composition (Fixed Personality)",
            "Squad Composition + Personality",
            "Inter-Squad Communication Connectivity (Fixed Personality)",
            "Inter-Squad Weight Connectivity (Fixed Personality)",
            "Initial Spatial Configuration (Multiple Squad, Fixed Personality)",
            "Terrain Placement (Fixed Personality)",
        };
        for (int k = 1; k <= 8; ++k) {
            t.Items.push_back({DlgItem::Radio, S::ModeId(k), modes[k - 1]});
            t.Items.push_back({DlgItem::NewRow});
        }
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CGaSearchSpaceDlg::CGaSearchSpaceDlg(CBrevimarDoc&, QWidget* parent) : CParamDlg(SearchSpaceTemplate(), parent)
{
    for (int k = 1; k <= 8; ++k)
        OnButton(ModeId(k), [this, k] {
            Mode = k;
            UpdateData(false);
            OnInitDialog();
        });
}

bool CGaSearchSpaceDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    for (int k = 1; k <= 8; ++k)
        CheckDlgButton(ModeId(k), k == Mode);
    return true;
}

// ------------------------------------------------------------------ run time

namespace {

using T = CGaRunTimeParamsDlg;

const DialogTemplate& RunTimeTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{T::IDD, "Edit::Genetic Algorithm Run-Time Parameters", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Best Personalities to File?"});
        t.Items.push_back({DlgItem::Radio, T::IDC_BEST_YES, "Yes"});
        t.Items.push_back({DlgItem::Radio, T::IDC_BEST_NO, "No"});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "GENERAL PARAMETERS", 2});
        PairRow(t.Items, "Population Size", {T::IDC_POPULATION});
        PairRow(t.Items, "Number of Generations", {T::IDC_GENERATIONS});
        PairRow(t.Items, "Number of Initial Conditions", {T::IDC_CONDITIONS});
        PairRow(t.Items, "Maximum Time to Enemy Flag", {T::IDC_MAX_TIME});
        PairRow(t.Items, "Penalty Power Factor", {T::IDC_POWER});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "TERMINATION PARAMETERS", 2});
        PairRow(t.Items, "Flag Containment Range", {T::IDC_CONTAIN_RANGE});
        PairRow(t.Items, "Containment Number", {T::IDC_CONTAIN_NUMBER});
        PairRow(t.Items, "Center-of-Mass to Enemy Flag '%'", {T::IDC_COM_FRACTION});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "GA PARAMETERS", 2});
        PairRow(t.Items, "Probability of Point CrossOver", {T::IDC_CROSSOVER});
        PairRow(t.Items, "Probability of Point Mutation", {T::IDC_MUTATION});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CGaRunTimeParamsDlg::CGaRunTimeParamsDlg(CBrevimarDoc& doc, QWidget* parent)
    : CParamDlg(RunTimeTemplate(), parent), Values(CurrentRunTimeParams(doc))
{
    // The records hold 300 members, 100 initial conditions and 999 generations.
    auto bindInt = [this](int id, int& member, ValueLimit limit) { Bind(id, member, limit.IntLow(), limit.IntHigh()); };
    auto bindReal = [this](int id, double& member, ValueLimit limit) { Bind(id, member, limit.Low, limit.High); };
    bindInt(IDC_POPULATION, Values.PopulationSize, GaLimits::PopulationSize);
    bindInt(IDC_GENERATIONS, Values.Generations, GaLimits::Generations);
    bindInt(IDC_CONDITIONS, Values.InitialConditions, GaLimits::InitialConditions);
    bindInt(IDC_MAX_TIME, Values.MaxTimeToFlag, GaLimits::MaxTimeToFlag);
    bindInt(IDC_POWER, Values.PenaltyPower, GaLimits::PenaltyPower);
    bindReal(IDC_CONTAIN_RANGE, Values.ContainmentRange, GaLimits::ContainmentRange);
    bindReal(IDC_CONTAIN_NUMBER, Values.ContainmentNumber, GaLimits::ContainmentNumber);
    bindReal(IDC_COM_FRACTION, Values.CenterOfMassFraction, GaLimits::Fraction);
    bindReal(IDC_CROSSOVER, Values.CrossoverProb, GaLimits::Fraction);
    bindReal(IDC_MUTATION, Values.MutationProb, GaLimits::Fraction);
    auto choose = [this](int value) {
        Values.BestToFile = value;
        UpdateData(false);
        OnInitDialog();
    };
    OnButton(IDC_BEST_YES, [choose] { choose(1); });
    OnButton(IDC_BEST_NO, [choose] { choose(0); });
}

bool CGaRunTimeParamsDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    CheckDlgButton(IDC_BEST_YES, Values.BestToFile == 1);
    CheckDlgButton(IDC_BEST_NO, Values.BestToFile == 0);
    return true;
}

// ------------------------------------------------------------------ squad composition

namespace {

using Q = CSquadCompositionParamsDlg;

const DialogTemplate& CompositionTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{Q::IDD, "Edit::Squad Composition Parameters", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD PROPERTIES", 2});
        PairRow(t.Items, "Maximum Squad Number", {Q::IDC_MAX_SQUADS});
        PairRow(t.Items, "Maximum Squad Size", {Q::IDC_MAX_SIZE});
        PairRow(t.Items, "Maximum Mutation Size", {Q::IDC_MAX_MUTATION});
        PairRow(t.Items, "Total Force Size", {Q::IDC_TOTAL});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD-MATRIX PROPERTIES", 2});
        t.Items.push_back({DlgItem::CheckBox, Q::IDC_SEARCH_MATRIX, "Search Over Squad-Matrix"});
        t.Items.push_back({DlgItem::NewRow});
        PairRow(t.Items, "Threshold T_1  | if P < T_1, W=0", {Q::IDC_T1});
        PairRow(t.Items, "Threshold T_2 | if P < T_2, W -> - W", {Q::IDC_T2});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CSquadCompositionParamsDlg::CSquadCompositionParamsDlg(CBrevimarDoc&, QWidget* parent)
    : CParamDlg(CompositionTemplate(), parent)
{
    Bind(IDC_MAX_SQUADS, Values.MaxSquadCount, 0, 999);
    Bind(IDC_MAX_SIZE, Values.MaxSquadSize, 0.0, 999.0);
    Bind(IDC_MAX_MUTATION, Values.MaxMutationSize, 0.0, 999.0);
    // The force holds at most 300 agents.
    Bind(IDC_TOTAL, Values.TotalForceSize, 0, MaxAgents);
    BindCheck(IDC_SEARCH_MATRIX, Values.SearchSquadMatrix);
    Bind(IDC_T1, Values.Threshold1, 0.0, 1.0);
    Bind(IDC_T2, Values.Threshold2, 0.0, 1.0);
}

}  // namespace brevimar
