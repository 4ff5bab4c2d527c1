// Chromosome decoding: genes into RED squad parameters, the live force's
// before a member is evaluated, or the display record of the best member.
#include <algorithm>
#include <cstring>

#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

int Trunc(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

int AtLeastOne(int v) { return v == 0 ? 1 : v; }

template <typename T>
void CopyRow(T (&to)[SquadSlots], const T (&from)[SquadSlots])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

// Both directions between the live force and the decoding record.
template <typename Force, typename Field, typename Record>
void Exchange(Force& f, Field& field, Record& r, bool toRecord)
{
    auto row = [toRecord](auto& live, auto& rec) {
        if (toRecord)
            CopyRow(rec, live);
        else
            CopyRow(live, rec);
    };
    auto one = [toRecord](auto& live, auto& rec) {
        if (toRecord)
            rec = live;
        else
            live = rec;
    };
    one(f.NumAgents, r.NumRed);
    one(f.NumSquads, r.NumSquads);
    row(f.num_per_squad, r.num_per_squad);
    row(f.A_S_RANGE, r.A_S_RANGE), row(f.I_S_RANGE, r.I_S_RANGE);
    row(f.A_F_RANGE, r.A_F_RANGE), row(f.I_F_RANGE, r.I_F_RANGE);
    row(f.A_C_RANGE, r.A_C_RANGE), row(f.I_C_RANGE, r.I_C_RANGE);
    row(f.A_M_RANGE, r.A_M_RANGE), row(f.I_M_RANGE, r.I_M_RANGE);
    row(f.w1_a, r.Weight[0][W1]), row(f.w2_a, r.Weight[0][W2]), row(f.w3_a, r.Weight[0][W3]);
    row(f.w4_a, r.Weight[0][W4]), row(f.w5_a, r.Weight[0][W5]), row(f.w6_a, r.Weight[0][W6]);
    row(f.w1_i, r.Weight[1][W1]), row(f.w2_i, r.Weight[1][W2]), row(f.w3_i, r.Weight[1][W3]);
    row(f.w4_i, r.Weight[1][W4]), row(f.w5_i, r.Weight[1][W5]), row(f.w6_i, r.Weight[1][W6]);
    row(f.A_ADVANCE_num, r.A_ADVANCE_num), row(f.I_ADVANCE_num, r.I_ADVANCE_num);
    row(f.A_CLUSTER_num, r.A_CLUSTER_num), row(f.I_CLUSTER_num, r.I_CLUSTER_num);
    row(f.A_COMBAT_num, r.A_COMBAT_num), row(f.I_COMBAT_num, r.I_COMBAT_num);
    row(f.A_R_R_min_dist, r.A_R_R_min_dist), row(f.I_R_R_min_dist, r.I_R_R_min_dist);
    row(f.A_R_B_min_dist, r.A_R_B_min_dist), row(f.I_R_B_min_dist, r.I_R_B_min_dist);
    row(f.A_R_R_goal_min, r.A_R_R_goal_min), row(f.I_R_R_goal_min, r.I_R_R_goal_min);
    row(f.shot_prob_alive, r.shot_prob_alive), row(f.shot_prob_injured, r.shot_prob_injured);
    row(f.A_R_max_eng_num, r.A_R_max_eng_num), row(f.I_R_max_eng_num, r.I_R_max_eng_num);
    row(f.alive_strength, r.alive_strength), row(f.injured_strength, r.injured_strength);
    one(f.COMM_range, r.COMM_range);
    one(f.A_COMM_weight, r.A_COMM_weight), one(f.I_COMM_weight, r.I_COMM_weight);
    one(f.recon_time, r.recon_time);
    one(field.red_frat_rad, r.red_frat_rad);
    one(field.red_frat_prob, r.red_frat_prob);
    row(field.R_box_l, r.R_box_l), row(field.R_box_w, r.R_box_w);
    row(field.RED_cen_x, r.RED_cen_x), row(field.RED_cen_y, r.RED_cen_y);
    for (int i = 0; i < SquadSlots; ++i) {
        row(f.CommMatrix[i], r.CommMatrix[i]);
        row(f.SquadWeightMatrix[i], r.SquadWeightMatrix[i]);
    }
}

}  // namespace

