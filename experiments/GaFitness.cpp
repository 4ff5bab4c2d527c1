// Mission fitness: the per-step measures of an evaluation run, the ten
// primitives scored when it ends, the generation statistics and the status
// line; and the generation driver that runs them.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

int TruncDistance(double x0, double y0, double x1, double y1)
{
    return static_cast<int>(std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0)));
}

// Cells of the battlefield within the square of half-side r around (x, y).
int CellsAround(int x, int y, int r, int size)
{
    const int w = std::min(size, x + r) - std::max(1, x - r) + 1;
    const int h = std::min(size, y + r) - std::max(1, y - r) + 1;
    return w > 0 && h > 0 ? w * h : 0;
}

// Centre of mass of a side's live agents; an empty side counts as one agent
// at (0, 0).
void CentreOfMass(const CForce& f, double* x, double* y)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int i = 1; i <= f.NumAgents; ++i)
        if (f.AgentState[i] > 0) {
            sx += f.AgentX[i];
            sy += f.AgentY[i];
            ++n;
        }
    const int count = n > 0 ? n : 1;
    *x = sx / count;
    *y = sy / count;
}

// The readers and dialogs keep the range within the largest battlefield;
// the bound here only keeps a range set some other way from overflowing.
int ContainmentRadius(double range)
{
    return range > 0 ? static_cast<int>(std::min(range, static_cast<double>(MaxBattleSize))) : 0;
}

int LiveInSquare(const CForce& f, int x, int y, int r)
{
    int n = 0;
    for (int i = 1; i <= f.NumAgents; ++i)
        if (f.AgentState[i] > 0 && std::abs(f.AgentX[i] - x) <= r && std::abs(f.AgentY[i] - y) <= r)
            ++n;
    return n;
}

int Survivors(const CForce& f)
{
    int n = 0;
    for (int i = 1; i <= f.NumAgents; ++i)
        n += f.AgentState[i] > 0;
    return n;
}

}  // namespace

void CGeneticAlgorithm::UpdateCenterOfMassMeasure()
{
    const int ic = Ga.GaConditionIndex;
    const double norm = Ga.GaDistanceNorm > 0 ? Ga.GaDistanceNorm : 1;
    double x = 0, y = 0;
    CentreOfMass(Doc.RedForce, &x, &y);
    double d = std::hypot(x - Doc.RedForce.GoalFlagX, y - Doc.RedForce.GoalFlagY) / norm;
    d = std::min(d, 1.0);
    if (d <= Ga.GaCenterOfMassFraction)
        Ga.GaStopFlag = 1;
    Ga.PrimitiveScore[5][ic] += d;
    CentreOfMass(Doc.BlueForce, &x, &y);
    d = std::min(std::hypot(x - Doc.BlueForce.GoalFlagX, y - Doc.BlueForce.GoalFlagY) / norm, 1.0);
    Ga.PrimitiveScore[6][ic] += d;
}

void CGeneticAlgorithm::UpdateFlagContainment()
{
    const int ic = Ga.GaConditionIndex;
    const int r = ContainmentRadius(Ga.GaContainmentRange);
    const int nR = LiveInSquare(Doc.RedForce, Doc.RedForce.GoalFlagX, Doc.RedForce.GoalFlagY, r);
    const int nB = LiveInSquare(Doc.BlueForce, Doc.BlueForce.GoalFlagX, Doc.BlueForce.GoalFlagY, r);
    if (nR >= Ga.GaContainmentNumber)
        Ga.GaStopFlag = 1;
    Ga.PrimitiveScore[7][ic] += static_cast<double>(nR) / std::max(Ga.GaRedContainmentCap, 1);
    Ga.PrimitiveScore[8][ic] += static_cast<double>(nB) / std::max(Ga.GaBlueContainmentCap, 1);
}

