// Run-loop work of the batch modes and their result displays, supplied by the
// layers above the run loop that own them.
#pragma once

namespace brevimar {

class CBatchDrivers {
public:
    virtual ~CBatchDrivers() = default;
    virtual void RunGABatch() {}
    virtual void UpdateGaStatusLine() {}
    virtual void OnDisplayGaBestChromosome() {}
    virtual void RunLandscapeBatch() {}
    virtual void OnLandscape3DGraph() {}
    virtual void RunMultiTimeSeriesBatch() {}
    virtual void OnMultiRunComplete() {}
};

}  // namespace brevimar
