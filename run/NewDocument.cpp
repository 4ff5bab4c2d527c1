// A document with every layer attached: the statistics record the state each
// force set-up leaves.
#include "core/Document.h"

namespace brevimar {

std::unique_ptr<CBrevimarDoc> CBrevimarDoc::Create()
{
    auto doc = std::make_unique<CBrevimarDoc>();
    doc->SetStepStatisticsHooks([](CBrevimarDoc& d) { d.CollectStepStatistics(); },
                                [](CBrevimarDoc& d) { d.RecordAttrition(); });
    return doc;
}

}  // namespace brevimar