void CGeneticAlgorithm::ComputeMemberConstants()
{
    const CBattlefield& field = Doc.Battlefield;
    const int size = field.BattleSize;
    const int fx = Doc.RedForce.GoalFlagX, fy = Doc.RedForce.GoalFlagY;    // the BLUE flag
    const int bx = Doc.BlueForce.GoalFlagX, by = Doc.BlueForce.GoalFlagY;  // the RED flag
    const int redSquads = std::clamp(Ga.GaSquadCount, 1, MaxSquads);
    const int blueSquads = std::clamp(Doc.BlueForce.NumSquads, 1, MaxSquads);
    const int R = ContainmentRadius(Ga.GaContainmentRange);

    Ga.GaMinTimeToFlag = 99999;
    for (int s = 1; s <= redSquads; ++s) {
        const double cx = field.RED_cen_x[s] - 0.5 * field.R_box_l[s];
        const double cy = field.RED_cen_y[s] - 0.5 * field.R_box_w[s];
        Ga.GaMinTimeToFlag = std::min(Ga.GaMinTimeToFlag, TruncDistance(cx, cy, fx, fy) - 1);
    }
    Ga.GaDistanceNorm = 1 + static_cast<int>(size * 1.4142135);
    Ga.GaContainmentRadius = R;
    Ga.GaBlueContainmentCap = std::min(CellsAround(bx, by, R, size), Doc.BlueForce.NumAgents);
    Ga.GaRedContainmentCap = std::min(CellsAround(fx, fy, R, size), Doc.RedForce.NumAgents);
    Ga.GaRedContainmentStart = 99999;
    for (int s = 1; s <= redSquads; ++s) {
        const double cx = field.RED_cen_x[s] - 0.5 * field.R_box_l[s];
        const double cy = field.RED_cen_y[s] - 0.5 * field.R_box_w[s];
        Ga.GaRedContainmentStart = std::min(Ga.GaRedContainmentStart, TruncDistance(cx, cy, fx - R, fy - R) - 1);
    }
    // The same squad numbers as RED's, as far as BLUE has them.
    Ga.GaBlueContainmentStart = 99999;
    for (int s = 1; s <= std::min(redSquads, blueSquads); ++s) {
        const double cx = field.BLUE_cen_x[s] - 0.5 * field.B_box_l[s];
        const double cy = field.BLUE_cen_y[s] - 0.5 * field.B_box_w[s];
        Ga.GaBlueContainmentStart = std::min(Ga.GaBlueContainmentStart, TruncDistance(cx, cy, bx + R, by + R) - 1);
    }
    Ga.GaContainmentStart = std::min(Ga.GaRedContainmentStart, Ga.GaBlueContainmentStart);
}

void CGeneticAlgorithm::ScoreRun()
{
    const int ic = Ga.GaConditionIndex;
    const int p = Ga.GaPenaltyPower;
    const double* w = Ga.MissionWeight;
    double* const score[GaPrimitiveSlots] = {nullptr,
                                             &Ga.PrimitiveScore[1][ic], &Ga.PrimitiveScore[2][ic],
                                             &Ga.PrimitiveScore[3][ic], &Ga.PrimitiveScore[4][ic],
                                             &Ga.PrimitiveScore[5][ic], &Ga.PrimitiveScore[6][ic],
                                             &Ga.PrimitiveScore[7][ic], &Ga.PrimitiveScore[8][ic],
                                             &Ga.PrimitiveScore[9][ic], &Ga.PrimitiveScore[10][ic]};
    auto power = [p](double base) { return std::pow(base, p); };
    const double nRed = std::max(Doc.RedForce.NumAgents, 1);
    const double nBlueCount = Doc.BlueForce.NumAgents;
    const double nBlue = std::max(Doc.BlueForce.NumAgents, 1);
    const double T = Ga.GaTime, E = Ga.GaEndTime;

    // 1: a run that ends before the earliest possible arrival scores as if it
    // had arrived then; a span of 0 counts as 1 and a late run scores 0.
    const double span = std::max(Ga.GaMaxTimeToFlag - Ga.GaMinTimeToFlag, 1);
    *score[1] = power(std::max((Ga.GaMaxTimeToFlag - T) / span, 0.0));

    Ga.GaRedSurvivors = Survivors(Doc.RedForce);
    Ga.GaBlueSurvivors = Survivors(Doc.BlueForce);
    *score[2] = power(Ga.GaRedSurvivors / nRed);
    *score[3] = power((nBlueCount - Ga.GaBlueSurvivors) / nBlue);
    // 4: the survival ratio. From two BLUE agents on the formula holds as it
    // is (its denominator is at least 1). One BLUE agent (or none) leaves the
    // ratio blind to BLUE's fate and the formula dividing by zero; there the
    // score keeps the formula's anchors: RED's share when BLUE is gone, half
    // of it while BLUE stands.
    const double redShare = Ga.GaRedSurvivors / nRed;
    double ratio = 0;
    if (nBlueCount >= 2) {
        const double r = redShare / std::max(Ga.GaBlueSurvivors, 1);
        ratio = r * (nBlueCount - 1) / ((nBlueCount - 2) * r + 1);
    } else {
        ratio = redShare / (1 + std::min(Ga.GaBlueSurvivors, 1));
    }
    *score[4] = power(ratio);

    *score[5] = w[5] != 0 ? power(1 - *score[5] / E) : 0;
    *score[6] = w[6] != 0 ? power(*score[6] / E) : 0;
    // 7 and 8: a run that ended just as containment began scores 1.
    const double held = E - Ga.GaContainmentStart;
    *score[7] = w[7] != 0 ? (held == 0 ? 1.0 : power(*score[7] / held)) : 0;
    *score[8] = (w[7] != 0 || w[8] != 0) ? (held == 0 ? 1.0 : power(1 - *score[8] / held)) : 0;
    const CBattlefield& field = Doc.Battlefield;
    *score[9] = field.red_frat_flag == 1 ? power(1 - std::min(field.RedFratricideCount / nRed, 1.0)) : 0;
    *score[10] = field.blue_frat_flag == 1 ? power(std::min(field.BlueFratricideCount / nBlue, 1.0)) : 0;
}

