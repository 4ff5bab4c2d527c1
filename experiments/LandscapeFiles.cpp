#include "experiments/LandscapeFiles.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <iomanip>
#include <iostream>
#include <locale>
#include <ostream>

#include "core/Document.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "files/FileCommandFrame.h"
#include "files/ReadReport.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

constexpr const char* InputFilter =
    "Brevimar 2-Parameter Fitness Landscape Input Data Files (*.f1)|*.f1||";

// The fields of an input file in reading order, headers as word counts.
bool ReadInput(CWordReader& r, CLandscapeInput& in)
{
    CLandscapeSettings& s = in.Settings;
    auto value = [&r](auto& field) { return r.Skip(1) && r.Read(field); };
    return r.Skip(6) && value(s.LandscapeSymmetrizeAliveInjured) && value(s.LandscapeSymmetrizeWeights) &&
           value(s.LandscapeInitialConditions) && value(s.LandscapeMaxTimeToFlag) &&
           value(s.LandscapePenaltyPower) && value(s.LandscapeTerminationCode) &&
           value(s.LandscapeContainmentRange) && value(s.LandscapeContainmentNumber) &&
           value(s.LandscapeCenterOfMassFraction) &&
           r.Skip(6) && value(s.LandscapeUseTerritory) && value(in.TerritoryRange) && value(in.TerritoryMinCount) &&
           value(in.TerritoryDelta) && value(in.TerritoryCenterX) && value(in.TerritoryRangeX) &&
           value(in.TerritoryCenterY) && value(in.TerritoryRangeY) && value(s.LandscapeTerritoryTimeMin) &&
           value(s.LandscapeTerritoryTimeMax) &&
           r.Skip(6) && value(s.LandscapeSquad) && value(s.LandscapeXParameter) && value(s.LandscapeXMin) &&
           value(s.LandscapeXMax) && value(s.LandscapeXSamples) && value(s.LandscapeYParameter) &&
           value(s.LandscapeYMin) && value(s.LandscapeYMax) && value(s.LandscapeYSamples) &&
           r.Skip(5) && value(s.LandscapePlotKind) && value(s.LandscapeGraphKind) && value(s.LandscapeColorMode) &&
           r.Skip(6) && [&] {
               for (int i = 1; i <= LandscapeMeasureCount; ++i) {
                   if (!r.Skip(1))
                       return false;
                   for (int c = 1; c <= LandscapeMeasureCount; ++c)
                       if (!r.Read(s.LandscapeMeasureMatrix[i][c]))
                           return false;
               }
               return true;
           }();
}

