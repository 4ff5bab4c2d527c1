// A document with every layer attached: the statistics record the state each
// force set-up leaves.
#include "core/Document.h"

namespace brevimar {

std::unique_ptr<CBrevimarDoc> CBrevimarDoc::Create()
{
    auto doc = std::make_unique<CBrevimarDoc>();
    doc->SetStepStatisticsHook([](CBrevimarDoc& d) { d.CollectStepStatistics(); });
    return doc;
}

}  // namespace brevimar