double CGeneticAlgorithm::MemberFitness() const
{
    const int conditions = std::clamp(Ga.GaInitialConditions, 1, GaMaxConditions);
    double sum = 0;
    for (int ic = 1; ic <= conditions; ++ic)
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            sum += Ga.MissionWeight[k] * Ga.PrimitiveScore[k][ic];
    const double fitness = sum / conditions;
    if (!(fitness >= 0))
        return 0;
    return std::min(fitness, 1.0);
}

CGeneticAlgorithm::Figures CGeneticAlgorithm::PopulationFigures()
{
    const int P = Population();
    Figures f;
    double sum = 0;
    for (int m = 0; m < P; ++m) {
        const double x = Member(m).Fitness;
        if (m == 0 || x < f.Worst)
            f.Worst = x;
        if (m == 0 || x > f.Best)
            f.Best = x;
        sum += x;
    }
    f.Average = P > 0 ? sum / P : 0;
    return f;
}

void CGeneticAlgorithm::GenerationStatistics()
{
    const int g = std::clamp(Doc.Experiment.GaGeneration, 0, GaHistorySlots - 1);
    const Figures f = PopulationFigures();
    if (Population() > 0) {
        Ga.GaWorstFitness = std::min(Ga.GaWorstFitness, f.Worst);
        Ga.GaGenWorst[g] = std::min(Ga.GaGenWorst[g], f.Worst);
        Ga.GaGenBest[g] = std::max(Ga.GaGenBest[g], f.Best);
    }
    Ga.GaAverageFitness = Ga.GaGenAverage[g] = f.Average;
    Ga.GaBestFitness = Best().Fitness;
}

std::string CGeneticAlgorithm::GaStatusLine() const
{
    const CGaMember& best = Records.GaPopulation[Population()];
    std::ostringstream text;
    text << ' ' << Doc.InputFileName << "      [ G ]: " << Doc.Experiment.GaGeneration << '/'
         << Doc.Experiment.GaGenerations << "   [ P ]: " << Ga.GaMemberIndex << '/' << Ga.GaPopulationSize
         << "   [ IC ]: " << Ga.GaConditionIndex << '/' << Ga.GaInitialConditions << "   [ T ]: " << Ga.GaTime
         << '/' << Ga.GaMaxTimeToFlag << "     [ F_max ]: " << static_cast<int>(10000 * best.Fitness)
         << " / 10000";
    return text.str();
}

void CGeneticAlgorithm::UpdateGaStatusLine()
{
    Doc.host().SetStatusText(GaStatusLine());
}

// ---------------------------------------------------------------- driver

std::string CGeneticAlgorithm::SettingsProblem() const
{
    if (Ga.GaPopulationSize < 1 || Ga.GaPopulationSize > GaMaxPopulation)
        return "The population size must lie between 1 and 300.";
    if (Ga.GaInitialConditions < 1 || Ga.GaInitialConditions > GaMaxConditions)
        return "The number of initial conditions must lie between 1 and 100.";
    if (Doc.Experiment.GaGenerations < 1 || Doc.Experiment.GaGenerations > GaMaxGenerations)
        return "The number of generations must lie between 1 and 999.";
    if (Ga.GaMaxTimeToFlag < 1)
        return "The maximum time to the enemy flag must be at least 1.";
    if (Ga.GaSquadCount < 1 || Ga.GaSquadCount > MaxSquads)
        return "The chromosome must cover between 1 and 10 squads.";
    if (Ga.GaTotalForceSize < 1 || Ga.GaTotalForceSize > MaxAgents)
        return "The total force size must lie between 1 and 300.";
    return {};
}

