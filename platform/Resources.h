// The program's menus, toolbars and accelerator tables, read from our own
// plain-text resource format:
//
//   menu 129                      a menu bar, by resource id
//   "&File"                       a popup: no id, deeper lines follow
//     "Clear" 32771               an item: quoted text (kept exactly), command id
//     "Mission Fitness..."        an item without a command: always disabled
//     -                           a separator
//   toolbar 2
//     32905 Ld "Load Input Data File"   command id, glyph, tool tip
//     -
//   accelerators 2
//     Ctrl+G 32769                key, command id
//   prompts                       the string table's command prompts
//     32771 "Clear the grid."     command id, prompt
//
// A command's prompt is its toolbar button's tip (in place of the tip on the
// toolbar line) and what context help (Shift+F1) says of its button and menu
// items; a command without one is described there by its tip or item text.
//
// Two blanks of indentation per menu level. Lines starting with '#' are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace brevimar {

struct MenuEntry {
    std::string Text;
    unsigned Id = 0;
    bool Separator = false;
    bool Popup = false;
    std::vector<MenuEntry> Items;
};

struct ToolbarButton {
    unsigned Id = 0;
    bool Separator = false;
    std::string Glyph;
    std::string Tip;
};

struct Accelerator {
    std::string Key;
    unsigned Id = 0;
};

struct ResourceSet {
    std::map<unsigned, std::vector<MenuEntry>> Menus;  // resource id -> its popups
    std::map<unsigned, std::vector<ToolbarButton>> Toolbars;
    std::map<unsigned, std::vector<Accelerator>> Accelerators;
    std::map<unsigned, std::string> Prompts;  // command id -> prompt
    std::vector<std::string> Errors;  // "line N: what is wrong"
};

ResourceSet ParseResources(const std::string& text);

// Every command id that a menu names, in menu order (duplicates kept).
void CollectMenuIds(const std::vector<MenuEntry>& entries, std::vector<unsigned>& ids);

}  // namespace brevimar
