#include "platform/TestHooks.h"

#include <QVariant>
#include <QWidget>

namespace brevimar {

namespace {

// The widget property that carries the hooks down to the windows opened
// below it.
constexpr const char* HooksProperty = "brevimarModalHooks";

}  // namespace

void CModalHooks::Reset()
{
    Queues.clear();
    Records.clear();
    Timers = true;
}

void CModalHooks::Push(ModalKind kind, ModalAnswer answer) { Queues[kind].push_back(std::move(answer)); }

std::optional<ModalAnswer> CModalHooks::Take(ModalKind kind, int defaultResult)
{
    if (!On)
        return std::nullopt;
    auto& queue = Queues[kind];
    if (queue.empty())
        return ModalAnswer{defaultResult, {}, {}};
    ModalAnswer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

void CModalHooks::Record(ModalKind kind, const std::string& title, const std::string& text, int result)
{
    Records.push_back({kind, title, text, result});
}

std::size_t CModalHooks::Pending(ModalKind kind) const
{
    const auto it = Queues.find(kind);
    return it == Queues.end() ? 0 : it->second.size();
}

void SetModalHooks(QWidget& window, CModalHooks* hooks)
{
    if (hooks)
        window.setProperty(HooksProperty, QVariant::fromValue(static_cast<void*>(hooks)));
    else
        window.setProperty(HooksProperty, QVariant());
}

CModalHooks* ModalHooksOf(const QWidget* window)
{
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        const QVariant hooks = w->property(HooksProperty);
        if (hooks.isValid())
            return static_cast<CModalHooks*>(hooks.value<void*>());
    }
    return nullptr;
}

}  // namespace brevimar
