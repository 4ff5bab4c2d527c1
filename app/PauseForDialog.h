// A parameter command pauses the run for its dialog; unless the command
// keeps the change, the run's pause flag goes back to what it was.
#pragma once

#include "core/Document.h"

namespace brevimar {

class PauseForDialog {
public:
    explicit PauseForDialog(CBrevimarDoc& doc) : Doc(doc), WasPaused(doc.Paused) { doc.Pause(); }
    ~PauseForDialog()
    {
        if (!Kept)
            Doc.Paused = WasPaused;
    }
    PauseForDialog(const PauseForDialog&) = delete;
    PauseForDialog& operator=(const PauseForDialog&) = delete;
    void Keep() { Kept = true; }

private:
    CBrevimarDoc& Doc;
    int WasPaused;
    bool Kept = false;
};

}  // namespace brevimar