void CopyLiveToDecoded(const CBrevimarDoc& doc, CGaDecoded& out)
{
    // One field list serves both directions; this one only reads the document.
    CBrevimarDoc& source = const_cast<CBrevimarDoc&>(doc);
    Exchange(source.RedForce, source.Battlefield, out, true);
}

void CopyDecodedToLive(const CGaDecoded& in, CBrevimarDoc& doc)
{
    Exchange(doc.RedForce, doc.Battlefield, const_cast<CGaDecoded&>(in), false);
}

// The rules shared by the live decoding and the best-chromosome display.
// `live`: the member is about to be evaluated (the decoded composition sets
// the chromosome's squad count, and the communications matrix is mirrored).
void CGeneticAlgorithm::DecodeInto(CGaMember& member, int s, CGaDecoded& r, bool live)
{
    s = std::clamp(s, 1, MaxSquads);
    const int mode = Ga.GaSearchMode;
    if (mode == GaPersonalityMode || mode == GaMultiSquadMode) {
        const double* gene = member.Gene[s];
        auto on = [&](int g) { return Ga.GeneOn[g] == 1; };
        if (on(1)) r.A_S_RANGE[s] = AtLeastOne(Trunc(gene[1]));
        if (on(2)) r.I_S_RANGE[s] = AtLeastOne(Trunc(gene[2]));
        if (on(3)) r.A_F_RANGE[s] = std::min(AtLeastOne(Trunc(gene[3])), r.A_S_RANGE[s]);
        if (on(4)) r.I_F_RANGE[s] = std::min(AtLeastOne(Trunc(gene[4])), r.I_S_RANGE[s]);
        if (on(5)) r.A_C_RANGE[s] = AtLeastOne(Trunc(gene[5]));
        if (on(6)) r.I_C_RANGE[s] = AtLeastOne(Trunc(gene[6]));
        if (on(7)) r.A_M_RANGE[s] = Trunc(gene[7]);
        if (on(8)) r.I_M_RANGE[s] = Trunc(gene[8]);
        // Weight genes in pairs: magnitude (odd) and sign (even); alive w1..w6
        // from genes 9..20, injured from 21..32.
        for (int w = W1; w <= W6; ++w)
            for (int state = 0; state < 2; ++state) {
                const int k = 9 + 12 * state + 2 * (w - W1);
                if (!on(k))
                    continue;
                float weight = 0;
                if (gene[k] >= Ga.GaWeightThreshold)
                    weight = static_cast<float>(gene[k + 1] < 0.5 ? -gene[k] : gene[k]);
                r.Weight[state][w][s] = weight;
            }
        if (on(33)) r.A_ADVANCE_num[s] = Trunc(gene[33]);
        if (on(34)) r.I_ADVANCE_num[s] = Trunc(gene[34]);
        if (on(35)) r.A_CLUSTER_num[s] = Trunc(gene[35]);
        if (on(36)) r.I_CLUSTER_num[s] = Trunc(gene[36]);
        if (on(37)) r.A_COMBAT_num[s] = gene[38] < 0.5 ? -Trunc(gene[37]) : Trunc(gene[37]);
        if (on(39)) r.I_COMBAT_num[s] = gene[40] < 0.5 ? -Trunc(gene[39]) : Trunc(gene[39]);
        auto clearMinDistances = [&] {
            r.A_R_R_min_dist[s] = r.I_R_R_min_dist[s] = 0;
            r.A_R_B_min_dist[s] = r.I_R_B_min_dist[s] = 0;
            r.A_R_R_goal_min[s] = r.I_R_R_goal_min[s] = 0;
        };
        if (on(41)) {
            if (gene[41] >= 0.5) {
                float* target[] = {r.A_R_R_min_dist, r.I_R_R_min_dist, r.A_R_B_min_dist,
                                   r.I_R_B_min_dist, r.A_R_R_goal_min, r.I_R_R_goal_min};
                for (int g = 42; g <= 47; ++g)
                    if (on(g))
                        target[g - 42][s] = static_cast<float>(gene[g]);
            } else {
                clearMinDistances();
            }
        } else {
            for (int g = 41; g <= 47; ++g)
                member.Gene[s][g] = 0;
            clearMinDistances();
        }
        if (on(48)) r.shot_prob_alive[s] = static_cast<float>(gene[48]);
        if (on(49)) r.shot_prob_injured[s] = static_cast<float>(gene[49]);
        if (on(50)) r.A_R_max_eng_num[s] = Trunc(gene[50]);
        if (on(51)) r.I_R_max_eng_num[s] = Trunc(gene[51]);
        if (on(52)) r.alive_strength[s] = Trunc(gene[52]);
        if (on(53)) r.injured_strength[s] = Trunc(gene[53]);
        if (on(54)) r.COMM_range = Trunc(gene[54]);
        if (on(55)) r.A_COMM_weight = static_cast<float>(gene[55]);
        if (on(56)) r.I_COMM_weight = static_cast<float>(gene[56]);
        if (on(57)) r.recon_time = Trunc(gene[57]);
        if (on(58)) r.red_frat_rad = Trunc(gene[58]);
        if (on(59)) r.red_frat_prob = static_cast<float>(gene[59]);
        if (on(60)) r.R_box_l[s] = Trunc(gene[60]);
        if (on(61)) r.R_box_w[s] = Trunc(gene[61]);
        if (on(62)) r.RED_cen_x[s] = Trunc(gene[62]);
        if (on(63)) r.RED_cen_y[s] = Trunc(gene[63]);
        if (Ga.GaSymmetrize == 1) {
            r.I_S_RANGE[s] = r.A_S_RANGE[s];
            r.I_F_RANGE[s] = r.A_F_RANGE[s];
            r.I_C_RANGE[s] = r.A_C_RANGE[s];
            r.I_M_RANGE[s] = r.A_M_RANGE[s];
            for (int w = W1; w <= W6; ++w)
                r.Weight[1][w][s] = r.Weight[0][w][s];
            r.I_ADVANCE_num[s] = r.A_ADVANCE_num[s];
            r.I_CLUSTER_num[s] = r.A_CLUSTER_num[s];
            r.I_COMBAT_num[s] = r.A_COMBAT_num[s];
            r.I_R_R_min_dist[s] = r.A_R_R_min_dist[s];
            r.I_R_B_min_dist[s] = r.A_R_B_min_dist[s];
            r.I_R_R_goal_min[s] = r.A_R_R_goal_min[s];
            r.shot_prob_injured[s] = r.shot_prob_alive[s];
            r.I_R_max_eng_num[s] = r.A_R_max_eng_num[s];
            r.injured_strength[s] = r.alive_strength[s];
            r.I_COMM_weight = r.A_COMM_weight;
        }
    } else if (mode == GaCompositionMode) {
        const double* gene = member.Gene[1];
        r.NumRed = Ga.GaTotalForceSize;
        // The bits of a population drawn from a file's gene ranges may hold
        // any value: the sum is taken wide before it is capped.
        const long long bits = 1LL + Trunc(gene[1]) + 2LL * Trunc(gene[2]) + 4LL * Trunc(gene[3]);
        const int K = static_cast<int>(std::clamp<long long>(std::min<long long>(bits, Ga.GaMaxSquadCount), 1, 8));
        r.NumSquads = K;
        r.num_per_squad[0] = 0;
        for (int i = 1; i <= 8; ++i)
            r.num_per_squad[i] = i <= K ? std::max(Trunc(gene[3 + i]), 1) : 0;
        // Sizes may be as large as the genes' ranges: summed wide.
        long long sum = 0;
        for (int i = 1; i <= K; ++i) {
            sum += r.num_per_squad[i];
            if (sum == r.NumRed) {
                r.NumSquads = i;
                break;
            }
            if (sum > r.NumRed) {
                r.NumSquads = i;
                r.num_per_squad[i] = static_cast<int>(r.num_per_squad[i] - (sum - r.NumRed));
                break;
            }
            if (i == K)
                r.num_per_squad[i] = static_cast<int>(r.num_per_squad[i] + (r.NumRed - sum));
        }
        if (live)
            Ga.GaSquadCount = r.NumSquads;
        for (int i = 1; i <= 8; ++i)
            for (int j = 1; j <= 8; ++j)
                r.SquadWeightMatrix[i][j] = Ga.GaSearchSquadMatrix == 1 ? gene[11 + MatrixGene(i, j)] : 1.0;
    } else if (mode == GaCommMatrixMode) {
        const double* gene = member.Gene[1];
        const int n = std::clamp(r.NumSquads, 0, MaxSquads);
        for (int i = 1; i <= MaxSquads; ++i)
            for (int j = 1; j <= MaxSquads; ++j)
                r.CommMatrix[i][j] = 0;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                if (gene[MatrixGene(i, j)] > 0)
                    r.CommMatrix[i][j] = 1;
        if (live && Ga.GaForceSymmetry == 1)
            for (int i = 1; i <= 8; ++i)
                for (int j = i + 1; j <= 8; ++j)
                    r.CommMatrix[j][i] = r.CommMatrix[i][j];
    } else if (mode == GaWeightMatrixMode) {
        const double* gene = member.Gene[1];
        const int n = std::clamp(r.NumSquads, 0, MaxSquads);
        for (int i = 1; i <= MaxSquads; ++i)
            for (int j = 1; j <= MaxSquads; ++j)
                r.SquadWeightMatrix[i][j] = 1.0;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                r.SquadWeightMatrix[i][j] = gene[MatrixGene(i, j)];
    }
}

