#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "collect/RawAttritionReport.h"
#include "experiments/MultiRunBatch.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

constexpr int S = 3, T = 5;
using Row = std::vector<double>;

// The whole-token numbers of a line.
Row Numbers(const std::string& line)
{
    Row values;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (*end == '\0')
            values.push_back(v);
    }
    return values;
}

struct Report {
    std::vector<std::string> Lines;

    std::size_t Find(const std::string& prefix, int nth = 0) const
    {
        for (std::size_t i = 0; i < Lines.size(); ++i)
            if (Lines[i].rfind(prefix, 0) == 0 && nth-- == 0)
                return i;
        ADD_FAILURE() << "no line " << prefix;
        return Lines.size();
    }
    // The rows of the table under a heading: after its first empty line, up
    // to the next one.
    std::vector<Row> Table(const std::string& heading, int nth = 0) const
    {
        std::size_t i = Find(heading, nth);
        while (i < Lines.size() && !Lines[i].empty())
            ++i;
        std::vector<Row> rows;
        for (++i; i < Lines.size() && !Lines[i].empty(); ++i)
            rows.push_back(Numbers(Lines[i]));
        return rows;
    }
};

void ExpectRows(const std::vector<Row>& got, const std::vector<Row>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t r = 0; r < want.size(); ++r) {
        ASSERT_EQ(got[r].size(), want[r].size()) << what << " row " << r + 1;
        for (std::size_t c = 0; c < want[r].size(); ++c)
            EXPECT_NEAR(got[r][c], want[r][c], 6e-5 * std::max(1.0, std::fabs(want[r][c])))
                << what << " row " << r + 1 << " column " << c + 1;
    }
}

