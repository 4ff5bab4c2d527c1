// runner FILE [--steps N] [--batch] [--seed S] [--digest-every K] [--comms] [--los] [--weapons]
//
// Loads a scenario through the start-up reader, runs it headless and prints,
// per line: step, RED alive, RED injured, BLUE alive, BLUE injured and a
// 64-bit hash of every agent's state and position. Every message the program
// would show (set-up problems above all) goes to standard error once, as
// "warning: ..."; a file that cannot be read says "error: ..." once there too,
// standard output stays empty, and the status is 1.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/ScenarioRunner.h"

namespace {

int Usage()
{
    std::cerr << "usage: runner FILE [--steps N] [--batch] [--seed S] [--digest-every K] [--comms] [--los] [--weapons]\n";
    return 2;
}

bool ParseInt(const char* text, int* value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < -2147483647L - 1 || parsed > 2147483647L)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    brevimar::RunnerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        int value = 0;
        if (arg == "--batch") {
            options.Batch = true;
        } else if (arg == "--comms") {
            options.ShareCommunications = true;
        } else if (arg == "--los") {
            options.LineOfSight = true;
        } else if (arg == "--weapons") {
            options.Weapons = true;
        } else if ((arg == "--steps" || arg == "--seed" || arg == "--digest-every") && i + 1 < argc) {
            if (!ParseInt(argv[++i], &value))
                return Usage();
            if (arg == "--steps")
                options.Steps = value;
            else if (arg == "--seed")
                options.Seed = value;
            else
                options.DigestEvery = value;
        } else if (!arg.empty() && arg[0] != '-' && options.ScenarioPath.empty()) {
            options.ScenarioPath = arg;
        } else {
            return Usage();
        }
    }
    if (options.ScenarioPath.empty())
        return Usage();
    brevimar::CScenarioRunner runner(options);
    return runner.Run(std::cout, std::cerr);
}