// Every value within what its dialog accepts, in the order of the file.
std::string CheckInputValues(const CLandscapeInput& in)
{
    namespace L = LandscapeLimits;
    const CLandscapeSettings& s = in.Settings;
    const struct {
        const char* Name;
        double Value;
        ValueLimit Limit;
    } values[] = {
        {"the symmetrize alive/injured switch", double(s.LandscapeSymmetrizeAliveInjured), L::Switch},
        {"the symmetrize weights switch", double(s.LandscapeSymmetrizeWeights), L::Switch},
        {"the number of initial conditions", double(s.LandscapeInitialConditions), L::InitialConditions},
        {"the maximum time to the enemy flag", double(s.LandscapeMaxTimeToFlag), L::MaxTimeToFlag},
        {"the penalty power factor", double(s.LandscapePenaltyPower), L::PenaltyPower},
        {"the termination code", double(s.LandscapeTerminationCode), L::TerminationCode},
        {"the flag containment range", s.LandscapeContainmentRange, L::ContainmentRange},
        {"the containment number", s.LandscapeContainmentNumber, L::ContainmentNumber},
        {"the centre-of-mass fraction", s.LandscapeCenterOfMassFraction, L::CenterOfMassFraction},
        {"the territorial possession switch", double(s.LandscapeUseTerritory), L::Switch},
        {"the territorial possession range", double(in.TerritoryRange), L::ThresholdRange},
        {"the territorial possession surrounding number", double(in.TerritoryMinCount), L::SurroundingNumber},
        {"the territorial possession delta", double(in.TerritoryDelta), L::Delta},
        {"the territorial possession centre x", double(in.TerritoryCenterX), L::CenterX},
        {"the territorial possession range x", double(in.TerritoryRangeX), L::BoxRange},
        {"the territorial possession centre y", double(in.TerritoryCenterY), L::CenterY},
        {"the territorial possession range y", double(in.TerritoryRangeY), L::BoxRange},
        {"the territorial possession time_min", double(s.LandscapeTerritoryTimeMin), L::TerritoryTime},
        {"the territorial possession time_max", double(s.LandscapeTerritoryTimeMax), L::TerritoryTime},
        {"the RED squad", double(s.LandscapeSquad), L::Squad},
        {"the x parameter", double(s.LandscapeXParameter), L::Parameter},
        {"x_min", s.LandscapeXMin, L::Axis},
        {"x_max", s.LandscapeXMax, L::Axis},
        {"the number of x samples", double(s.LandscapeXSamples), L::Samples},
        {"the y parameter", double(s.LandscapeYParameter), L::Parameter},
        {"y_min", s.LandscapeYMin, L::Axis},
        {"y_max", s.LandscapeYMax, L::Axis},
        {"the number of y samples", double(s.LandscapeYSamples), L::Samples},
        {"the plot choice", double(s.LandscapePlotKind), L::PlotKind},
        {"the graph choice", double(s.LandscapeGraphKind), L::GraphKind},
        {"the colour choice", double(s.LandscapeColorMode), L::ColorMode},
    };
    auto outside = [](const std::string& name, double value, ValueLimit limit) {
        return name + " is " + ShortestNumber(value) + "; it must be " + ShortestNumber(limit.Low) + " to " +
               ShortestNumber(limit.High) + ".";
    };
    for (const auto& v : values)
        if (!v.Limit.Holds(v.Value))
            return outside(v.Name, v.Value, v.Limit);
    for (int i = 1; i <= LandscapeMeasureCount; ++i)
        for (int c = 1; c <= LandscapeMeasureCount; ++c)
            if (!L::CombinationWeight.Holds(s.LandscapeMeasureMatrix[i][c]))
                return outside("the weight of measure " + std::to_string(i) + " in combination " + std::to_string(c),
                               s.LandscapeMeasureMatrix[i][c], L::CombinationWeight);
    // What the sweep itself needs besides: a squad of the scenario, values
    // the swept fields take, axes whose steps advance.
    return CheckLandscapeSettings(s, in.RedSquads);
}

void CommitInput(CBrevimarDoc& doc, const CLandscapeInput& in)
{
    CBattlefield& f = doc.Battlefield;
    CLandscapeSettings& s = doc.Landscape.Settings;
    s = in.Settings;
    // A file that does not ask for the territorial measures leaves the
    // user-defined area as it was.
    if (s.LandscapeUseTerritory == 1)
        f.TerritoryUserArea = 1;
    f.TerritoryRange = in.TerritoryRange;
    f.TerritoryMinCount = in.TerritoryMinCount;
    f.TerritoryDelta = in.TerritoryDelta;
    f.TerritoryCenterX = in.TerritoryCenterX;
    f.TerritoryRangeX = in.TerritoryRangeX;
    f.TerritoryCenterY = in.TerritoryCenterY;
    f.TerritoryRangeY = in.TerritoryRangeY;
    s.LandscapeTerritoryCells = CountLandscapeTerritoryCells(f);
    DeriveLandscapeGrid(doc);
    for (int k = 0; k < LandscapeMeasureSlots; ++k) {
        s.LandscapeObjectiveUsed[k] = 0;
        s.LandscapeObjectiveWeight[k] = k == 0 ? 0.0 : 1.0;
    }
    s.LandscapeObjectiveUsed[4] = 1;
}

// The ending every outcome of the command but a failed file shares.
void FinishLoadCommand(CBrevimarDoc& doc)
{
    ResetFitnessLandscapeData(doc);
    doc.RandomState = doc.InitialSeed;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    doc.ShowLandscapeStatus(1, 1);
    doc.Experiment.LandscapeBusy = 0;
    doc.host().InvalidateView();
}

void SelectLandscapeMode(CBrevimarDoc& doc)
{
    SetLandscapeModeDefaults(doc);
    ResetFitnessLandscapeData(doc);
    doc.Pause();
    doc.RunMode = FitnessLandscapeMode;
    doc.LoadInputFile = 0;
}

void Line(std::ostream& out, int stars)
{
    out << '\n' << std::string(static_cast<std::size_t>(stars), '*');
}

}  // namespace

