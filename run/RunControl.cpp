// Run control on the document: restarting, redeploying, ending a run and
// switching back to the interactive run. The menu commands of the view call
// these and add only their dialogs and repaints.
#include <algorithm>

#include "core/Document.h"
#include "run/BatchDrivers.h"

namespace brevimar {

namespace {

// The input file's composition of one side, brought back over whatever hand
// placement or an agent file left: counts, squad sizes, every agent alive
// in its saved squad.
void RestoreSide(CForce& force, int count, int squads, const int* perSquad, const int* agentSquad)
{
    force.NumAgents = std::clamp(count, 0, MaxAgents);
    force.NumSquads = std::clamp(squads, 1, MaxSquads);
    for (int s = 1; s <= force.NumSquads; ++s)
        force.num_per_squad[s] = perSquad[s];
    for (int i = 1; i <= force.NumAgents; ++i) {
        force.AgentState[i] = Alive;
        force.AgentSquad[i] = agentSquad[i];
    }
}

// The ranges an agent starts a restarted run with, as after a read. Set-up
// takes each agent's distance normaliser from its current sensor range,
// which the run left as passable terrain and the agent's state then had it:
// the agent's own values come back first, then those of the state set-up
// gives it (alive when it deploys at random; agents that stay where they
// stand keep theirs).
void TakeStartRanges(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        int* modified = doc.TerrainModified(side);
        for (int i = 1, n = std::clamp(f.NumAgents, 0, MaxAgents); i <= n; ++i) {
            if (modified[i] != 0) {
                if (side == Side::Red)
                    doc.RestoreRedAgentParams(i);
                else
                    doc.RestoreBlueAgentParams(i);
                modified[i] = 0;
            }
            f.TakeCurrentRanges(i, doc.DeploymentSource == RandomDeployment ? Alive : f.AgentState[i]);
        }
    }
}

}  // namespace

bool CBrevimarDoc::BatchBusy() const
{
    return Experiment.GABusy != 0 || Experiment.LandscapeBusy != 0 || Series.MultiRunBusy != 0;
}

void CBrevimarDoc::ResetTail()
{
    InitializeForces();
    RunHeader.CurrentStep = 1;
    RunHeader.TimeDirection = 1;
    // A sample or run started again must not repeat the scenario seed's battle.
    if (!BatchRunOpen())
        RestartGenerator();
    RunTerminated = 0;
    ResetBattlefield();
}

void CBrevimarDoc::RestoreInitialComposition()
{
    const CForceComposition& c = InitialComposition;
    RestoreSide(RedForce, c.RedCount, c.RedSquads, c.RedPerSquad, c.RedAgentSquad);
    RestoreSide(BlueForce, c.BlueCount, c.BlueSquads, c.BluePerSquad, c.BlueAgentSquad);
}

void CBrevimarDoc::RestartRun()
{
    switch (RunMode) {
    case PlaybackMode:
        RunHeader.CurrentStep = 1;
        ResetBattlefield();
        break;
    case InteractiveMode: {
        // Set-up records the restarted battle from frame 0 on, unless the
        // forces are rebuilt, which ends the capture.
        const bool rebuilt = DeploymentSource == AgentFileDeployment && RestartUsesAgentFile == 0;
        if (!OfferCapturedFrames(rebuilt ? CaptureAfterOffer::Ends : CaptureAfterOffer::StartsAgain))
            return;
        RunHeader.CurrentStep = 1;
        if (rebuilt) {
            RestoreInitialComposition();
            DeploymentSource = RandomDeployment;
            InitializeForces();
        }
        // The deployment, and the battle after it, repeat the read's,
        // whatever ran since: agents placed or taken off by hand are the
        // scenario's before the generator counts the agents it draws for.
        if (DeploymentSource == RandomDeployment)
            RebuildHandEditedForces();
        RestartGenerator();
        TakeStartRanges(*this);
        ResetBattlefield();
        break;
    }
    case ReplayMode:
        RunHeader.CurrentStep = 1;
        RebuildLatticeFromPlayback();
        break;
    default:
        // The batch modes own their runs; the command is disabled there.
        break;
    }
}

