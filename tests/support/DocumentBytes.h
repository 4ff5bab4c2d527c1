// The document's plain data, byte for byte: what a command that must change
// nothing is held to.
#pragma once

#include <cstring>
#include <vector>

#include "core/Document.h"

namespace brevimar::testing {

inline std::vector<unsigned char> DocumentBytes(const CBrevimarDoc& doc)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(static_cast<const CDocumentState*>(&doc));
    return {bytes, bytes + sizeof(CDocumentState)};
}

}  // namespace brevimar::testing
