#include "dialogs/LandscapeDialogs.h"

#include <algorithm>

#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/Document.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"

namespace brevimar {

namespace {

const char* const PrimitiveLabels[LandscapeMeasureSlots] = {
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
    "Maximize Territorial Possession (of Friendly Side)",
    "Minimize Territorial Possession (of Enemy Side)",
};

using D = CLandscapeObjectiveDlg;

const DialogTemplate& ObjectiveTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{D::IDD, "3D Graph::2-Parameter Fitness Landscape:Edit Mission Objective", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "MISSION PRIMITIVES (Use? and weight)"});
        for (int k = 1; k <= LandscapeMeasureCount; ++k) {
            t.Items.push_back({DlgItem::CheckBox, D::UseIds[k], std::string("Use?  ") + PrimitiveLabels[k]});
            t.Items.push_back({DlgItem::Edit, D::WeightIds[k]});
        }
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SPECIFY PLOT"});
        t.Items.push_back({DlgItem::Radio, D::IDC_FITNESS_AVE, "Fitness Ave"});
        t.Items.push_back({DlgItem::Radio, D::IDC_FITNESS_DELTA, "Fitness Delta"});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SPECIFY GRAPH"});
        t.Items.push_back({DlgItem::Radio, D::IDC_SURFACE, "Surface"});
        t.Items.push_back({DlgItem::Radio, D::IDC_DENSITY, "Density"});
        t.Items.push_back({DlgItem::Radio, D::IDC_WIN, "Win"});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Win"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "f > "});
        t.Items.push_back({DlgItem::Edit, D::IDC_WIN_THRESHOLD});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "COLOR/GRAYSCALE"});
        t.Items.push_back({DlgItem::Radio, D::IDC_COLOR, "Color"});
        t.Items.push_back({DlgItem::Radio, D::IDC_GRAYSCALE, "Grayscale"});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

using R = CLandscapeRunParamsDlg;

