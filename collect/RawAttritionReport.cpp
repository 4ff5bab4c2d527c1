#include "collect/RawAttritionReport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "core/Document.h"
#include "files/FileCommandFrame.h"

namespace brevimar {

namespace {

// The single-step table shows the first 25 samples, whatever the run had.
constexpr int StepTableSamples = 25;
constexpr int Levels = 4;
constexpr int Red = 0, Blue = 1, Total = 2;

// A count used as a divisor: an empty side or run gives 0, not an error.
int Divisor(int count) { return count == 0 ? 1 : count; }

// The per-sample values of one of RED, BLUE and the two together.
struct SideTables {
    std::vector<int> Agents;         // [s]: what the sample held at its end
    int MostAgents = 0;              // over the samples
    std::vector<int> Held;           // [s][t], t = 0..T-1: what the sample held at step t
    std::vector<int> Survivors;      // [s][t], t = 0..T-1: alive plus injured
    std::vector<float> Final;        // [s]: agents lost by the last recorded step
    std::vector<float> Step;         // [s][t], t = 0..T: agents lost in step t
    std::vector<float> Fraction;     // [s]: Final over the agent count
    std::vector<std::array<int, Levels>> PercentTime, CasualtyTime;  // [s]; -1 = not reached
    float Smallest = 1.0f, Largest = 0.0f;  // of Fraction
};

struct Summary {
    float Sum = 0, Ave = 0, AbsDev = 0, StdDev = 0;
    double Var = 0;
};

// Sum, mean, mean absolute deviation and sample variance of values[1..S].
// The side summary keeps its variance in double precision; the squad
// summary works in single precision throughout.
Summary Summarise(const std::vector<float>& values, int S, bool doubleVariance)
{
    Summary r;
    for (int s = 1; s <= S; ++s)
        r.Sum += values[s];
    r.Ave = r.Sum / Divisor(S);
    float absSum = 0, sum = 0, squares = 0;
    for (int s = 1; s <= S; ++s) {
        const float ds = values[s] - r.Ave;
        absSum += std::fabs(ds);
        sum += ds;
        squares += ds * ds;
    }
    r.AbsDev = absSum / Divisor(S);
    if (doubleVariance)
        r.Var = (static_cast<double>(squares) - static_cast<double>(sum) * sum / Divisor(S)) / (S - 1);
    else
        r.Var = (squares - sum * sum / Divisor(S)) / static_cast<float>(S - 1);
    r.StdDev = static_cast<float>(std::sqrt(r.Var));
    return r;
}

class AttritionReport {
public:
    AttritionReport(const CBrevimarDoc& doc, const RawAttritionLevels& levels, std::ostream& out)
        : Doc(doc), Out(out),
          S(std::clamp(doc.MultiRunShape().Samples, 0, MaxMultiRunSamples)),
          T(std::clamp(doc.MultiRunShape().Steps, 0, MaxMultiRunSteps)), Recorded(std::max(T, 1))
    {
        for (int k = 0; k < Levels; ++k) {
            P[k] = levels.PercentLevel[k] * 0.01;
            N[k] = levels.CasualtyLevel[k];
        }
        SaveRateData = levels.SaveRateData;
    }

    void Write()
    {
        Out.setf(std::ios::showpoint);
        Out.precision(5);
        Collect();
        WriteTitleAndSummary();
        WriteFinalBySample();
        WriteRateDistributions();
        WriteCasualtyDistributions();
        WriteFractionsBySample();
        // Each squad table for RED then BLUE before the next table.
        for (const SquadTable table : {SquadSummary, SquadBySample, SquadCasualties})
            for (int side : {Red, Blue})
                WriteSquadTable(side, table);
        WriteBinnedDistributions();
        WriteLevelTimes(true);
        WriteLevelTimes(false);
        WriteSingleSteps();
        if (SaveRateData == 1)
            WriteRates();
    }

private:
    const CBrevimarDoc& Doc;
    std::ostream& Out;
    const int S, T;
    const int Recorded;  // steps 0..Recorded-1 hold values (at least the deployment)
    double P[Levels] = {}, N[Levels] = {};
    int SaveRateData = 0;
    SideTables Sides[3];

    int Surv(int side, int s, int t) const { return Sides[side].Survivors[s * Recorded + t]; }
    // Lost by step t, of the agents the sample held then: an agent placed
    // by hand in it counts from the step it joined.
    int Lost(int side, int s, int t) const { return Sides[side].Held[s * Recorded + t] - Surv(side, s, t); }
    float Step(int side, int s, int t) const { return Sides[side].Step[s * (T + 1) + t]; }

