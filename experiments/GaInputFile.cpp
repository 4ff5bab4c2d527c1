// The GA input file (.ga1, .ga2, .lnd: one format): the whole set-up of the
// genetic algorithm as a stream of values, each after a fixed number of
// label words.
#include <cmath>
#include <memory>
#include <string_view>

#include "experiments/GaEditing.h"
#include "experiments/GaEngine.h"
#include "files/FileCommandFrame.h"
#include "files/ReadReport.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

// Label words are at most this long.
constexpr std::size_t MaxLabelLength = 199;

class GaFileParser {
public:
    GaFileParser(std::string_view text, CGaData& data, int& generations)
        : Words(text), Ga(data), Generations(generations)
    {
    }

    bool Parse()
    {
        int mode = 0;
        if (!Value(7, mode))
            return false;
        Ga.GaSearchMode = mode;
        Ga.GaMultiSquad = mode > 1 && mode < 7 ? 1 : 0;
        if (mode >= 1 && mode <= 8)
            for (int k = 1; k < GaModeSlots; ++k)
                Ga.GaSearchModeFlags[k] = k == mode ? 1 : 0;
        if (!Value(1, Ga.GaSymmetrize) || !Value(1, Ga.GaSquadCount) || !Value(1, Ga.GaPopulationSize) ||
            !Value(1, Generations) || !Value(1, Ga.GaInitialConditions) || !Value(1, Ga.GaMaxTimeToFlag) ||
            !Value(1, Ga.GaPenaltyPower) || !Value(1, Ga.GaBestToFile) || !Value(1, Ga.GaReserved1) ||
            !Value(1, Ga.GaReserved2) || !Value(1, Ga.GaCrossoverProb) || !Value(1, Ga.GaMutationProb))
            return false;
        for (int k = 1; k <= GaPrimitiveCount; ++k) {
            if (!Value(k == 1 ? 7 : 1, Ga.MissionWeight[k]))
                return false;
            if (Ga.MissionWeight[k] != 0.0)
                Ga.MissionUsed[k] = 1;
        }
        if (!Value(1, Ga.GaTerminationRule) || !Value(1, Ga.GaContainmentRange) ||
            !Value(1, Ga.GaContainmentNumber) || !Value(1, Ga.GaCenterOfMassFraction))
            return false;
        for (int g = 1; g <= GaPersonalityGenes; ++g)
            if (!Value(g == 1 ? 6 : 1, Ga.GeneOn[g]) || !Words.Read(Ga.GeneMin[g]) || !Words.Read(Ga.GeneMax[g]))
                return Fail(Words.Failure().Describe());
        return Check();
    }

    const std::string& Problem() const { return Error; }

private:
    template <typename T>
    bool Value(int labels, T& value)
    {
        for (int k = 0; k < labels; ++k) {
            std::string word;
            if (!Words.ReadWord(word))
                return Fail(Words.Failure().Describe());
            if (word.size() > MaxLabelLength)
                return Fail("a label word of " + std::to_string(word.size()) + " characters (line " +
                            std::to_string(Words.Line()) + "); labels hold at most 199");
        }
        if (!Words.Read(value))
            return Fail(Words.Failure().Describe());
        return true;
    }

    bool Fail(std::string problem)
    {
        Error = std::move(problem);
        return false;
    }

    // Every value within what its dialog accepts; the counts among them also
    // size the document's arrays. What no dialog edits (the termination rule,
    // the reserved integers, the ranges of the sign genes, switch 41, the
    // links and the squad-count bits) is kept as the file holds it unless
    // using it would overflow or, for the bits, count fewer than one squad.
    bool Check()
    {
        const struct {
            const char* Name;
            double Value;
            ValueLimit Limit;
        } values[] = {
            {"the search-space mode", static_cast<double>(Ga.GaSearchMode), GaLimits::SearchMode},
            {"the symmetrize switch", static_cast<double>(Ga.GaSymmetrize), GaLimits::Switch},
            {"the number of squads", static_cast<double>(Ga.GaSquadCount), GaLimits::SquadCount},
            {"the population size", static_cast<double>(Ga.GaPopulationSize), GaLimits::PopulationSize},
            {"the number of generations", static_cast<double>(Generations), GaLimits::Generations},
            {"the number of initial conditions", static_cast<double>(Ga.GaInitialConditions),
             GaLimits::InitialConditions},
            {"the maximum time to the enemy flag", static_cast<double>(Ga.GaMaxTimeToFlag), GaLimits::MaxTimeToFlag},
            {"the penalty power factor", static_cast<double>(Ga.GaPenaltyPower), GaLimits::PenaltyPower},
            {"the best-personalities-to-file switch", static_cast<double>(Ga.GaBestToFile), GaLimits::Switch},
            {"the probability of point crossover", Ga.GaCrossoverProb, GaLimits::Fraction},
            {"the probability of point mutation", Ga.GaMutationProb, GaLimits::Fraction},
            {"the flag containment range", Ga.GaContainmentRange, GaLimits::ContainmentRange},
            {"the containment number", Ga.GaContainmentNumber, GaLimits::ContainmentNumber},
            {"the centre-of-mass fraction", Ga.GaCenterOfMassFraction, GaLimits::Fraction},
        };
        for (const auto& v : values)
            if (!v.Limit.Holds(v.Value))
                return Outside(v.Name, v.Value, v.Limit);
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            if (!GaLimits::MissionWeight.Holds(Ga.MissionWeight[k]))
                return Outside("the weight of mission primitive " + std::to_string(k), Ga.MissionWeight[k],
                               GaLimits::MissionWeight);
        double effective[GaPrimitiveSlots];
        if (!EffectiveMissionWeights(Ga.MissionWeight, Ga.GaTerminationRule, effective))
            return Fail(Ga.GaTerminationRule == 4
                            ? "the mission weights of primitives 2 to 10 add up to 0 (termination rule 4 clears "
                              "weight 1); at least one of them must be above 0"
                            : "the mission weights add up to 0; at least one must be above 0");
        for (int g = 1; g <= GaPersonalityGenes; ++g) {
            ValueLimit min{}, max{};
            const std::string gene = "gene " + std::to_string(g);
            if (!GaLimits::Switch.Holds(Ga.GeneOn[g]))
                return Outside("the on flag of " + gene, Ga.GeneOn[g], GaLimits::Switch);
            if (!GeneLimits(Ga.GaSearchMode, g, &min, &max)) {
                // Members draw min + u (max - min), u < 1.
                if (!std::isfinite(Ga.GeneMax[g] - Ga.GeneMin[g]))
                    return Fail("the range of " + gene + ", " + ShortestNumber(Ga.GeneMin[g]) + " to " +
                                ShortestNumber(Ga.GeneMax[g]) + ", is too wide to draw a value from");
                continue;
            }
            if (!min.Holds(Ga.GeneMin[g]))
                return Outside("the minimum of " + gene, Ga.GeneMin[g], min);
            if (!max.Holds(Ga.GeneMax[g]))
                return Outside("the maximum of " + gene, Ga.GeneMax[g], max);
        }
        return true;
    }