CLandscapeInput StartingLandscapeInput(CBrevimarDoc& doc)
{
    const CBattlefield& field = doc.Battlefield;
    CLandscapeInput input;
    // Loading the file leaves a GA or landscape that stands, which puts back
    // what it wrote: the sweep runs on the scenario's squads, not on those
    // of the last member or grid point.
    const bool batch = doc.RunMode == GeneticAlgorithmMode || doc.RunMode == FitnessLandscapeMode;
    if (batch)
        doc.PutScenarioValuesBack(true);
    input.RedSquads = doc.RedForce.NumSquads;
    if (batch)
        doc.TakeBatchValuesAgain();
    for (int k = 1; k <= LandscapeMeasureCount; ++k)
        input.Settings.LandscapeMeasureMatrix[k][k] = 1.0;
    input.TerritoryRange = field.TerritoryRange;
    input.TerritoryMinCount = field.TerritoryMinCount;
    input.TerritoryDelta = field.TerritoryDelta;
    input.TerritoryCenterX = field.TerritoryCenterX;
    input.TerritoryRangeX = field.TerritoryRangeX;
    input.TerritoryCenterY = field.TerritoryCenterY;
    input.TerritoryRangeY = field.TerritoryRangeY;
    return input;
}

bool ParseLandscapeInput(std::string_view text, CLandscapeInput& input, std::string* problem)
{
    CWordReader reader(text);
    CLandscapeInput scratch = input;
    if (!ReadInput(reader, scratch)) {
        if (problem)
            *problem = reader.Failed() ? reader.Failure().Describe() : "the file ends early.";
        return false;
    }
    const std::string bad = CheckInputValues(scratch);
    if (!bad.empty()) {
        if (problem)
            *problem = bad;
        return false;
    }
    input = scratch;
    return true;
}

void OnLoadLandscapeFile(CBrevimarDoc& doc)
{
    doc.Pause();
    FileDialogRequest request;
    request.Filter = InputFilter;
    request.DefaultExtension = "f1";
    request.Title = "Load fitness landscape input data file";
    const std::optional<std::string> path = doc.host().ChooseFileToOpen(request);
    if (!path)
        return;  // cancelled: nothing changes, as with every other load
    std::string text, refusal;
    if (!ReadTextFile(*path, &text, &refusal)) {
        if (!refusal.empty()) {
            ReportReadProblem(doc, "The fitness landscape input file " + FileNameOf(*path) + " cannot be used: " +
                                       refusal + ".");
            return;
        }
        ReportReadProblem(doc, CannotOpenInputText + *path);
        return;
    }
    CLandscapeInput input = StartingLandscapeInput(doc);
    std::string problem;
    if (!ParseLandscapeInput(text, input, &problem)) {
        ReportReadProblem(doc, "The fitness landscape input file " + FileNameOf(*path) + " cannot be used: " + problem);
        return;
    }
    // The sweep's runs replace the battle a RUN capture holds.
    if (!doc.OfferCapturedFrames())
        return;
    ApplyLandscapeInput(doc, input);
}

void ApplyLandscapeInput(CBrevimarDoc& doc, const CLandscapeInput& input)
{
    doc.EndPausedBatch();
    doc.StartBatchWriteRecord();
    SelectLandscapeMode(doc);
    CommitInput(doc, input);
    FinishLoadCommand(doc);
}

