// The displays of the genetic algorithm's results: the modeless search
// summary, and the modal displays of a chromosome, either the best found so
// far (BEST) or the RED squads as they stand (CURRENT), one pair per search
// space. Each holds a private copy of what it shows; what the user changes
// stays in the dialog, and only the save requests reach the opening command.
#pragma once

#include <QDialog>

#include "core/Limits.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

// Personality searches: every RED squad parameter the chromosome holds.
class CChromosomeDisplayDlg : public CParamDlg {
public:
    static constexpr int IDC_SQUAD = 1019, IDC_SQUAD_SIZE = 1071;
    static constexpr int IDC_SHOW_SQUAD = 1133, IDC_COMM_MATRIX = 1000, IDC_WEIGHT_MATRIX = 1009;
    static constexpr int IDC_META_ON = 1035, IDC_META_OFF = 1036;
    static constexpr int IDC_COMM_ON = 1021, IDC_COMM_OFF = 1022, IDC_RECON_ON = 1023, IDC_RECON_OFF = 1024;
    static constexpr int IDC_FRAT_ON = 1025, IDC_FRAT_OFF = 1027;
    static constexpr int IDC_COMM_RANGE = 1192, IDC_RECON_TIME = 1289, IDC_FRAT_RADIUS = 1368, IDC_FRAT_PKILL = 1369;
    static constexpr int IDC_FITNESS = 1370;
    // Alive / injured edits of the per-squad rows.
    static constexpr int IDC_SENSOR = 1324, IDC_FIRE = 1326, IDC_THRESHOLD = 1328, IDC_MOVEMENT = 1330;
    static constexpr int IDC_PHIT = 1332, IDC_MAX_TARGETS = 1334, IDC_DEFENSE = 1336;
    static constexpr int IDC_WEIGHT_FIRST = 1338;  // w1 alive, w1 injured, w2 alive, ... 1338..1349
    static constexpr int IDC_LC = 1350, IDC_OBEY_LC = 1352, IDC_COMM_WEIGHT = 1354;
    static constexpr int IDC_ADVANCE = 1356, IDC_CLUSTER = 1358, IDC_COMBAT = 1360;
    static constexpr int IDC_MIN_RED = 1362, IDC_MIN_BLUE = 1364, IDC_MIN_FLAG = 1366;

    int SelectedSquad = 1;
    int SaveRequested = 0;
    double FitnessShown = 0;  // best-so-far fitness x 10000 (BEST only)

    // Per squad (alive [0], injured [1]).
    SquadValue<int> SquadSize, MetaOn;
    SquadValue<int> Sensor[2], Fire[2], Threshold[2], Movement[2], MaxTargets[2], Defense[2];
    SquadValue<int> Advance[2], Cluster[2], Combat[2], MinRed[2], MinBlue[2], MinFlag[2];
    SquadValue<float> Weight[6][2], PHit[2];
    // Side-wide.
    float LcWeight[2] = {}, ObeyLc[2] = {}, CommWeight[2] = {}, FratPKill = 0;
    int CommRange = 0, ReconTime = 0, FratRadius = 0;
    int CommunicationsOn = 0, ReconstitutionOn = 0, FratricideOn = 0;
    int CommMatrix[SquadSlots][SquadSlots] = {};
    double SquadMatrix[SquadSlots][SquadSlots] = {};

    bool OnInitDialog() override;
    void OnOK() override;
    void OnShowSquad();

protected:
    CChromosomeDisplayDlg(CBrevimarDoc& doc, bool best, QWidget* parent);

private:
    void OpenCommMatrix();
    void OpenWeightMatrix();
};

class CShowBestChromosomeDlg : public CChromosomeDisplayDlg {
public:
    static constexpr unsigned IDD = 222;
    // Decodes the best chromosome first.
    explicit CShowBestChromosomeDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};

class CShowCurrentChromosomeDlg : public CChromosomeDisplayDlg {
public:
    static constexpr unsigned IDD = 223;
    explicit CShowCurrentChromosomeDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};

// Squad composition, squad matrix and communications matrix searches: an
// 8 x 8 matrix, and for the composition the squad count and sizes.
class CMatrixDisplayDlg : public CParamDlg {
public:
    static constexpr int IDC_SAVE_FILE = 3, IDC_SAVE_MATRIX = 1701;
    static constexpr int IDC_FITNESS = 1370, IDC_SQUADS = 1020, IDC_SIZE_FIRST = 1690;
    static constexpr int CellId(int i, int j) { return 1800 + 10 * (i - 1) + (j - 1); }

    enum class Kind { Composition, SquadMatrix, CommMatrix };

    int SaveRequested = 0;
    int SaveMatrixRequested = 0;
    double FitnessShown = 0;
    int Squads = 0;
    int Sizes[9] = {};           // squads 1..8
    double Weights[9][9] = {};   // (i, j), 1..8
    int Links[9][9] = {};        // (i, j), 1..8

    bool OnInitDialog() override;

protected:
    CMatrixDisplayDlg(Kind kind, bool best, unsigned id, const char* caption, QWidget* parent);

private:
    Kind Shown;
};

class CShowBestSquadCompositionDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 262;
    explicit CShowBestSquadCompositionDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};
class CShowCurrentSquadCompositionDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 265;
    explicit CShowCurrentSquadCompositionDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};
class CShowBestSquadMatrixDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 264;
    explicit CShowBestSquadMatrixDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};
class CShowCurrentSquadMatrixDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 266;
    explicit CShowCurrentSquadMatrixDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};
class CShowBestCommMatrixDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 267;
    // The opening command fills the links and the fitness.
    explicit CShowBestCommMatrixDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};
class CShowCurrentCommMatrixDlg : public CMatrixDisplayDlg {
public:
    static constexpr unsigned IDD = 269;
    explicit CShowCurrentCommMatrixDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);
};

// "Display::Genetic Algorithm Search Summary": modeless; it deletes itself
// once closed, so the view holds it in a QPointer.
class CGaSearchSummaryDlg : public CDialog {
public:
    static constexpr unsigned IDD = 221;
    static constexpr int IDC_GENERATION = 1323, IDC_GENERATIONS = 1290, IDC_BEST = 1326, IDC_AVERAGE = 1327,
                         IDC_WORST = 1328, IDC_BEST_OVERALL = 1325;

    CGaSearchSummaryDlg(QWidget* parent, CBrevimarDoc& doc);

    int Generation = 0, Generations = 0;
    double Best = 0, Average = 0, Worst = 0, BestOverall = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

}  // namespace brevimar