// The batch of the driver's own test, with deadlier shots.
TEST(RawAttritionOfBatch, EverySectionFollowsTheSamples)
{
    testing::TestDocument doc;
    CBrevimarDoc& d = *doc;
    testing::SkirmishOptions o;
    o.PerSide = 12;
    o.BattleSize = 20;
    o.ShotProb = 0.6f;
    o.FireRange = 5;
    testing::MakeSkirmish(d, o);
    d.RunMode = MultipleTimeSeriesMode;
    d.RandomState = d.InitialSeed;
    d.Series.MultiRunSampleCount = S;
    d.Series.MultiRunStepCount = T;
    RunMultiTimeSeriesBatch(d, 45, nullptr);

    RawAttritionLevels levels;
    const double percent[4] = {95, 90, 80, 50}, casualties[4] = {1, 2, 4, 8};
    for (int l = 0; l < 4; ++l)
        levels.PercentLevel[l] = percent[l], levels.CasualtyLevel[l] = casualties[l];
    levels.SaveRateData = 1;
    std::ostringstream out;
    WriteRawAttritionReport(d, levels, out);
    Report report;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        report.Lines.push_back(line);

    // RED, BLUE, Total: survivors of sample s after step t, straight from the samples.
    const int agents[3] = {12, 12, 24};
    int surv[3][S + 1][T] = {};
    for (int s = 1; s <= S; ++s)
        for (int t = 0; t < T; ++t) {
            surv[0][s][t] = d.SampleRedAlive[SampleIndex(s, t)] + d.SampleRedInjured[SampleIndex(s, t)];
            surv[1][s][t] = d.SampleBlueAlive[SampleIndex(s, t)] + d.SampleBlueInjured[SampleIndex(s, t)];
            surv[2][s][t] = surv[0][s][t] + surv[1][s][t];
        }
    auto lost = [&](int k, int s) { return double(agents[k] - surv[k][s][T - 1]); };
    // Losses in step t (t = 1..T-1), 0 elsewhere.
    auto stepLoss = [&](int k, int s, int t) { return t >= 1 && t < T ? surv[k][s][t - 1] - surv[k][s][t] : 0; };
    ASSERT_GT(lost(2, 1) + lost(2, 2) + lost(2, 3), 0) << "the batch must lose agents to test anything";

    // Sections 3, 4 and 7.
    const char* labels[3] = {"Red Attrition:", "Blue Attrition:", "Total Attrition:"};
    std::vector<Row> final, fraction;
    for (int s = 1; s <= S; ++s) {
        final.push_back({double(s), lost(0, s), lost(1, s), lost(2, s)});
        fraction.push_back({double(s), lost(0, s) / 12, lost(1, s) / 12, lost(2, s) / 24});
    }
    for (int k = 0; k < 3; ++k) {
        double sum = 0, abs = 0, sq = 0;
        for (int s = 1; s <= S; ++s)
            sum += lost(k, s);
        for (int s = 1; s <= S; ++s)
            abs += std::fabs(lost(k, s) - sum / S), sq += std::pow(lost(k, s) - sum / S, 2);
        const double var = sq / (S - 1);
        ExpectRows({Numbers(report.Lines[report.Find(labels[k])])}, {{sum, sum / S, abs / S, std::sqrt(var), var}}, labels[k]);
    }
    ExpectRows(report.Table("===  (Total) Attrition by Sample"), final, "final by sample");
    ExpectRows(report.Table("===  (Fractional) Attrition by Sample"), fraction, "fractions by sample");

    // Section 5: the window from the first to the last step with a loss.
    int minTime = T, maxTime = 0;
    for (int s = 1; s <= S; ++s) {
        int first = 0, last = T;
        for (int t = T - 1; t >= 1; --t)
            if (stepLoss(0, s, t) || stepLoss(1, s, t))
                first = t;
        for (int t = 1; t < T; ++t)
            if (stepLoss(0, s, t) || stepLoss(1, s, t))
                last = t;
        minTime = std::min(minTime, first), maxTime = std::max(maxTime, last);
    }
    const char* rateHeadings[3] = {"=== Distribution of Red Attrition Rates", "=== Distribution of Blue Attrition Rates",
                                   "=== Distribution of Total (Red + Blue) Attrition Rates"};
    for (int k = 0; k < 3; ++k) {
        const std::size_t at = report.Find(rateHeadings[k]);
        ExpectRows({Numbers(report.Lines[at + 1])}, {{double(minTime), double(maxTime)}}, "window");
        std::vector<Row> pdf;
        double total = 0;
        for (int s = 1; s <= S; ++s)
            for (int t = minTime; t <= maxTime; ++t) {
                const int r = stepLoss(k, s, t);
                if (r > 0 && int(pdf.size()) < r)
                    for (int n = int(pdf.size()) + 1; n <= r; ++n)
                        pdf.push_back({double(n), 0.0});
                if (r > 0)
                    pdf[r - 1][1] += 1.0 / ((maxTime - minTime + 1) * S);
                total += 1.0 / ((maxTime - minTime + 1) * S);
            }
        EXPECT_NEAR(total, 1.0, 1e-12);
        ExpectRows(report.Table(rateHeadings[k]), pdf, rateHeadings[k]);
    }

    // Section 6.
    const char* casualtyHeadings[3] = {"=== Distribution of Red Casualties", "=== Distribution of Blue Casualties",
                                       "=== Distribution of Total Casualties"};
    for (int k = 0; k < 3; ++k) {
        std::vector<Row> pdf;
        for (int c = 1; c <= agents[k]; ++c) {
            int n = 0;
            for (int s = 1; s <= S; ++s)
                n += lost(k, s) == c;
            pdf.push_back({double(c), double(n) / S});
        }
        ExpectRows(report.Table(casualtyHeadings[k]), pdf, casualtyHeadings[k]);
    }

    // Sections 8 to 10: one squad per side, counted from the squad series.
    for (int k = 0; k < 2; ++k) {
        const int* alive = k == 0 ? d.SampleSquadRedAlive.get() : d.SampleSquadBlueAlive.get();
        const int* injured = k == 0 ? d.SampleSquadRedInjured.get() : d.SampleSquadBlueInjured.get();
        double squad[S + 1] = {}, sum = 0;
        for (int s = 1; s <= S; ++s) {
            squad[s] = 12 - alive[SquadSampleIndex(1, s, T - 1)] - injured[SquadSampleIndex(1, s, T - 1)];
            sum += squad[s];
        }
        double abs = 0, sq = 0;
        for (int s = 1; s <= S; ++s)
            abs += std::fabs(squad[s] - sum / S), sq += std::pow(squad[s] - sum / S, 2);
        const double stats[4] = {sum / S, abs / S, std::sqrt(sq / (S - 1)), sq / (S - 1)};
        const char* rows[4] = {"Average:", "Absolute Dev:", "Standard Dev:", "Variance:"};
        for (int r = 0; r < 4; ++r) {
            Row want(10, 0.0);
            want[0] = stats[r];
            ExpectRows({Numbers(report.Lines[report.Find(rows[r], k)])}, {want}, rows[r]);
        }
        const std::string side = k == 0 ? "Red" : "Blue";
        std::vector<Row> bySample, pdf;
        for (int s = 1; s <= S; ++s) {
            bySample.push_back(Row(11, 0.0));
            bySample.back()[0] = s, bySample.back()[1] = squad[s];
        }
        for (int c = 1; c <= 12; ++c) {
            pdf.push_back(Row(11, 0.0));
            pdf.back()[0] = c;
            for (int s = 1; s <= S; ++s)
                pdf.back()[1] += squad[s] == c ? 1.0 / S : 0.0;
        }
        ExpectRows(report.Table("===  " + side + " Squad-specific Attrition by Sample"), bySample, side + " squads");
        ExpectRows(report.Table("=== Distribution of " + side + " Squad-Specific"), pdf, side + " squad PDF");
    }

    // Section 11: per block, bins of equal width from the smallest fraction
    // (blocks 1, 3) or from 0 (blocks 2, 4); a value goes to the first bin
    // whose upper edge reaches it, or to the last.
    for (int b = 0; b < 4; ++b) {
        const int bins = b < 2 ? 10 : 20;
        std::vector<Row> want(bins, Row(6, 0.0));
        for (int k = 0; k < 3; ++k) {
            float f[S + 1], lo = 1, hi = 0;
            for (int s = 1; s <= S; ++s) {
                f[s] = float(lost(k, s)) / float(agents[k]);
                lo = std::min(lo, f[s]), hi = std::max(hi, f[s]);
            }
            const bool spread = b % 2 == 0;
            const float w = spread ? float((hi - lo) * (b < 2 ? 0.1 : 0.05)) : (b < 2 ? 0.1f : 0.05f);
            const double origin = spread ? lo : 0.0;
            for (int j = 0; j < bins; ++j)
                want[j][2 * k] = origin + (j + 0.5) * double(w);
            for (int s = 1; s <= S; ++s) {
                int j = 0;
                while (j < bins - 1 && origin + (j + 1) * double(w) < f[s])
                    ++j;
                want[j][2 * k + 1] += 1.0 / S;
            }
        }
        const std::vector<Row> got = report.Table("Number of Bins", b);
        ExpectRows(got, want, "block " + std::to_string(b + 1));
    }

    // Sections 12 and 13: the first step 1..T-1 meeting each level.
    std::vector<Row> percentTimes, casualtyTimes;
    for (int s = 1; s <= S; ++s) {
        Row p{double(s)}, c{double(s)};
        for (int k = 0; k < 3; ++k)
            for (int l = 0; l < 4; ++l) {
                int tp = -1, tc = -1;
                for (int t = T - 1; t >= 1; --t) {
                    if (surv[k][s][t] * 100 <= percent[l] * agents[k])
                        tp = t;
                    if (agents[k] - surv[k][s][t] >= casualties[l])
                        tc = t;
                }
                p.push_back(tp), c.push_back(tc);
            }
        percentTimes.push_back(p), casualtyTimes.push_back(c);
    }
    ExpectRows(report.Table("=== Time to achieve a specified percentage"), percentTimes, "percent times");
    ExpectRows(report.Table("=== Time to achieve a specified number"), casualtyTimes, "casualty times");

    // Section 14, and the losses of each sample add up to its final loss.
    std::vector<Row> steps;
    for (int t = 1; t < T; ++t) {
        steps.push_back({double(t)});
        for (int s = 1; s <= 25; ++s)
            for (int k = 0; k < 3; ++k)
                steps.back().push_back(s <= S ? stepLoss(k, s, t) : 0);
    }
    ExpectRows(report.Table("=== (Single-Step) Attrition"), steps, "single steps");
    for (int s = 1; s <= S; ++s) {
        double sum = 0;
        for (int t = 1; t < T; ++t)
            sum += stepLoss(2, s, t);
        EXPECT_EQ(sum, lost(2, s)) << s;
    }

    // Section 15.
    std::vector<Row> rates;
    for (int s = 1; s <= S; ++s)
        for (int t = 1; t <= T; ++t)
            rates.push_back({double(s), double(t), double(surv[1][s][t - 1]), double(stepLoss(0, s, t)),
                             double(stepLoss(0, s, t - 1)), double(surv[0][s][t - 1]), double(stepLoss(1, s, t)),
                             double(stepLoss(1, s, t - 1))});
    ExpectRows(report.Table("===  Attrition rate versus enemy force size"), rates, "rates");
}

}  // namespace
}  // namespace brevimar
