// The run loop's single steps, as a tick of the window timer takes them
// (CBrevimarDoc::OnTimer adds the pause and step-burst handling); the
// headless runner takes them directly.
#pragma once

namespace brevimar {

class CBrevimarDoc;

// Playback (run mode 0) or replay: the next stored frame, wrapping at the
// run's end, with its attrition counts, status line and picture.
void ShowNextStoredFrame(CBrevimarDoc& doc);

// An interactive run: the next step's statistics, attrition and capture of
// the state the last step left, then the step itself. The run pauses at
// step 1 and at the wrap after its last step.
void TakeInteractiveStep(CBrevimarDoc& doc);

}  // namespace brevimar
