#include "platform/TestHooks.h"

namespace brevimar {

namespace {

struct HookState {
    bool On = false;
    bool Timers = true;
    std::map<ModalKind, std::deque<ModalAnswer>> Queues;
    std::vector<ModalRecord> Log;
};

HookState& State()
{
    static HookState state;
    return state;
}

}  // namespace

void ModalHooks::Enable(bool on) { State().On = on; }
bool ModalHooks::Enabled() { return State().On; }

void ModalHooks::Reset()
{
    State().Queues.clear();
    State().Log.clear();
    State().Timers = true;
}

void ModalHooks::Push(ModalKind kind, ModalAnswer answer) { State().Queues[kind].push_back(std::move(answer)); }

std::optional<ModalAnswer> ModalHooks::Take(ModalKind kind, int defaultResult)
{
    if (!State().On)
        return std::nullopt;
    auto& queue = State().Queues[kind];
    if (queue.empty())
        return ModalAnswer{defaultResult, {}, {}};
    ModalAnswer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

void ModalHooks::Record(ModalKind kind, const std::string& title, const std::string& text, int result)
{
    State().Log.push_back({kind, title, text, result});
}

const std::vector<ModalRecord>& ModalHooks::Log() { return State().Log; }

std::size_t ModalHooks::Pending(ModalKind kind) { return State().Queues[kind].size(); }

void ModalHooks::SetTimersAvailable(bool available) { State().Timers = available; }
bool ModalHooks::TimersAvailable() { return State().Timers; }

}  // namespace brevimar