    template <typename V>
    std::ostream& W(int width, const V& value)
    {
        return Out << std::setw(width) << value;
    }

    void Collect()
    {
        const int last = Recorded - 1;
        const int* alive[2] = {Doc.SampleRedAlive.get(), Doc.SampleBlueAlive.get()};
        const int* injured[2] = {Doc.SampleRedInjured.get(), Doc.SampleBlueInjured.get()};
        for (SideTables& side : Sides)
            side.Agents.assign(S + 1, 0);
        for (SideTables& side : Sides)
            side.Held.assign((S + 1) * Recorded, 0);
        // Each sample counts against the force it held: an edit while the
        // batch stood paused changed the samples after it alone, and an agent
        // placed in it counts from the step it joined. Entry 0, the force as
        // it stands, sizes the tables of a batch without samples.
        for (int s = 0; s <= S; ++s) {
            Sides[Red].Agents[s] = Doc.SampleForce(Side::Red, s).Agents;
            Sides[Blue].Agents[s] = Doc.SampleForce(Side::Blue, s).Agents;
            Sides[Total].Agents[s] = Sides[Red].Agents[s] + Sides[Blue].Agents[s];
            for (int t = 0; t < Recorded; ++t) {
                const int red = Doc.SampleForce(Side::Red, s, t).Agents;
                const int blue = Doc.SampleForce(Side::Blue, s, t).Agents;
                Sides[Red].Held[s * Recorded + t] = red;
                Sides[Blue].Held[s * Recorded + t] = blue;
                Sides[Total].Held[s * Recorded + t] = red + blue;
            }
        }
        for (SideTables& side : Sides) {
            side.MostAgents = *std::max_element(side.Agents.begin() + (S > 0 ? 1 : 0), side.Agents.end());
            side.Survivors.assign((S + 1) * Recorded, 0);
            side.Final.assign(S + 1, 0.0f);
            side.Step.assign((S + 1) * (T + 1), 0.0f);
            side.Fraction.assign(S + 1, 0.0f);
            side.PercentTime.assign(S + 1, {-1, -1, -1, -1});
            side.CasualtyTime.assign(S + 1, {-1, -1, -1, -1});
        }
        const bool filled = alive[0] && alive[1] && injured[0] && injured[1];
        for (int s = 1; s <= S && filled; ++s)
            for (int t = 0; t < Recorded; ++t) {
                const int red = alive[Red][SampleIndex(s, t)] + injured[Red][SampleIndex(s, t)];
                const int blue = alive[Blue][SampleIndex(s, t)] + injured[Blue][SampleIndex(s, t)];
                Sides[Red].Survivors[s * Recorded + t] = red;
                Sides[Blue].Survivors[s * Recorded + t] = blue;
                Sides[Total].Survivors[s * Recorded + t] = red + blue;
            }
        for (int k = Red; k <= Total; ++k) {
            SideTables& side = Sides[k];
            for (int s = 1; s <= S; ++s) {
                const int agents = side.Agents[s];
                side.Final[s] = static_cast<float>(agents - Surv(k, s, last));
                // Step t holds the losses from the state before it to the
                // state after it, so the deployment's first step counts too
                // and the steps add up to the final attrition.
                for (int t = 1; t < T; ++t)
                    side.Step[s * (T + 1) + t] = static_cast<float>(Lost(k, s, t) - Lost(k, s, t - 1));
                for (int t = 1; t < T; ++t) {
                    const int held = side.Held[s * Recorded + t];
                    const double fraction = static_cast<double>(Surv(k, s, t)) / Divisor(held);
                    const int casualties = Lost(k, s, t);
                    for (int l = 0; l < Levels; ++l) {
                        // A side without agents never falls to a share of itself.
                        if (side.PercentTime[s][l] < 0 && held > 0 && fraction <= P[l])
                            side.PercentTime[s][l] = t;
                        if (side.CasualtyTime[s][l] < 0 && casualties >= N[l])
                            side.CasualtyTime[s][l] = t;
                    }
                }
                side.Fraction[s] = side.Final[s] / static_cast<float>(Divisor(agents));
                if (side.Fraction[s] < side.Smallest)
                    side.Smallest = side.Fraction[s];
                if (side.Fraction[s] > side.Largest)
                    side.Largest = side.Fraction[s];
            }
            if (S == 0)
                side.Smallest = side.Largest = 0.0f;
        }
    }

