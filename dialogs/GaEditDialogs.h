// The genetic algorithm's editing dialogs of "Edit/1-Sided Genetic Algorithm
// Parameters": which agent parameters are genes, the range of each gene, the
// mission objective, the search space, the run-time parameters and the squad
// composition search. Each holds the values it edits in a member the view's
// command fills before DoModal and hands to the document after OK.
#pragma once

#include "experiments/GaEditing.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CAgentChromosomeDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 217;
    static constexpr int IDC_SYMMETRIZE = 1100;
    static constexpr int IDC_MULTI_YES = 1101;
    static constexpr int IDC_MULTI_NO = 1102;
    static constexpr int IDC_SQUADS = 1103;
    // The check box of a gene (the first gene of a pair).
    static constexpr int GeneId(int gene) { return 1200 + gene; }

    explicit CAgentChromosomeDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    GenomeStructure Values;

    bool OnInitDialog() override;

private:
    // The gene rules the dialog keeps, then every control from the values.
    void Initialise();
    void ShowValues();
    void ToggleSingle(int gene);
    void TogglePair(int gene);
    void ToggleMinDistance(int gene);
    void Symmetrize();
};

class CGeneMinMaxDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 219;
    static constexpr int IDC_THRESHOLD = 1500;
    static constexpr int MinId(int gene) { return 1300 + gene; }
    static constexpr int MaxId(int gene) { return 1400 + gene; }

    explicit CGeneMinMaxDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    GeneRanges Values;
};

class CMissionObjectiveDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 216;
    static constexpr int WeightId(int k) { return 1600 + k; }
    static constexpr int UseId(int k) { return 1620 + k; }

    explicit CMissionObjectiveDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    int Used[GaPrimitiveSlots] = {};
    double Weight[GaPrimitiveSlots] = {};
    int TerminationRule = 4;  // rule 4 clears weight 1 before the weights are divided by their sum

    // Weights that would leave a sum of 0 to divide by are refused with a message.
    void OnOK() override;
};

class CGaSearchSpaceDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 220;
    static constexpr int ModeId(int mode) { return 1700 + mode; }

    explicit CGaSearchSpaceDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    int Mode = 1;

    bool OnInitDialog() override;
};

class CGaRunTimeParamsDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 218;
    static constexpr int IDC_BEST_YES = 1710, IDC_BEST_NO = 1711;
    static constexpr int IDC_POPULATION = 1712, IDC_GENERATIONS = 1713, IDC_CONDITIONS = 1714;
    static constexpr int IDC_MAX_TIME = 1715, IDC_POWER = 1716, IDC_CONTAIN_RANGE = 1717;
    static constexpr int IDC_CONTAIN_NUMBER = 1718, IDC_COM_FRACTION = 1719, IDC_CROSSOVER = 1720;
    static constexpr int IDC_MUTATION = 1721;

    explicit CGaRunTimeParamsDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    RunTimeParams Values;

    bool OnInitDialog() override;
};

class CSquadCompositionParamsDlg : public CParamDlg {
public:
    static constexpr unsigned IDD = 254;
    static constexpr int IDC_MAX_SQUADS = 1730, IDC_MAX_SIZE = 1731, IDC_MAX_MUTATION = 1732;
    static constexpr int IDC_TOTAL = 1733, IDC_SEARCH_MATRIX = 1734, IDC_T1 = 1735, IDC_T2 = 1736;

    explicit CSquadCompositionParamsDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    SquadCompositionParams Values;
};

}  // namespace brevimar