const DialogTemplate& RunParamsTemplate()
{
    static const DialogTemplate table{
        R::IDD,
        "Edit::Fitness Landscape:Run-Time Parameters",
        {
            {DlgItem::Group, IDC_STATIC, "GENERAL PARAMETERS"},
            {DlgItem::Label, IDC_STATIC, "Number of Initial Conditions"},
            {DlgItem::Edit, R::IDC_CONDITIONS},
            {DlgItem::Label, IDC_STATIC, "Maximum Time to Enemy Flag"},
            {DlgItem::Edit, R::IDC_MAX_TIME},
            {DlgItem::Label, IDC_STATIC, "Penalty Power Factor"},
            {DlgItem::Edit, R::IDC_POWER},
            {DlgItem::Group, IDC_STATIC, "TERMINATION PARAMETERS"},
            {DlgItem::Label, IDC_STATIC, "Termination Code"},
            {DlgItem::Edit, R::IDC_TERMINATION},
            {DlgItem::Label, IDC_STATIC, "Flag Containment Range"},
            {DlgItem::Edit, R::IDC_CONTAIN_RANGE},
            {DlgItem::Label, IDC_STATIC, "Containment Number"},
            {DlgItem::Edit, R::IDC_CONTAIN_NUMBER},
            {DlgItem::Label, IDC_STATIC, "Center-of-Mass to Enemy Flag '%'"},
            {DlgItem::Edit, R::IDC_COM_FRACTION},
            {DlgItem::Group, IDC_STATIC, "TERRITORIAL POSSESSION PARAMETERS"},
            {DlgItem::CheckBox, R::IDC_USE_TERRITORY, "Use?"},
            {DlgItem::Label, IDC_STATIC, "Range"},
            {DlgItem::Edit, R::IDC_THRESHOLD_RANGE},
            {DlgItem::Label, IDC_STATIC, "N"},
            {DlgItem::Edit, R::IDC_SURROUNDING},
            {DlgItem::Label, IDC_STATIC, "Delta"},
            {DlgItem::Edit, R::IDC_DELTA},
            {DlgItem::Label, IDC_STATIC, "Center[x]"},
            {DlgItem::Edit, R::IDC_CENTER_X},
            {DlgItem::Label, IDC_STATIC, "Center[y]"},
            {DlgItem::Edit, R::IDC_CENTER_Y},
            {DlgItem::Label, IDC_STATIC, "Range[x]"},
            {DlgItem::Edit, R::IDC_RANGE_X},
            {DlgItem::Label, IDC_STATIC, "Range[y]"},
            {DlgItem::Edit, R::IDC_RANGE_Y},
            {DlgItem::Label, IDC_STATIC, "time_min"},
            {DlgItem::Edit, R::IDC_TIME_MIN},
            {DlgItem::Label, IDC_STATIC, "time_max"},
            {DlgItem::Edit, R::IDC_TIME_MAX},
            {DlgItem::Group, IDC_STATIC, "SYMMETRIZATION FLAGS"},
            {DlgItem::Label, IDC_STATIC, "Symmetrize ALIVE/INJURED"},
            {DlgItem::Radio, R::IDC_SYM_AI_YES, "yes"},
            {DlgItem::Radio, R::IDC_SYM_AI_NO, "no"},
            {DlgItem::Label, IDC_STATIC, "Symmetrize w1<--> w3; w2<-->w4"},
            {DlgItem::Radio, R::IDC_SYM_W_YES, "yes"},
            {DlgItem::Radio, R::IDC_SYM_W_NO, "no"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

const DialogTemplate& RawDataTemplate()
{
    static const DialogTemplate table{
        CLandscapeRawDataDlg::IDD,
        "Fitness Landscape Raw Data",
        {
            {DlgItem::Group, IDC_STATIC, "Is raw (x,y,z) data to be stored in file?"},
            {DlgItem::Radio, CLandscapeRawDataDlg::IDC_YES, "yes"},
            {DlgItem::Radio, CLandscapeRawDataDlg::IDC_NO, "no"},
            {DlgItem::EndGroup},
            {DlgItem::Button, IDOK, "OK"},
        },
    };
    return table;
}

using P = CLandscapeParamsDlg;

const DialogTemplate& ParamsTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{P::IDD, "Edit::2-Parameter Fitness Landscape:Edit Parameters", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "RED SQUAD"});
        for (int k = 1; k <= MaxSquads; ++k)
            t.Items.push_back({DlgItem::Radio, P::SquadIds[k - 1], std::to_string(k)});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "x PARAMETER"});
        t.Items.push_back({DlgItem::Edit, P::IDC_X_NAME});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "x_min"});
        t.Items.push_back({DlgItem::Edit, P::IDC_X_MIN});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "x_max"});
        t.Items.push_back({DlgItem::Edit, P::IDC_X_MAX});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Samples"});
        t.Items.push_back({DlgItem::Edit, P::IDC_X_SAMPLES});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "y PARAMETER"});
        t.Items.push_back({DlgItem::Edit, P::IDC_Y_NAME});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "y_min"});
        t.Items.push_back({DlgItem::Edit, P::IDC_Y_MIN});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "y_max"});
        t.Items.push_back({DlgItem::Edit, P::IDC_Y_MAX});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Samples"});
        t.Items.push_back({DlgItem::Edit, P::IDC_Y_SAMPLES});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

// A name shown in a combo box, exchanged through the edit the combo stands in for.
void ExchangeName(CDataExchange& dx, int id, std::string& name)
{
    if (!dx.Begin(id))
        return;
    if (!dx.SaveAndValidate) {
        dx.Dialog.SetDlgItemText(id, name);
        return;
    }
    const std::string text = dx.Dialog.GetDlgItemText(id);
    if (text.size() > CLandscapeParamsDlg::MaxNameLength) {
        dx.Fail("Enter no more than 100 characters.");
        return;
    }
    name = text;
}

}  // namespace

void CommitAndClose(CDialog& dialog)
{
    // A refused value keeps the dialog open with one message, not two.
    if (!dialog.UpdateData(true))
        return;
    dialog.UpdateData(false);
    dialog.CDialog::OnOK();
}

// --- mission objective

