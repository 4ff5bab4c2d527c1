// What the genetic algorithm's editing commands do with the values of their
// dialogs once the user presses OK: store them, rebuild the searched genes
// and draw a fresh population where the command asks for one, and start the
// search again from generation 0. The dialogs themselves live in dialogs/.
#pragma once

#include <limits>

#include "core/Document.h"
#include "experiments/ValueLimit.h"

namespace brevimar {

// What the genetic algorithm's dialogs accept, and so all that a GA input
// file may hold of the values they edit: the dialogs bind these limits and
// the reader checks them, so a file cannot hold what a user could not type.
namespace GaLimits {
inline constexpr ValueLimit SearchMode{1, 8};  // the eight search-space radios
inline constexpr ValueLimit Switch{0, 1};      // check boxes and Yes/No radios
inline constexpr ValueLimit SquadCount{1, MaxSquads};
inline constexpr ValueLimit PopulationSize{1, GaMaxPopulation};
inline constexpr ValueLimit Generations{1, GaMaxGenerations};
inline constexpr ValueLimit InitialConditions{1, GaMaxConditions};
inline constexpr ValueLimit MaxTimeToFlag{1, 999};  // a run ends only at its maximum time
inline constexpr ValueLimit PenaltyPower{1, 10};
inline constexpr ValueLimit ContainmentRange{0, 99};
inline constexpr ValueLimit ContainmentNumber{0, 999};
inline constexpr ValueLimit Fraction{0, 1};  // centre-of-mass fraction and the two probabilities
inline constexpr ValueLimit MissionWeight{0, 100};
inline constexpr ValueLimit WeightThreshold{0, 100};
inline constexpr ValueLimit SquadSize{0, MaxAgents};  // decoding makes a size of 0 one agent
// Squad-count bits: the count 1 + b1 + 2 b2 + 4 b3 is capped from above, and
// no bit may take it below 1.
inline constexpr ValueLimit CompositionBit{0, std::numeric_limits<double>::infinity()};
inline constexpr ValueLimit MatrixWeight{-1, 1};      // the squad-matrix dialog's cells
}  // namespace GaLimits
// Where gene g's minimum and maximum may lie (g = 1..63), by what the gene
// means in search mode `mode` and what the dialog that edits that meaning
// accepts. Squad composition (3): bits 1..3 from 0 up (no dialog sets them),
// squad sizes 4..11 0..300, inter-squad weights 12..63 -1..1; inter-squad
// weights (6): -1..1. The personality modes (and 4, 7, 8, which decode
// nothing): the range dialog row's limits, also for the gene a row is copied
// into, and 1..150 for the box and centre genes 60..63, as the initial
// distribution dialog takes them. False for the communications links (5)
// and for the sign genes and switch 41 of the personality modes: no dialog
// sets their ranges and decoding only compares them with 0 or 0.5, so any
// range is theirs that can be drawn from.
bool GeneLimits(int mode, int g, ValueLimit* min, ValueLimit* max);

// The personality genes 1..63 of every member, drawn from their ranges in
// the order members, genes, squads 1..GaSquadCount (the draws consume one
// random sequence, so the order is fixed). Genes that are off are drawn too.
void RedrawPersonalityPopulation(CBrevimarDoc& doc);

struct GenomeStructure {
    int MultiSquad = 0;
    int SquadCount = 1;
    int Symmetrize = 0;
    int GeneOn[GaPersonalityGenes + 1] = {};
};
void ApplyGenomeStructure(CBrevimarDoc& doc, const GenomeStructure& edited);

struct GeneRanges {
    double Min[GaPersonalityGenes + 1] = {};
    double Max[GaPersonalityGenes + 1] = {};
    double WeightThreshold = 1.0;
};
// Genes that have a row in the range dialog, and the gene each row's range
// is copied into afterwards (0: none).
struct GeneRangeRow {
    const char* Label;
    int Gene;
    int CopyTo;
    double MinLow, MinHigh, MaxLow, MaxHigh;
};
extern const GeneRangeRow GeneRangeRows[];
extern const int GeneRangeRowCount;
void ApplyGeneRanges(CBrevimarDoc& doc, const GeneRanges& edited);

// The mission weights the fitness scores with, from the ten as typed or
// read: under termination rule 4 no run ends early, so primitive 1 always
// scores 0 and its weight is cleared; then each is divided by the sum. False,
// with `effective` untouched, when that sum is not above 0: the mission
// dialog and the GA input file both refuse such weights. `effective` may be
// `weight` itself.
bool EffectiveMissionWeights(const double weight[GaPrimitiveSlots], int terminationRule,
                             double effective[GaPrimitiveSlots]);

// Stores the weights as EffectiveMissionWeights makes them; weights it
// refuses (the dialog does not pass them) are stored as they are.
void ApplyMissionObjective(CBrevimarDoc& doc, const int used[GaPrimitiveSlots], const double weight[GaPrimitiveSlots]);

void ApplySearchSpace(CBrevimarDoc& doc, int mode);

struct RunTimeParams {
    int BestToFile = 0;
    int PopulationSize = 0, Generations = 0, InitialConditions = 0, MaxTimeToFlag = 0, PenaltyPower = 0;
    double ContainmentRange = 0, ContainmentNumber = 0, CenterOfMassFraction = 0;
    double CrossoverProb = 0, MutationProb = 0;
};
RunTimeParams CurrentRunTimeParams(const CBrevimarDoc& doc);
void ApplyRunTimeParams(CBrevimarDoc& doc, const RunTimeParams& edited);

// The structural searches switch their mode and every gene 1..199 on before
// their dialog opens, so a cancelled dialog leaves both.
void BeginStructuralSearch(CBrevimarDoc& doc, int mode);

struct SquadCompositionParams {
    int MaxSquadCount = 0;
    double MaxSquadSize = 0, MaxMutationSize = 0;
    int TotalForceSize = 0;
    int SearchSquadMatrix = 0;
    double Threshold1 = 0, Threshold2 = 0;
};
void ApplySquadCompositionSearch(CBrevimarDoc& doc, const SquadCompositionParams& edited);
void ApplySquadMatrixSearch(CBrevimarDoc& doc, double threshold1, double threshold2);
void ApplyCommMatrixSearch(CBrevimarDoc& doc, int seedAllLinks, int forceSymmetry, double linkProbability);

}  // namespace brevimar