    bool Outside(const std::string& name, double value, ValueLimit limit)
    {
        if (std::isinf(limit.High))
            return Fail(name + " is " + ShortestNumber(value) + "; it must be at least " + ShortestNumber(limit.Low));
        return Fail(name + " is " + ShortestNumber(value) + "; it must lie in " + ShortestNumber(limit.Low) + ".." +
                    ShortestNumber(limit.High));
    }

    CWordReader Words;
    CGaData& Ga;
    int& Generations;
    std::string Error;
};

// A file read and checked, not yet the document's.
struct GaInput {
    std::unique_ptr<CGaData> Ga;
    int Generations = 0;
};

bool ParseGaInput(const CBrevimarDoc& doc, std::string_view text, GaInput& input, std::string& error)
{
    // What the file does not set keeps the document's value.
    input.Ga = std::make_unique<CGaData>(doc.Ga);
    input.Generations = doc.Experiment.GaGenerations;
    GaFileParser parser(text, *input.Ga, input.Generations);
    if (!parser.Parse()) {
        error = parser.Problem();
        return false;
    }
    return true;
}

void CommitGaInput(CBrevimarDoc& doc, const GaInput& input)
{
    doc.Ga = *input.Ga;
    doc.Experiment.GaGenerations = input.Generations;
    CGeneticAlgorithm ga(doc);
    ga.NormaliseMissionWeights();
    ga.RebuildActiveGenes(GaPersonalityGenes);
    ga.DrawPersonalityPopulation(doc.Ga.GaSquadCount);
}

}  // namespace

bool ReadGaInputFile(CBrevimarDoc& doc, std::string_view text, std::string& error)
{
    GaInput input;
    if (!ParseGaInput(doc, text, input, error))
        return false;
    CommitGaInput(doc, input);
    return true;
}

void OnFileLoadGaInput(CBrevimarDoc& doc)
{
    doc.Pause();
    // Only a file read switches to the genetic algorithm: a cancelled chooser
    // or a refused file leaves the document as it was.
    GaInput input;
    bool read = false;
    RunFileCommand(doc, FileCommand::GaInputRead, [&doc, &input, &read](std::string&& text, const ChosenFile& file) {
        std::string problem;
        if (!ParseGaInput(doc, text, input, problem)) {
            ReportReadProblem(doc, "The GA input file " + file.FileName + " was not read: " + problem + ".");
            return;
        }
        // The generations' runs replace the battle a RUN capture holds; a
        // refused file has changed nothing and leaves it recording.
        read = doc.OfferCapturedFrames();
    });
    if (!read)
        return;
    // Committed once the frame has let the file's text go: the population
    // records, made on the GA's first use (some 10 MB), are then not held
    // beside a text as large as the bound.
    CommitGaInput(doc, input);
    doc.EndPausedBatch();
    doc.StartBatchWriteRecord();
    doc.RunMode = GeneticAlgorithmMode;
    doc.LoadInputFile = 0;
    CGeneticAlgorithm ga(doc);
    ga.ResetGeneticAlgorithmState();
    doc.RunHeader.TimeDirection = 1;
    doc.RandomState = doc.InitialSeed;
    doc.RunTerminated = 0;
    ga.UpdateGaStatusLine();
    doc.host().InvalidateView();
}

}  // namespace brevimar