CLandscapeObjectiveDlg::CLandscapeObjectiveDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CDialog(ObjectiveTemplate(), parent)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    for (int k = 1; k <= LandscapeMeasureCount; ++k) {
        Used[k] = s.LandscapeObjectiveUsed[k];
        Weight[k] = s.LandscapeObjectiveWeight[k];
        OnButton(UseIds[k], [this, k] {
            UpdateData(true);
            Used[k] = Used[k] == 1 ? 0 : 1;
            UpdateData(false);
        });
    }
    WinThreshold = doc.Experiment.LandscapeWinThreshold;
    PlotKind = s.LandscapePlotKind;
    GraphKind = s.LandscapeGraphKind;
    ColorMode = s.LandscapeColorMode;
    OnButton(IDC_FITNESS_AVE, [this] { Choose(PlotKind, 1); });
    OnButton(IDC_FITNESS_DELTA, [this] { Choose(PlotKind, 2); });
    OnButton(IDC_SURFACE, [this] { Choose(GraphKind, 1); });
    OnButton(IDC_DENSITY, [this] { Choose(GraphKind, 2); });
    OnButton(IDC_WIN, [this] { Choose(GraphKind, 3); });
    OnButton(IDC_COLOR, [this] { Choose(ColorMode, 1); });
    OnButton(IDC_GRAYSCALE, [this] { Choose(ColorMode, 2); });
}

void CLandscapeObjectiveDlg::Choose(int& field, int value)
{
    field = value;
    UpdateData(false);
    OnInitDialog();
}

bool CLandscapeObjectiveDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_FITNESS_AVE, IDC_FITNESS_DELTA, PlotKind == 1 ? IDC_FITNESS_AVE : IDC_FITNESS_DELTA);
    CheckDlgButton(IDC_SURFACE, GraphKind == 1);
    CheckDlgButton(IDC_DENSITY, GraphKind == 2);
    CheckDlgButton(IDC_WIN, GraphKind != 1 && GraphKind != 2);
    CheckRadioButton(IDC_COLOR, IDC_GRAYSCALE, ColorMode == 1 ? IDC_COLOR : IDC_GRAYSCALE);
    for (int k = 1; k <= LandscapeMeasureCount; ++k)
        CheckDlgButton(UseIds[k], Used[k] == 1);
    return true;
}

void CLandscapeObjectiveDlg::DoDataExchange(CDataExchange& dx)
{
    namespace L = LandscapeLimits;
    for (int k = 1; k <= LandscapeMeasureCount; ++k) {
        DDX_Text(dx, WeightIds[k], Weight[k]);
        DDV_MinMaxDouble(dx, Weight[k], L::Weight.Low, L::Weight.High);
    }
    DDX_Text(dx, IDC_WIN_THRESHOLD, WinThreshold);
    DDV_MinMaxDouble(dx, WinThreshold, L::WinThreshold.Low, L::WinThreshold.High);
}

// --- run-time parameters

CLandscapeRunParamsDlg::CLandscapeRunParamsDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CDialog(RunParamsTemplate(), parent)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const CBattlefield& f = doc.Battlefield;
    InitialConditions = s.LandscapeInitialConditions;
    MaxTimeToFlag = s.LandscapeMaxTimeToFlag;
    PenaltyPower = s.LandscapePenaltyPower;
    TerminationCode = s.LandscapeTerminationCode;
    ContainmentRange = static_cast<int>(std::clamp(s.LandscapeContainmentRange, -1.0e9, 1.0e9));
    ContainmentNumber = static_cast<int>(std::clamp(s.LandscapeContainmentNumber, -1.0e9, 1.0e9));
    CenterOfMassFraction = s.LandscapeCenterOfMassFraction;
    UseTerritory = s.LandscapeUseTerritory == 1 ? 1 : 0;
    ThresholdRange = f.TerritoryRange;
    SurroundingNumber = f.TerritoryMinCount;
    Delta = f.TerritoryDelta;
    CenterX = f.TerritoryCenterX;
    CenterY = f.TerritoryCenterY;
    RangeX = f.TerritoryRangeX;
    RangeY = f.TerritoryRangeY;
    TimeMin = s.LandscapeTerritoryTimeMin;
    TimeMax = s.LandscapeTerritoryTimeMax;
    SymmetrizeAliveInjured = s.LandscapeSymmetrizeAliveInjured;
    SymmetrizeWeights = s.LandscapeSymmetrizeWeights;

    auto radio = [this](int& field, int value) {
        field = value;
        UpdateData(false);
        OnInitDialog();
    };
    OnButton(IDC_SYM_AI_YES, [this, radio] { radio(SymmetrizeAliveInjured, 1); });
    OnButton(IDC_SYM_AI_NO, [this, radio] { radio(SymmetrizeAliveInjured, 0); });
    OnButton(IDC_SYM_W_YES, [this, radio] { radio(SymmetrizeWeights, 1); });
    OnButton(IDC_SYM_W_NO, [this, radio] { radio(SymmetrizeWeights, 0); });
    OnButton(IDC_USE_TERRITORY, [this] {
        UpdateData(true);
        UseTerritory = UseTerritory == 1 ? 0 : 1;
        UpdateData(false);
    });
}

