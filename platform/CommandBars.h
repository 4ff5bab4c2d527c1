// Menus, toolbar and accelerators built from the resource tables. Every item
// runs its command through the router; its enabled state and check mark come
// from the update handlers, evaluated when a menu opens, when the toolbar is
// refreshed and after each command.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Command.h"
#include "platform/Resources.h"

class QAction;
class QIcon;
class QMenu;
class QToolBar;
class QWidget;

namespace brevimar {

class CCommandBars {
public:
    // Accelerators and menus are owned by `owner` (the main window).
    CCommandBars(QWidget* owner, const CCommandRouter& router);

    // Call before building the menus, so that the items show their keys.
    void InstallAccelerators(const std::vector<Accelerator>& table);
    // Call before building the toolbar and menus: the commands' prompts, the
    // buttons' tips and the context help's texts.
    void SetPrompts(const std::map<unsigned, std::string>& prompts) { Prompts = prompts; }
    std::vector<QMenu*> BuildMenu(const std::vector<MenuEntry>& popups);
    QToolBar* BuildToolBar(const std::vector<ToolbarButton>& buttons, QWidget* parent);

    // Runs the command when its update state allows it; answers whether it ran.
    bool Run(unsigned id);
    void UpdateMenu(QMenu* menu);
    void UpdateToolBar();

    // Runs after every command (the owner refreshes what it shows).
    std::function<void()> AfterCommand;

    // Items by id (a command may sit in several menus) and by menu path,
    // e.g. "&Simulation/Run Mode/Playback Stored Run".
    std::vector<QAction*> MenuItems(unsigned id) const;
    QAction* FindMenuItem(const std::vector<QMenu*>& popups, const QString& path) const;
    QAction* ToolbarButtonFor(unsigned id) const;

private:
    void AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
    void Apply(QAction* action, const CCmdUI& ui) const;

    QWidget* Owner;
    const CCommandRouter& Router;
    std::map<unsigned, QString> KeyText;
    std::map<unsigned, std::string> Prompts;
    std::multimap<unsigned, QAction*> Items;
    std::map<unsigned, QAction*> Buttons;
};

// A small picture for a toolbar button: the glyph on a coloured tile.
QIcon MakeGlyphIcon(const QString& glyph, int group);

}  // namespace brevimar
