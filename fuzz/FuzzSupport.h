// What the reader fuzz targets share: a quiet host and scratch documents
// prepared the way the readers' callers prepare them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Document.h"
#include "core/Host.h"
#include "files/ScenarioFormat.h"

namespace brevimar::fuzz {

// Messages are dropped: a fuzzer reports crashes, not refusals.
class QuietHost : public HeadlessHost {
public:
    int MessageBox(const std::string&, const std::string&, unsigned) override { return IDOK; }
};

// The input as a reader's text, read where it lies as a file's text is.
inline std::string_view Text(const std::uint8_t* data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// A scratch copy of a new document's state with the generator restarted,
// as both scenario readers start.
inline std::unique_ptr<CDocumentState> ScratchState()
{
    auto state = std::make_unique<CDocumentState>();
    state->RandomState = ScenarioSeed;
    state->InitialSeed = state->RandomState;
    state->Generator.Draw(&state->RandomState);
    return state;
}

// A whole document with its buffers, for the readers that commit.
struct Document {
    QuietHost Host;
    std::unique_ptr<CBrevimarDoc> Doc = CBrevimarDoc::Create();
    Document()
    {
        Doc->SetHost(&Host);
        Doc->AllocateHeapBuffers();
    }
};

}  // namespace brevimar::fuzz