bool CLandscapeRunParamsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_SYM_AI_YES, IDC_SYM_AI_NO, SymmetrizeAliveInjured == 1 ? IDC_SYM_AI_YES : IDC_SYM_AI_NO);
    CheckRadioButton(IDC_SYM_W_YES, IDC_SYM_W_NO, SymmetrizeWeights == 1 ? IDC_SYM_W_YES : IDC_SYM_W_NO);
    CheckDlgButton(IDC_USE_TERRITORY, UseTerritory == 1);
    return true;
}

void CLandscapeRunParamsDlg::DoDataExchange(CDataExchange& dx)
{
    // Initial conditions and run length are held to what the result arrays
    // and the step loop can take.
    auto number = [&dx](int id, int& value, ValueLimit limit) {
        DDX_Text(dx, id, value);
        DDV_MinMaxInt(dx, value, limit.IntLow(), limit.IntHigh());
    };
    namespace L = LandscapeLimits;
    number(IDC_CONDITIONS, InitialConditions, L::InitialConditions);
    number(IDC_MAX_TIME, MaxTimeToFlag, L::MaxTimeToFlag);
    number(IDC_POWER, PenaltyPower, L::PenaltyPower);
    number(IDC_TERMINATION, TerminationCode, L::TerminationCode);
    number(IDC_CONTAIN_RANGE, ContainmentRange, L::ContainmentRange);
    number(IDC_CONTAIN_NUMBER, ContainmentNumber, L::ContainmentNumber);
    DDX_Text(dx, IDC_COM_FRACTION, CenterOfMassFraction);
    DDV_MinMaxDouble(dx, CenterOfMassFraction, L::CenterOfMassFraction.Low, L::CenterOfMassFraction.High);
    number(IDC_THRESHOLD_RANGE, ThresholdRange, L::ThresholdRange);
    number(IDC_SURROUNDING, SurroundingNumber, L::SurroundingNumber);
    number(IDC_DELTA, Delta, L::Delta);
    number(IDC_CENTER_X, CenterX, L::CenterX);
    number(IDC_CENTER_Y, CenterY, L::CenterY);
    number(IDC_RANGE_X, RangeX, L::BoxRange);
    number(IDC_RANGE_Y, RangeY, L::BoxRange);
    number(IDC_TIME_MIN, TimeMin, L::TerritoryTime);
    number(IDC_TIME_MAX, TimeMax, L::TerritoryTime);
}

// --- raw data question

CLandscapeRawDataDlg::CLandscapeRawDataDlg(const CBrevimarDoc&, QWidget* parent) : CDialog(RawDataTemplate(), parent)
{
    if (QWidget* cancel = GetDlgItem(IDCANCEL))
        cancel->hide();
    OnButton(IDC_YES, [this] {
        StoreRawData = 1;
        OnInitDialog();
    });
    OnButton(IDC_NO, [this] {
        StoreRawData = 0;
        OnInitDialog();
    });
}

bool CLandscapeRawDataDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_YES, IDC_NO, StoreRawData != 0 ? IDC_YES : IDC_NO);
    return true;
}

// --- (x, y) parameters

CLandscapeParamsDlg::CLandscapeParamsDlg(const CBrevimarDoc& doc, QWidget* parent) : CDialog(ParamsTemplate(), parent)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    XIndex = s.LandscapeXParameter;
    YIndex = s.LandscapeYParameter;
    Squad = s.LandscapeSquad;
    RedSquadCount = doc.RedForce.NumSquads;
    XName = LandscapeParameter(XIndex).Name;
    YName = LandscapeParameter(YIndex).Name;
    // The dialog offers the default ranges of the current parameters.
    const LandscapeParameterEntry& x = LandscapeParameter(XIndex);
    const LandscapeParameterEntry& y = LandscapeParameter(YIndex);
    XSamples = x.Samples, XMin = x.Min, XMax = x.Max;
    YSamples = y.Samples, YMin = y.Min, YMax = y.Max;
    SquadChoice = -1;
    for (int k = 1; k <= MaxSquads; ++k)
        OnButton(SquadIds[k - 1], [this, k] { OnSelectSquad(k); });
    AttachCombo(IDC_X_NAME);
    AttachCombo(IDC_Y_NAME);
}

