// The one-sided genetic algorithm: a population of chromosomes over RED
// squad parameters, bred generation by generation against a weighted
// mission fitness. Everything it keeps lives in the document (core/GaData.h);
// this class is a view of one document's GA fields and holds nothing itself.
#pragma once

#include <string>
#include <string_view>

#include "core/Document.h"

namespace brevimar {

// Search-space modes.
enum GaSearchModes {
    GaPersonalityMode = 1,
    GaMultiSquadMode = 2,
    GaCompositionMode = 3,
    GaCompositionPersonalityMode = 4,
    GaCommMatrixMode = 5,
    GaWeightMatrixMode = 6,
    GaInitialConfigMode = 7,
    GaTerrainMode = 8,
};

// Timer of the generation driver while it computes (150 ms).
constexpr int GaTimerPeriodMs = 150;

class CGeneticAlgorithm {
public:
    explicit CGeneticAlgorithm(CBrevimarDoc& doc);

    CGaData& Data() { return Ga; }
    CGaMember& Member(int m) { return Records.GaPopulation[m]; }
    // Record P, after the last member, holds the best chromosome so far.
    CGaMember& Best() { return Records.GaPopulation[Population()]; }
    // Settings are checked where they are entered; the records bound it anyway.
    int Population() const { return Ga.GaPopulationSize < 0 ? 0 : (Ga.GaPopulationSize > GaMaxPopulation ? GaMaxPopulation : Ga.GaPopulationSize); }

    // --- defaults and reset
    void SetGAModeDefaults();
    void ResetGeneticAlgorithmState();
    // The weights as EffectiveMissionWeights (GaEditing.h) makes them; a sum
    // it refuses leaves them as they are.
    void NormaliseMissionWeights();
    // Searched genes among 1..last, ascending.
    void RebuildActiveGenes(int last);
    // Modes 5 and 6: the genes of cells (i, j), i, j = 1..n, of the
    // eight-wide matrix layout the decoding reads (gene i + 8(j - 1)).
    void SetMatrixActiveGenes(int n);
    static int MatrixGene(int i, int j) { return i + 8 * (j - 1); }

    // --- random draws from the runtime's 15-bit generator
    double RandomUniform(double a, double b);
    double DrawUnit();      // (rand() % 1000) * 0.001
    double DrawFraction();  // RandomUniform(1, 1000) * 0.001

    // --- operators
    void RecordFirstGeneration();
    void RecordGeneration();
    void SelectPopulation();
    void CrossoverPopulation();
    void CrossoverPair(int a, int b);
    static void SwapDouble(double* x, double* y);
    void MutatePopulation();
    void RandomSquadPartition(int n, int k, int out[SquadSlots]);

    // --- initial populations
    // Genes 1..63 of every member from their ranges (members, squads, genes).
    void DrawPersonalityPopulation(int squads);
    // Of the search-space commands, by mode.
    void DrawInitialPopulation(int mode);

    // --- decoding and fitness
    void DecodeChromosome(int m, int s);
    void DecodeBestChromosome();
    void UpdateCenterOfMassMeasure();
    void UpdateFlagContainment();
    void ComputeMemberConstants();
    void ScoreRun();  // primitives 1..10 of the run just ended
    double MemberFitness() const;
    // Best, worst and average fitness of members 0..P-1 as they stand (0, 1
    // and 0 for no member).
    struct Figures {
        double Best = 0, Worst = 1.0, Average = 0;
    };
    Figures PopulationFigures();
    void GenerationStatistics();
    std::string GaStatusLine() const;
    void UpdateGaStatusLine();

    // --- the generation driver: one whole generation
    void RunGABatch(int timerId);
    // What is wrong with the settings for a run, or empty.
    std::string SettingsProblem() const;

private:
    void CopyActiveGenes(const CGaMember& from, CGaMember& to);
    void DrawMatrixGene(double& gene, double negateBelow);
    void DecodeInto(CGaMember& member, int s, CGaDecoded& out, bool live);
    void ResetFixedSwitches();
    void RunOneCondition();

    CBrevimarDoc& Doc;
    CGaData& Ga;
    CGaRecords& Records;
};

// Live RED parameters to and from the decoding record.
void CopyLiveToDecoded(const CBrevimarDoc& doc, CGaDecoded& out);
void CopyDecodedToLive(const CGaDecoded& in, CBrevimarDoc& doc);

// --- search-space commands

// The editing dialogs a search-space command runs, in its order. Each does
// its own storing on OK; a cancelled dialog keeps the defaults.
class CGaEditCommands {
public:
    virtual ~CGaEditCommands() = default;
    virtual void EditGaRunTimeParams() {}
    virtual void EditGaMissionFitness() {}
    virtual void EditGaGenomeStructure() {}
    virtual void EditGaGeneRanges() {}
    virtual void EditGaSquadCompositionSearch() {}
    virtual void EditGaSquadMatrixSearch() {}
    virtual void EditGaCommMatrixSearch() {}
    // Before each dialog of the sequence: its place in it (1 of 4, ...);
    // (0, 0) once the sequence is over.
    virtual void BeginStep(int /*step*/, int /*steps*/) {}
};

// "Simulation/Run Mode/1-Sided Genetic Algorithm Learning" mode 1..8.
void SelectGaSearchMode(CBrevimarDoc& doc, int mode, CGaEditCommands* edits);

// --- GA input file (.ga1, .ga2, .lnd)

// Reads the text of a GA input file into the document: search space, run-time
// parameters, mission weights, gene tables, the active genes and a fresh
// population. Nothing changes when the text is refused; `error` then says
// what is wrong.
bool ReadGaInputFile(CBrevimarDoc& doc, std::string_view text, std::string& error);

// File > Load > "1-Sided GA (Genetic Algorithm) Input Data File...".
void OnFileLoadGaInput(CBrevimarDoc& doc);

}  // namespace brevimar
