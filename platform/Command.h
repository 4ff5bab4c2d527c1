// Commands by id: message maps of command and update handlers, and the
// routing of a command through a chain of maps (the active view first).
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace brevimar {

// Command ids of the framework's own commands.
enum FrameworkCommand : unsigned {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE4 = 57619,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

// What an update handler sets for one command's menu item or button.
class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_nID(id) {}
    void Enable(bool on = true)
    {
        Enabled = on;
        EnableCalled = true;
    }
    void SetCheck(int check = 1) { Checked = check != 0; }

    unsigned m_nID;
    bool Enabled = true;
    bool Checked = false;
    bool EnableCalled = false;
};

using CommandHandler = std::function<void()>;
using UpdateHandler = std::function<void(CCmdUI&)>;

class CCommandMap {
public:
    void On(unsigned id, CommandHandler handler);
    void OnRange(unsigned first, unsigned last, std::function<void(unsigned)> handler);
    void OnUpdate(unsigned id, UpdateHandler handler);
    void OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler);

    // Every command this map handles runs inside `hook`, which gets the
    // command's id and the command itself to run.
    using AroundHook = std::function<void(unsigned, const std::function<void()>&)>;
    void AroundEach(AroundHook hook) { Around = std::move(hook); }

    bool HasCommand(unsigned id) const;
    bool HasUpdate(unsigned id) const;
    // False when this map has no handler for the id.
    bool Execute(unsigned id) const;
    bool Update(CCmdUI& ui) const;

private:
    std::map<unsigned, std::function<void(unsigned)>> Commands;
    std::map<unsigned, UpdateHandler> Updates;
    AroundHook Around;
};

// Routes commands through the chain of maps that the owner hands out at the
// moment of the call (the active view, then the frame, then the application).
class CCommandRouter {
public:
    using Chain = std::function<std::vector<const CCommandMap*>()>;
    explicit CCommandRouter(Chain chain) : Maps(std::move(chain)) {}

    // The item's state: the first update handler in the chain decides; with
    // none, the item is enabled exactly when some map handles the command.
    CCmdUI Evaluate(unsigned id) const;
    // Runs the first handler in the chain; false when none handles it.
    bool Dispatch(unsigned id) const;

private:
    Chain Maps;
};

}  // namespace brevimar