void CLandscapeParamsDlg::AttachCombo(int id)
{
    // The combo box stands in for the edit that holds the name, so the
    // exchange and the test hooks keep working on the text.
    auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id));
    if (!edit || !edit->parentWidget() || !edit->parentWidget()->layout())
        return;
    auto* combo = new QComboBox(edit->parentWidget());
    for (int i = 1; i <= LandscapeParameterCount; ++i)
        combo->addItem(QString::fromUtf8(LandscapeParameter(i).Name));
    delete edit->parentWidget()->layout()->replaceWidget(edit, combo);
    edit->hide();
    Combos[id == IDC_X_NAME ? 0 : 1] = combo;
    connect(edit, &QLineEdit::textChanged, combo, [combo](const QString& text) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(combo->findText(text));
    });
    connect(combo, &QComboBox::activated, this, [this, edit, combo](int) {
        edit->setText(combo->currentText());
        OnSelchangeParameter();
    });
}

bool CLandscapeParamsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (Squad >= 1 && Squad <= MaxSquads)
        CheckRadioButton(SquadIds[0], SquadIds[MaxSquads - 1], SquadIds[Squad - 1]);
    return true;
}

void CLandscapeParamsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    // The indices the command will store: a name that matches none keeps its index.
    const int x = FindLandscapeParameter(XName.c_str());
    const int y = FindLandscapeParameter(YName.c_str());
    const std::string problem = CheckLandscapeCoordinates(Squad, RedSquadCount, x != 0 ? x : XIndex, XMin, XMax,
                                                          y != 0 ? y : YIndex, YMin, YMax);
    if (!problem.empty()) {
        MessageBox(problem, {}, MB_OK | MB_ICONWARNING);
        return;
    }
    CDialog::OnOK();
}

void CLandscapeParamsDlg::OnSelectSquad(int squad)
{
    if (squad == 1 || squad <= RedSquadCount)
        Squad = squad;
    // A squad beyond the force's count is not taken: the mark goes back.
    CheckRadioButton(SquadIds[0], SquadIds[MaxSquads - 1], SquadIds[Squad - 1]);
    UpdateData(false);
}

void CLandscapeParamsDlg::OnSelchangeParameter()
{
    UpdateData(true);
    UpdateParameterRanges();
}

void CLandscapeParamsDlg::UpdateParameterRanges()
{
    if (const int x = FindLandscapeParameter(XName.c_str()))
        XIndex = x;
    if (const int y = FindLandscapeParameter(YName.c_str()))
        YIndex = y;
    const LandscapeParameterEntry& x = LandscapeParameter(XIndex);
    const LandscapeParameterEntry& y = LandscapeParameter(YIndex);
    XSamples = x.Samples, XMin = x.Min, XMax = x.Max;
    YSamples = y.Samples, YMin = y.Min, YMax = y.Max;
    UpdateData(false);
}

void CLandscapeParamsDlg::DoDataExchange(CDataExchange& dx)
{
    ExchangeName(dx, IDC_X_NAME, XName);
    ExchangeName(dx, IDC_Y_NAME, YName);
    namespace L = LandscapeLimits;
    auto bound = [&dx](int id, double& value) {
        DDX_Text(dx, id, value);
        DDV_MinMaxDouble(dx, value, L::Axis.Low, L::Axis.High);
    };
    // At most 50 values per axis: the result arrays hold no more.
    auto samples = [&dx](int id, int& value) {
        DDX_Text(dx, id, value);
        DDV_MinMaxInt(dx, value, L::Samples.IntLow(), L::Samples.IntHigh());
    };
    bound(IDC_X_MIN, XMin);
    bound(IDC_X_MAX, XMax);
    samples(IDC_X_SAMPLES, XSamples);
    bound(IDC_Y_MIN, YMin);
    bound(IDC_Y_MAX, YMax);
    samples(IDC_Y_SAMPLES, YSamples);
}

}  // namespace brevimar
