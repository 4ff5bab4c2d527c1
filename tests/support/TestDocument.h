// A document ready for tests: heap buffers allocated, a scripted host attached.
#pragma once

#include <memory>

#include "core/Document.h"
#include "support/ScriptedHost.h"

namespace brevimar::testing {

struct TestDocument {
    ScriptedHost Host;
    std::unique_ptr<CBrevimarDoc> Doc = CBrevimarDoc::Create();

    TestDocument()
    {
        Doc->SetHost(&Host);
        Doc->AllocateHeapBuffers();
    }
    CBrevimarDoc* operator->() { return Doc.get(); }
    CBrevimarDoc& operator*() { return *Doc; }
};

}  // namespace brevimar::testing