    void WriteTitleAndSummary()
    {
        const std::string rule(76, '*');
        Out << rule << "\n" << std::string(24, ' ') << "Raw Attrition Data\n" << rule;
        Out << "\nSamples:         ";
        W(10, S) << "   Time/Sample:     ";
        W(10, T) << "\n";
        const char* labels[3] = {"\nRed Attrition:   ", "\nBlue Attrition:  ", "\nTotal Attrition: "};
        for (int k = Red; k <= Total; ++k) {
            const Summary m = Summarise(Sides[k].Final, S, true);
            Out << labels[k];
            W(10, m.Sum) << "     Ave: ";
            W(10, m.Ave) << "     Abs Dev: ";
            W(10, m.AbsDev) << "     Std Dev: ";
            W(10, m.StdDev) << "     Var: ";
            W(10, m.Var);
        }
        Out << "\n";
    }

    void WriteFinalBySample()
    {
        Out << "\n===  (Total) Attrition by Sample: [Red Killed]  [Blue Killed]   [Total Killed];  ===\n";
        for (int s = 1; s <= S; ++s) {
            Out << "\n";
            W(6, s);
            for (int k = Red; k <= Total; ++k)
                W(12, Sides[k].Final[s]);
        }
    }

    void WriteRateDistributions()
    {
        int minTime = T, maxTime = 0;
        for (int s = 1; s <= S; ++s) {
            auto lost = [&](int t) { return Step(Red, s, t) != 0 || Step(Blue, s, t) != 0; };
            int first = 0, last = T;
            for (int t = 1; t < T; ++t)
                if (lost(t)) {
                    first = t;
                    break;
                }
            for (int t = T; t >= 1; --t)
                if (lost(t)) {
                    last = t;
                    break;
                }
            minTime = std::min(minTime, first);
            maxTime = std::max(maxTime, last);
        }
        // Every (sample, step) pair counts once, so the rates' probabilities,
        // rate 0 included, add up to 1.
        const double pairs = static_cast<double>(maxTime - minTime + 1) * S;
        const char* headings[3] = {"=== Distribution of Red Attrition Rates  ===",
                                   "=== Distribution of Blue Attrition Rates  ===",
                                   "=== Distribution of Total (Red + Blue) Attrition Rates  ==="};
        for (int k = Red; k <= Total; ++k) {
            std::vector<int> count(k == Total ? 2 * MaxAgents + 1 : MaxAgents + 1, 0);
            int largest = -1;
            for (int s = 1; s <= S; ++s)
                for (int t = minTime; t <= maxTime; ++t) {
                    const int r = static_cast<int>(Step(k, s, t));
                    if (r < 0 || r >= static_cast<int>(count.size()))
                        continue;
                    largest = std::max(largest, r);
                    ++count[r];
                }
            Out << "\n\n" << headings[k] << "\n=== Min Time = ";
            W(4, minTime) << "   Max Time = ";
            W(4, maxTime) << "\n=== Format: [Attrition Rate]   [PDF]\n";
            for (int r = 1; r <= largest; ++r) {
                Out << "\n";
                W(4, r);
                W(12, count[r] / pairs);
            }
        }
    }

    void WriteCasualtyDistributions()
    {
        const char* headings[3] = {"=== Distribution of Red Casualties  ===", "=== Distribution of Blue Casualties  ===",
                                   "=== Distribution of Total Casualties  ==="};
        for (int k = Red; k <= Total; ++k) {
            const int agents = std::clamp(Sides[k].MostAgents, 0, 2 * MaxAgents);
            std::vector<int> count(agents + 1, 0);
            for (int s = 1; s <= S; ++s) {
                const int c = static_cast<int>(Sides[k].Final[s]);
                if (c >= 0 && c <= agents)
                    ++count[c];
            }
            Out << "\n\n" << headings[k] << "\n=== Format: [Casualty Number]   [PDF]\n";
            for (int c = 1; c <= agents; ++c) {
                Out << "\n";
                W(4, c);
                W(12, static_cast<double>(count[c]) / Divisor(S));
            }
        }
    }

    void WriteFractionsBySample()
    {
        Out << "\n\n===  (Fractional) Attrition by Sample:  [Red %(Killed)]  [Blue %(Killed)]   [Total "
               "%(Killed)] ===\n";
        for (int s = 1; s <= S; ++s) {
            Out << "\n";
            W(6, s);
            for (int k = Red; k <= Total; ++k)
                W(12, Sides[k].Fraction[s]);
        }
    }

    enum SquadTable { SquadSummary, SquadBySample, SquadCasualties };

