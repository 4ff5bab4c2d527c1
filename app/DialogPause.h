// Pauses the run for a modal dialog and restores the run's pause flag when
// the command ends without a change, so that Cancel leaves the run as it was.
#pragma once

#include "core/Document.h"

namespace brevimar {

class DialogPause {
public:
    explicit DialogPause(CBrevimarDoc& doc) : Doc(doc), WasPaused(doc.Paused) { doc.Pause(); }
    ~DialogPause()
    {
        if (!Kept)
            Doc.Paused = WasPaused;
    }
    DialogPause(const DialogPause&) = delete;
    DialogPause& operator=(const DialogPause&) = delete;
    // Something changed: the run stays paused.
    void Keep() { Kept = true; }

private:
    CBrevimarDoc& Doc;
    int WasPaused;
    bool Kept = false;
};

}  // namespace brevimar
