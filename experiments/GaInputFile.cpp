// The GA input file (.ga1, .ga2, .lnd: one format): the whole set-up of the
// genetic algorithm as a stream of values, each after a fixed number of
// label words.
#include <cmath>
#include <istream>
#include <iterator>
#include <memory>
#include <sstream>

#include "experiments/GaEngine.h"
#include "files/FileCommandFrame.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

// Label words are at most this long.
constexpr std::size_t MaxLabelLength = 199;

class GaFileParser {
public:
    GaFileParser(std::string text, CGaData& data, int& generations)
        : Words(std::move(text)), Ga(data), Generations(generations)
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

    // Counts that size the document's arrays.
    bool Check()
    {
        if (Ga.GaSquadCount < 1 || Ga.GaSquadCount > MaxSquads)
            return Fail("the number of squads is " + std::to_string(Ga.GaSquadCount) + "; it must lie in 1..10");
        if (Ga.GaPopulationSize < 1 || Ga.GaPopulationSize > GaMaxPopulation)
            return Fail("the population size is " + std::to_string(Ga.GaPopulationSize) +
                        "; it must lie in 1..300");
        if (Generations < 1 || Generations > GaMaxGenerations)
            return Fail("the number of generations is " + std::to_string(Generations) + "; it must lie in 1..999");
        if (Ga.GaInitialConditions < 1 || Ga.GaInitialConditions > GaMaxConditions)
            return Fail("the number of initial conditions is " + std::to_string(Ga.GaInitialConditions) +
                        "; it must lie in 1..100");
        // The run-time dialog's limits: a run ends only at its maximum time.
        if (Ga.GaMaxTimeToFlag < 1 || Ga.GaMaxTimeToFlag > 999)
            return Fail("the maximum time to the enemy flag is " + std::to_string(Ga.GaMaxTimeToFlag) +
                        "; it must lie in 1..999");
        if (Ga.GaPenaltyPower < 1)
            return Fail("the penalty power factor is " + std::to_string(Ga.GaPenaltyPower) + "; it must be at least 1");
        // The containment square is measured in cells of the battlefield.
        if (!(Ga.GaContainmentRange >= 0 && Ga.GaContainmentRange <= MaxBattleSize))
            return Fail("the flag containment range is " + Number(Ga.GaContainmentRange) + "; it must lie in 0.." +
                        std::to_string(MaxBattleSize) + ", the largest battlefield");
        double sum = 0;
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            sum += Ga.MissionWeight[k];
        if (!std::isfinite(sum))
            return Fail("the mission weights add up beyond any number; they cannot be normalised");
        return true;
    }

    static std::string Number(double v)
    {
        std::ostringstream text;
        text << v;
        return text.str();
    }

    CWordReader Words;
    CGaData& Ga;
    int& Generations;
    std::string Error;
};

}  // namespace

bool ReadGaInputFile(CBrevimarDoc& doc, std::istream& in, std::string& error)
{
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto scratch = std::make_unique<CGaData>(doc.Ga);
    int generations = doc.Experiment.GaGenerations;
    GaFileParser parser(std::move(text), *scratch, generations);
    if (!parser.Parse()) {
        error = parser.Problem();
        return false;
    }
    doc.Ga = *scratch;
    doc.Experiment.GaGenerations = generations;
    CGeneticAlgorithm ga(doc);
    ga.NormaliseMissionWeights();
    ga.RebuildActiveGenes(GaPersonalityGenes);
    ga.DrawPersonalityPopulation(doc.Ga.GaSquadCount);
    return true;
}

void OnFileLoadGaInput(CBrevimarDoc& doc)
{
    doc.Pause();
    // Only a file read switches to the genetic algorithm: a cancelled chooser
    // or a refused file leaves the document as it was.
    bool read = false;
    RunFileCommand(doc, FileCommand::GaInputRead, [&doc, &read](std::iostream& stream, const ChosenFile& file) {
        std::string problem;
        read = ReadGaInputFile(doc, stream, problem);
        if (!read)
            doc.host().ShowError("The GA input file " + file.FileName + " was not read: " + problem + ".");
    });
    if (!read)
        return;
    doc.EndPausedBatch();
    doc.KeepScenarioBeforeBatch();
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