    // The three tables share their figures, which are cheap to form again.
    void WriteSquadTable(int k, SquadTable table)
    {
        const Side which = k == Red ? Side::Red : Side::Blue;
        const int* alive = k == Red ? Doc.SampleSquadRedAlive.get() : Doc.SampleSquadBlueAlive.get();
        const int* injured = k == Red ? Doc.SampleSquadRedInjured.get() : Doc.SampleSquadBlueInjured.get();
        const std::string name = k == Red ? "Red" : "Blue";
        const int last = Recorded - 1;

        // Squads a sample's side did not have stay 0 throughout; a squad
        // counts against its size when the sample started.
        std::vector<std::vector<float>> lost(SquadSlots, std::vector<float>(S + 1, 0.0f));
        Summary summary[SquadSlots];
        std::vector<std::array<double, MaxAgents + 1>> pdf(SquadSlots);
        for (auto& row : pdf)
            row.fill(0.0);
        int squads = 0;
        for (int s = 1; s <= S && alive && injured; ++s) {
            const CSampleForce force = Doc.SampleForce(which, s);
            const int sampleSquads = std::clamp(force.Squads, 0, MaxSquads);
            squads = std::max(squads, sampleSquads);
            for (int q = 1; q <= sampleSquads; ++q) {
                const int present = alive[SquadSampleIndex(q, s, last)] + injured[SquadSampleIndex(q, s, last)];
                lost[q][s] = static_cast<float>(force.PerSquad[q] - present);
                const int c = static_cast<int>(lost[q][s]);
                if (c >= 0 && c <= MaxAgents)
                    pdf[q][c] += 1;
            }
        }
        for (int q = 1; q <= squads; ++q) {
            summary[q] = Summarise(lost[q], S, false);
            for (int c = 1; c <= MaxAgents; ++c)
                pdf[q][c] /= Divisor(S);
        }

        if (table == SquadSummary) {
            Out << "\n\n===  " << name << " Squad-specific Attrition: [Squad 1]  [Squad 2]   [Squad 10];  ===\n";
            const char* labels[4] = {"\nAverage:       ", "\nAbsolute Dev:  ", "\nStandard Dev:  ",
                                     "\nVariance:      "};
            for (int row = 0; row < 4; ++row) {
                Out << labels[row];
                for (int q = 1; q <= MaxSquads; ++q) {
                    const Summary& m = summary[q];
                    const float values[4] = {m.Ave, m.AbsDev, m.StdDev, static_cast<float>(m.Var)};
                    W(10, values[row]);
                }
            }
            return;
        }

        if (table == SquadBySample) {
            Out << "\n\n===  " << name
                << " Squad-specific Attrition by Sample: [Squad 1]  [Squad 2]   [Squad 10];  ===\n";
            for (int s = 1; s <= S; ++s) {
                Out << "\n";
                W(6, s);
                for (int q = 1; q <= MaxSquads; ++q)
                    W(12, lost[q][s]);
            }
            return;
        }

        Out << "\n\n=== Distribution of " << name << " Squad-Specific Casualties  ==="
            << "\n=== Format: [Casualty Number]   [Squad 1 PDF]  [Squad 2 PDF]   [Squad 10 PDF];  ===\n";
        const int agents = std::clamp(Sides[k].MostAgents, 0, MaxAgents);
        for (int c = 1; c <= agents; ++c) {
            Out << "\n";
            W(4, c);
            for (int q = 1; q <= MaxSquads; ++q)
                W(12, pdf[q][c]);
        }
    }

    void WriteBinnedDistributions()
    {
        struct Block {
            int Bins;
            bool FromSpread;  // bins span smallest..largest rather than 0..1
            double Share;     // of the spread per bin
            float Width;      // the fixed width otherwise
        };
        const Block blocks[4] = {{10, true, 0.1, 0}, {10, false, 0, 0.1f}, {20, true, 0.05, 0}, {20, false, 0, 0.05f}};
        for (const Block& b : blocks) {
            if (&b == blocks)
                Out << "\n\n=== PDF: red_bin:center  pdf_red  blue_bin:center  pdf_blue   tot_bin:center pdf_tot  ===";
            else
                Out << "\n";
            float width[3];
            float origin[3];
            std::vector<double> pdf[3];
            for (int k = Red; k <= Total; ++k) {
                const SideTables& side = Sides[k];
                width[k] = b.FromSpread ? static_cast<float>((side.Largest - side.Smallest) * b.Share) : b.Width;
                origin[k] = b.FromSpread ? side.Smallest : 0.0f;
                pdf[k].assign(b.Bins, 0.0);
                for (int s = 1; s <= S; ++s) {
                    // The single-precision width can put the last edge just
                    // below the largest value: what lies above it belongs to
                    // the last bin.
                    int j = 0;
                    while (j < b.Bins - 1 &&
                           static_cast<double>(origin[k]) + (j + 1) * static_cast<double>(width[k]) <
                               static_cast<double>(side.Fraction[s]))
                        ++j;
                    pdf[k][j] += 1;
                }
                for (double& p : pdf[k])
                    p /= Divisor(S);
            }
            Out << "\nNumber of Bins = " << b.Bins << "\nRed Bin Width = " << width[Red]
                << "  Blue Bin Width = " << width[Blue] << "  (R+B) Bin Width = " << width[Total] << "\n";
            for (int j = 0; j < b.Bins; ++j) {
                auto centre = [&](int k) {
                    return static_cast<double>(origin[k]) + j * static_cast<double>(width[k]) +
                           static_cast<double>(width[k]) / 2;
                };
                Out << "\n" << centre(Red);
                W(12, pdf[Red][j]);
                W(12, centre(Blue));
                W(12, pdf[Blue][j]);
                W(12, centre(Total));
                W(12, pdf[Total][j]);
            }
        }
    }