void CBrevimarDoc::RandomizeRun()
{
    // The generator runs on from where it stands, so each call deploys anew;
    // InitialSeed stays, and a restart still brings the scenario's battle back.
    switch (RunMode) {
    case PlaybackMode:
        ResetBattlefield();
        break;
    case InteractiveMode:
        // Set-up records the new deployment from frame 0 on.
        if (!OfferCapturedFrames(CaptureAfterOffer::StartsAgain))
            return;
        RunHeader.CurrentStep = 1;
        TakeStartRanges(*this);
        ResetBattlefield();
        break;
    case ReplayMode:
        RebuildLatticeFromPlayback();
        break;
    default:
        break;
    }
}

void CBrevimarDoc::ToggleStepExecuteMode()
{
    if (StepExecuteMode == 1) {
        StepExecuteMode = 0;
    } else {
        StepExecuteMode = 1;
        StepsPerBurst = 1;
        StepsSincePause = 0;
    }
    Resume();
}

void CBrevimarDoc::EndPausedBatch()
{
    EndPausedMultiRun();
    CLandscapeRunState& sweep = Landscape.Run;
    if (sweep.SweepOpen != 0) {
        sweep.SweepOpen = sweep.PointOpen = sweep.RunOpen = sweep.ObservationPending = 0;
        Experiment.LandscapeGridPoint = 0;
        Experiment.LandscapeBusy = 0;
    }
}

bool CBrevimarDoc::TerminateRun()
{
    if (!OfferCapturedFrames())
        return false;
    EndPausedBatch();
    RunHeader.CurrentStep = RunHeader.LastStep;
    RunTerminated = 1;
    if (RunMode == GeneticAlgorithmMode) {
        // The genetic algorithm ends as if its last generation had run; its
        // best chromosome is shown on the forces the generations left.
        Experiment.GaGeneration = Experiment.GaGenerations;
        if (BatchDrivers)
            BatchDrivers->OnDisplayGaBestChromosome();
    }
    PutBackBatchWriteRecord();
    RunMode = InteractiveMode;
    LoadInputFile = 1;
    return true;
}

void CBrevimarDoc::StartInteractiveRun()
{
    EndPausedBatch();
    PutBackBatchWriteRecord();
    LoadInputFile = 1;
    // The genetic algorithm's search space goes back to its first mode.
    Ga.GaSearchMode = 1;
    Ga.GaMultiSquad = 0;
    for (int mode = 1; mode < GaModeSlots; ++mode)
        Ga.GaSearchModeFlags[mode] = mode == 1 ? 1 : 0;
    if (RunMode == InteractiveMode)
        return;
    RunMode = InteractiveMode;
    InitializeForces();
    RestartGenerator();
    RunHeader.CurrentStep = 1;
    RunHeader.TimeDirection = 1;
    RunTerminated = 0;
    ResetBattlefield();
}

void CBrevimarDoc::ShowFirstFrame()
{
    if (RunMode == ReplayMode) {
        // The frames just read may lie on a field of another size.
        LatticeExtentX = LatticeExtentY = RunHeader.LatticeSize + 2;
        RebuildLatticeFromPlayback();
        RunHeader.CurrentStep = 1;
        // The status line names the frame on show at once: frames just read
        // may hold other agents than those the last tick counted.
        CountPlaybackAttrition();
        ShowRunStatus();
    } else if (RunMode == PlaybackMode || RunMode == InteractiveMode) {
        // Where Restart leaves the run: at the reset's step 0, so that the
        // next tick takes (or shows) step 1 and the run is as long as ever.
        if (RunMode == InteractiveMode)
            TakeStartRanges(*this);
        ResetBattlefield();
    }
}

}  // namespace brevimar