void CGeneticAlgorithm::DecodeChromosome(int m, int s)
{
    CGaDecoded record;
    CopyLiveToDecoded(Doc, record);
    DecodeInto(Member(m), s, record, true);
    {
        const BatchWriteScope search(Doc, BatchWriteKind::Search);
        CopyDecodedToLive(record, Doc);
    }
    // The switches the search keeps fixed, and no flocking, for every squad
    // of both sides.
    const BatchWriteScope setUp(Doc, BatchWriteKind::SetUp);
    ResetFixedSwitches();
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Doc.Force(side);
        for (int q = 1; q <= MaxSquads; ++q) {
            f.w_flock_alive[q] = f.w_flock_injured[q] = 0;
            f.A_R_flock_min[q] = f.I_R_flock_min[q] = 0;
            f.A_R_flock_max[q] = f.I_R_flock_max[q] = 0;
        }
    }
}

void CGeneticAlgorithm::DecodeBestChromosome()
{
    Ga.GaTotalForceSize = Doc.RedForce.NumAgents;
    CGaDecoded& shown = Ga.GaBestDecoded;
    CopyLiveToDecoded(Doc, shown);
    const int mode = Ga.GaSearchMode;
    if (mode == GaPersonalityMode || mode == GaMultiSquadMode) {
        const int squads = std::clamp(Doc.RedForce.NumSquads, 1, MaxSquads);
        for (int s = 1; s <= squads; ++s)
            DecodeInto(Best(), s, shown, false);
    } else if (mode == GaCompositionMode || mode == GaCommMatrixMode || mode == GaWeightMatrixMode) {
        DecodeInto(Best(), 1, shown, false);
    }
}

}  // namespace brevimar
