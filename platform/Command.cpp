#include "platform/Command.h"

namespace brevimar {

void CCommandMap::On(unsigned id, CommandHandler handler)
{
    Commands[id] = [handler = std::move(handler)](unsigned) { handler(); };
}

void CCommandMap::OnRange(unsigned first, unsigned last, std::function<void(unsigned)> handler)
{
    for (unsigned id = first; id <= last; ++id)
        Commands[id] = handler;
}

void CCommandMap::OnUpdate(unsigned id, UpdateHandler handler) { Updates[id] = std::move(handler); }

void CCommandMap::OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler)
{
    for (unsigned id = first; id <= last; ++id)
        Updates[id] = handler;
}

bool CCommandMap::HasCommand(unsigned id) const { return Commands.count(id) != 0; }
bool CCommandMap::HasUpdate(unsigned id) const { return Updates.count(id) != 0; }

bool CCommandMap::Execute(unsigned id) const
{
    auto it = Commands.find(id);
    if (it == Commands.end())
        return false;
    // A copy: the handler may change the map it came from.
    auto handler = it->second;
    auto around = Around;
    if (around)
        around(id, [&handler, id] { handler(id); });
    else
        handler(id);
    return true;
}

bool CCommandMap::Update(CCmdUI& ui) const
{
    auto it = Updates.find(ui.m_nID);
    if (it == Updates.end())
        return false;
    it->second(ui);
    return true;
}

CCmdUI CCommandRouter::Evaluate(unsigned id) const
{
    CCmdUI ui(id);
    const auto maps = Maps();
    for (const CCommandMap* map : maps)
        if (map && map->Update(ui))
            return ui;
    bool handled = false;
    for (const CCommandMap* map : maps)
        handled = handled || (map && map->HasCommand(id));
    ui.Enable(handled);
    return ui;
}

bool CCommandRouter::Dispatch(unsigned id) const
{
    for (const CCommandMap* map : Maps())
        if (map && map->Execute(id))
            return true;
    return false;
}

}  // namespace brevimar