    void WriteLevelTimes(bool percent)
    {
        if (percent)
            Out << "\n\n=== Time to achieve a specified percentage attrition\n";
        else
            Out << "\n\n=== Time to achieve a specified number of killed agents\n";
        for (int l = 0; l < Levels; ++l) {
            Out << (l == 0 ? "    " : "  ") << (percent ? "%[" : "N[") << l + 1 << "]= ";
            W(4, percent ? P[l] : N[l]);
        }
        if (percent)
            Out << "\nFormat:  R[%1] R[%2] R[%3] R[%4]   B[%1] B[%2] B[%3] B[%4]   Total[%1] Total[%2] Total[%3] "
                   "Total[%4]";
        else
            Out << "\nFormat:  R[N1] R[N2] R[N3] R[N4]   B[N1] B[N2] B[N3] B[N4]   Total[N1] Total[N2] Total[N3] "
                   "Total[N4]";
        Out << "\nNote: If given attrition level not achieved within (a fixed) run time = " << T
            << " then the entry = -1\n";
        for (int s = 1; s <= S; ++s) {
            Out << "\n";
            W(6, s);
            for (int k = Red; k <= Total; ++k)
                for (int l = 0; l < Levels; ++l)
                    W(6, percent ? Sides[k].PercentTime[s][l] : Sides[k].CasualtyTime[s][l]);
        }
    }

    void WriteSingleSteps()
    {
        Out << "\n\n=== (Single-Step) Attrition (= Number killed at time t for first 25 "
               "samples==="
            << "\nFormat:   t   #Red[1][t]  #Blue[1][t]  #Total[1][t] ...  #Total[25][t]\n"
            << std::string(76, '*') << "\n";
        for (int t = 1; t < T; ++t) {
            Out << "\n";
            W(4, t);
            for (int s = 1; s <= StepTableSamples; ++s) {
                // Samples the run did not have are 0, not an earlier run's values.
                const int red = s <= S ? static_cast<int>(Step(Red, s, t)) : 0;
                const int blue = s <= S ? static_cast<int>(Step(Blue, s, t)) : 0;
                W(4, red);
                W(4, blue);
                W(4, red + blue);
            }
        }
    }

    void WriteRates()
    {
        Out << "\n\n===  Attrition rate versus enemy force size"
            << "\n===  Format: [Sample]   [Time]  [Blue Alive+Inj](T-1)   [Red Killed](T)    "
               "[Red Killed](T-1)    [Red Alive+Inj](T-1)   [Blue Killed](T)  [Blue Killed](T-1);  ===\n";
        // From t = 1 on, so that the losses of the first step meet the
        // enemy force they faced at deployment.
        for (int s = 1; s <= S; ++s)
            for (int t = 1; t <= T; ++t) {
                const int before = std::min(t - 1, Recorded - 1);
                Out << "\n";
                for (int v : {s, t, Surv(Blue, s, before), static_cast<int>(Step(Red, s, t)),
                              static_cast<int>(Step(Red, s, t - 1)), Surv(Red, s, before),
                              static_cast<int>(Step(Blue, s, t)), static_cast<int>(Step(Blue, s, t - 1))})
                    W(6, v);
            }
    }
};

}  // namespace

void WriteRawAttritionReport(const CBrevimarDoc& doc, const RawAttritionLevels& levels, std::ostream& out)
{
    AttritionReport(doc, levels, out).Write();
}

void WriteRawAttritionFile(CBrevimarDoc& doc, const RawAttritionLevels& levels)
{
    RunFileCommand(doc, FileCommand::AttritionWrite,
                   [&](std::iostream& stream, const ChosenFile&) { WriteRawAttritionReport(doc, levels, stream); });
}

}  // namespace brevimar