void WriteRawFitnessReport(std::ostream& out, CBrevimarDoc& doc)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const CLandscapeResults& r = doc.Landscape.Results();
    const CLandscapeData& data = doc.Landscape;
    out.imbue(std::locale::classic());
    out << std::showpoint << std::setprecision(5);

    Line(out, 76);
    out << "\n                 RAW TWO_PARAMETER-FITNESS DATA";
    Line(out, 76);
    out << "\n";
    if (s.LandscapeXParameter >= 1 && s.LandscapeXParameter <= LandscapeParameterCount)
        out << "\nx_parameter: " << LandscapeParameter(s.LandscapeXParameter).ReportName;
    if (s.LandscapeYParameter >= 1 && s.LandscapeYParameter <= LandscapeParameterCount)
        out << "\ny_parameter: " << LandscapeParameter(s.LandscapeYParameter).ReportName;
    out << "\n";
    static const char* const objectives[LandscapeMeasureSlots] = {
        "",
        "\nMinimize Time to Goal:  ",
        "\nMinimize Number of Red Losses:  ",
        "\nMinimize Number of Blue Losses:  ",
        "\nMaximize Red/Blue Survival Ratio:  ",
        "\nMinimize Dist between Red-CoM and Blue-Flag:  ",
        "\nMaximize Dist Between Blue-CoM and Red-Flag:  ",
        "\nMaximize Number of Red Forces Near Blue Flag:  ",
        "\nMinimize Number of Blue Forces Near Red Flag:  ",
        "\nMinimize Total Number of Red Fratricide Hits:  ",
        "\nMaximize Number of Blue Fratricide Hits:  ",
        "\nMaximize Red Territorial Possession:  ",
        "\nMinimize Blue Territorial Possession:  ",
    };
    for (int k = 1; k <= LandscapeMeasureCount; ++k)
        out << objectives[k] << s.LandscapeObjectiveUsed[k] * s.LandscapeObjectiveWeight[k];
    Line(out, 85);
    out << "\n                                 n_power = 1";
    out << "\n";
    out << "\n     IC  t_G  R_loss  B_loss  Surv  RCM/BF  BCM/RF  R/BF  B/RF  RFr  BFr  RTr  BTr";
    Line(out, 85);

    // The axes as the sweep visits them, so the indices meet the arrays it filled.
    double xs[LandscapeAxisSlots] = {}, ys[LandscapeAxisSlots] = {};
    const int nx = LandscapeAxisValueCount(s.LandscapeXMin, s.LandscapeXMax, s.LandscapeXSamples);
    const int ny = LandscapeAxisValueCount(s.LandscapeYMin, s.LandscapeYMax, s.LandscapeYSamples);
    LandscapeAxisValues(s.LandscapeXMin, s.LandscapeXStep, nx, xs);
    LandscapeAxisValues(s.LandscapeYMin, s.LandscapeYStep, ny, ys);
    // Each point shows the values its runs used, in the place and the format
    // of the grid values, so the layout stays as readers of the report know
    // it: what the sweep read back from the fields, or, for a point no sweep
    // has set up, the value the field takes from the grid value alone.
    auto usedX = [&](int i, int j) {
        return r.LandscapePointSetUp[i][j] ? r.LandscapeXUsed[i][j] : LandscapeValueAsUsed(s.LandscapeXParameter, xs[i]);
    };
    auto usedY = [&](int i, int j) {
        return r.LandscapePointSetUp[i][j] ? r.LandscapeYUsed[i][j] : LandscapeValueAsUsed(s.LandscapeYParameter, ys[j]);
    };
    const int conditions = std::min(s.LandscapeInitialConditions, LandscapeMaxConditions);

    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) {
            out << "\nx = " << usedX(i, j);
            out << "\ny = " << usedY(i, j);
            for (int c = 1; c <= conditions; ++c) {
                out << "\n     " << c;
                for (int k = 1; k <= LandscapeMeasureCount; ++k)
                    out << ' ' << data.RawMeasureAt(k, i, j, c);
            }
            out << "\nAVE:   " << r.LandscapeMeasureMean[1][i][j];
            for (int k = 2; k <= LandscapeMeasureCount; ++k)
                out << ' ' << r.LandscapeMeasureMean[k][i][j];
            out << "\n";
        }

    out << "\n";
    Line(out, 76);
    out << "\n            RAW TWO_PARAMETER-FITNESS DATA (for selected mission)";
    out << "\n";
    out << "\nFORMAT:";
    out << "\nx_sample::y_sample::fitness:mean_absolute_deviation";
    Line(out, 76);
    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) {
            double f = 0.0, d2 = 0.0;
            for (int k = 1; k <= LandscapeMeasureCount; ++k) {
                const double use = s.LandscapeObjectiveUsed[k];
                const double w = s.LandscapeObjectiveWeight[k];
                f += use * w * r.LandscapeFitnessAve[k][i][j];
                d2 += use * w * w * r.LandscapeFitnessDelta[k][i][j] * r.LandscapeFitnessDelta[k][i][j];
            }
            f = f > 1.0 ? 1.0 : (f < 0.0 ? 0.0 : f);
            out << "\n" << usedX(i, j) << "     " << usedY(i, j) << "     " << f << "     " << std::sqrt(d2);
        }
}

void SaveRawFitnessFile(CBrevimarDoc& doc)
{
    RunFileCommand(doc, FileCommand::FitnessWrite,
                   [&doc](std::iostream& stream, const ChosenFile&) { WriteRawFitnessReport(stream, doc); });
}

}  // namespace brevimar