void CGeneticAlgorithm::RunOneCondition()
{
    const int ic = Ga.GaConditionIndex;
    Doc.Battlefield.RedFratricideCount = 0;
    Doc.Battlefield.BlueFratricideCount = 0;
    for (int k = 5; k <= 8; ++k)
        Ga.PrimitiveScore[k][ic] = 0;
    {
        const BatchWriteScope setUp(Doc, BatchWriteKind::SetUp);
        Doc.InitializeForces();
        Doc.RunTerminated = 0;
        Doc.SetupBattlefield();
    }

    const double* w = Ga.MissionWeight;
    const bool containment = w[7] != 0 || w[8] != 0 || Ga.GaTerminationRule == 2;
    const bool centreOfMass = w[5] != 0 || w[6] != 0 || Ga.GaTerminationRule == 3;
    Ga.GaTime = 0;
    for (;;) {
        ++Ga.GaTime;
        if (Doc.host().ShowsStatusText())
            UpdateGaStatusLine();
        Doc.host().PumpOneMessage();
        if (containment && Ga.GaTime >= Ga.GaContainmentStart) {
            Ga.GaStopFlag = 0;
            UpdateFlagContainment();
            if (Ga.GaTerminationRule == 2 && Ga.GaStopFlag == 1)
                break;
        }
        if (centreOfMass) {
            Ga.GaStopFlag = 0;
            UpdateCenterOfMassMeasure();
            if (Ga.GaTerminationRule == 3 && Ga.GaStopFlag == 1)
                break;
        }
        if (Ga.GaTime >= Ga.GaMaxTimeToFlag)
            break;
        // The step's period-gated movement reads the step within the run.
        Doc.RunHeader.CurrentStep = Ga.GaTime;
        Doc.StepSimulation();
    }
    Ga.GaEndTime = Ga.GaTime;
    if (Ga.GaTime < Ga.GaMinTimeToFlag)
        Ga.GaTime = Ga.GaMinTimeToFlag;
    ScoreRun();
    // The floor is what the time primitive scores; the status line shows the
    // step the run reached against its limit.
    Ga.GaTime = Ga.GaEndTime;
}

void CGeneticAlgorithm::RunGABatch(int timerId)
{
    Host& host = Doc.host();
    if (Doc.Paused == 1)
        Doc.Paused = 0;
    if (const std::string problem = SettingsProblem(); !problem.empty()) {
        Doc.Pause();
        host.ShowError(problem);
        return;
    }
    host.StartTimer(timerId, GaTimerPeriodMs);
    Doc.Experiment.GABusy = 1;
    // The first generation starts a GA: it says its set-up problems afresh.
    if (Doc.Experiment.GaGeneration == 0)
        Doc.SetupProblemsSaid = 0;
    if (Doc.Experiment.GaGeneration > 0) {
        SelectPopulation();
        CrossoverPopulation();
        MutatePopulation();
        Ga.GaAverageFitness = 0;
        GenerationStatistics();
    }
    const int P = Population();
    for (int m = 0; m < P; ++m) {
        Ga.GaMemberIndex = m;
        // The member's values, and the squad count they cover, are the search's.
        {
            const BatchWriteScope search(Doc, BatchWriteKind::Search);
            switch (Ga.GaSearchMode) {
            case GaPersonalityMode:
                DecodeChromosome(m, 1);
                Doc.RedForce.NumSquads = 1;
                Doc.MarkSquadsMadeByBatch(Side::Red);
                Ga.GaSquadCount = 1;
                break;
            case GaMultiSquadMode:
                for (int s = 1; s <= Ga.GaSquadCount; ++s)
                    DecodeChromosome(m, s);
                Doc.RedForce.NumSquads = Ga.GaSquadCount;
                Doc.MarkSquadCountOfBatch(Side::Red, Ga.GaSquadCount);
                break;
            case GaCompositionMode:
                DecodeChromosome(m, 1);
                Doc.MarkSquadsMadeByBatch(Side::Red);
                break;
            case GaCommMatrixMode:
            case GaWeightMatrixMode:
                DecodeChromosome(m, 1);
                break;
            default:
                break;
            }
        }
        {
            const BatchWriteScope setUp(Doc, BatchWriteKind::SetUp);
            Doc.InitializeForces();
        }
        if (Ga.GaSearchMode == GaCompositionMode)
            Ga.GaSquadCount = Doc.RedForce.NumSquads;
        ComputeMemberConstants();
        for (int ic = 1; ic <= Ga.GaInitialConditions; ++ic) {
            Ga.GaConditionIndex = ic;
            RunOneCondition();
        }
        Member(m).Fitness = MemberFitness();
    }
    if (Doc.Experiment.GaGeneration == 0)
        RecordFirstGeneration();
    else
        RecordGeneration();
    ++Doc.Experiment.GaGeneration;
    Doc.RunHeader.CurrentStep = Doc.Experiment.GaGeneration;
    Doc.Experiment.GABusy = 0;
    host.KillTimer(timerId);
    Ga.GaBestHistory[std::min(Doc.Experiment.GaGeneration, GaHistorySlots - 1)] = Ga.GaBestFitness;
    host.InvalidateView();
}

}  // namespace brevimar
