// Lets the window system handle what is pending while long work runs inside
// one handler.
#pragma once

namespace brevimar {

// Handles the pending window messages for at most a millisecond: the nearest
// equivalent of peeking, translating and dispatching one message.
void PumpOneMessage();

}  // namespace brevimar
