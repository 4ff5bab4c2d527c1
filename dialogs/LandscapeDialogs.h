// The fitness landscape's dialogs: the mission objective and chart choices,
// the run-time parameters, the raw-data question, and the (x, y) parameters.
#pragma once

#include <cstddef>
#include <string>

#include "core/Landscape.h"
#include "core/Limits.h"
#include "platform/Dialog.h"

class QComboBox;

namespace brevimar {

class CBrevimarDoc;

// The OK of the landscape's dialogs: take the controls in, show the fields
// again, and close through the framework's OK.
void CommitAndClose(CDialog& dialog);

class CLandscapeObjectiveDlg : public CDialog {
public:
    static constexpr unsigned IDD = 229;
    static constexpr int UseIds[LandscapeMeasureSlots] = {0, 1266, 1267, 1268, 1269, 1270, 1271,
                                                          1272, 1273, 1274, 1275, 1276, 1277};
    static constexpr int WeightIds[LandscapeMeasureSlots] = {0, 1001, 1003, 1005, 1007, 1009, 1011,
                                                             1013, 1015, 1070, 1074, 1594, 1593};
    static constexpr int IDC_FITNESS_AVE = 1436, IDC_FITNESS_DELTA = 1437;
    static constexpr int IDC_SURFACE = 1438, IDC_DENSITY = 1439, IDC_WIN = 1686;
    static constexpr int IDC_WIN_THRESHOLD = 1076;
    static constexpr int IDC_COLOR = 1440, IDC_GRAYSCALE = 1441;

    CLandscapeObjectiveDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int Used[LandscapeMeasureSlots] = {};
    double Weight[LandscapeMeasureSlots] = {};
    double WinThreshold = 0.5;
    int PlotKind = 1, GraphKind = 1, ColorMode = 1;

    bool OnInitDialog() override;
    void OnOK() override { CommitAndClose(*this); }

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void Choose(int& field, int value);
};

class CLandscapeRunParamsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 230;
    static constexpr int IDC_CONDITIONS = 1291, IDC_MAX_TIME = 1292, IDC_POWER = 1293, IDC_TERMINATION = 1298;
    static constexpr int IDC_CONTAIN_RANGE = 1294, IDC_CONTAIN_NUMBER = 1295, IDC_COM_FRACTION = 1296;
    static constexpr int IDC_USE_TERRITORY = 1130, IDC_THRESHOLD_RANGE = 1595, IDC_SURROUNDING = 1596,
                         IDC_DELTA = 1597, IDC_CENTER_X = 1177, IDC_CENTER_Y = 1172, IDC_RANGE_X = 1179,
                         IDC_RANGE_Y = 1173, IDC_TIME_MIN = 1300, IDC_TIME_MAX = 1303;
    static constexpr int IDC_SYM_AI_YES = 1021, IDC_SYM_AI_NO = 1022, IDC_SYM_W_YES = 1023, IDC_SYM_W_NO = 1024;

    CLandscapeRunParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int InitialConditions = 0, MaxTimeToFlag = 0, PenaltyPower = 0, TerminationCode = 0;
    int ContainmentRange = 0, ContainmentNumber = 0;  // whole cells and agents here
    double CenterOfMassFraction = 0;
    int UseTerritory = 0;
    int ThresholdRange = 0, SurroundingNumber = 0, Delta = 0;
    int CenterX = 0, CenterY = 0, RangeX = 0, RangeY = 0;
    int TimeMin = 0, TimeMax = 0;
    int SymmetrizeAliveInjured = 0, SymmetrizeWeights = 0;

    bool OnInitDialog() override;
    void OnOK() override { CommitAndClose(*this); }

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CLandscapeRawDataDlg : public CDialog {
public:
    static constexpr unsigned IDD = 241;
    static constexpr int IDC_YES = 1021, IDC_NO = 1022;

    CLandscapeRawDataDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int StoreRawData = 0;

    bool OnInitDialog() override;
};

class CLandscapeParamsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 232;
    static constexpr int SquadIds[MaxSquads] = {1021, 1022, 1023, 1024, 1025, 1027, 1067, 1068, 1032, 1034};
    static constexpr int IDC_X_NAME = 1440, IDC_Y_NAME = 1441;
    static constexpr int IDC_X_MIN = 1401, IDC_X_MAX = 1402, IDC_X_SAMPLES = 1403;
    static constexpr int IDC_Y_MIN = 1433, IDC_Y_MAX = 1434, IDC_Y_SAMPLES = 1435;
    static constexpr std::size_t MaxNameLength = 100;

    CLandscapeParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int XIndex = 0, YIndex = 0;
    int Squad = 1;
    int RedSquadCount = 1;
    std::string XName, YName;
    int XSamples = 0, YSamples = 0;
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    int SquadChoice = -1;

    bool OnInitDialog() override;
    // Besides each box's range: a squad of the scenario, and ranges the
    // fields of the named parameters can hold.
    void OnOK() override;
    void OnSelectSquad(int squad);
    void OnSelchangeParameter();

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void UpdateParameterRanges();
    void AttachCombo(int id);
    QComboBox* Combos[2] = {};
};

}  // namespace brevimar
