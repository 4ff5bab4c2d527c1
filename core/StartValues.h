// The start values of a document's run switches that no scenario file
// carries: the genetic-algorithm displays, the landscape threshold and
// movement by probability 1 every step.
#pragma once

namespace brevimar {

struct CDocumentState;

void SetRunStartValues(CDocumentState& doc);

}  // namespace brevimar
