#include "platform/Resources.h"

#include <cctype>
#include <sstream>

namespace brevimar {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool ParseId(const std::string& s, unsigned& id)
{
    if (s.empty() || s.size() > 9)
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    id = static_cast<unsigned>(std::stoul(s));
    return true;
}

enum class Section { None, Menu, Toolbar, Accelerators, Prompts };

}  // namespace

ResourceSet ParseResources(const std::string& text)
{
    ResourceSet set;
    Section section = Section::None;
    unsigned resourceId = 0;
    // Open popups of the menu being read: the entry list at each depth.
    std::vector<std::vector<MenuEntry>*> open;

    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto error = [&](const std::string& what) {
        set.Errors.push_back("line " + std::to_string(lineNumber) + ": " + what);
    };

    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        std::size_t indent = 0;
        while (indent < line.size() && line[indent] == ' ')
            ++indent;

        std::string kind, id;
        {
            std::istringstream head(trimmed);
            head >> kind >> id;
        }
        if (indent == 0 && kind == "prompts" && id.empty()) {
            section = Section::Prompts;
            continue;
        }
        if (indent == 0 && (kind == "menu" || kind == "toolbar" || kind == "accelerators")) {
            if (!ParseId(id, resourceId)) {
                error("a section needs a numeric resource id");
                section = Section::None;
                continue;
            }
            if (kind == "menu") {
                section = Section::Menu;
                open = {&set.Menus[resourceId]};
            } else if (kind == "toolbar") {
                section = Section::Toolbar;
                set.Toolbars[resourceId];
            } else {
                section = Section::Accelerators;
                set.Accelerators[resourceId];
            }
            continue;
        }

        switch (section) {
        case Section::None:
            error("an entry outside any section");
            break;
        case Section::Menu: {
            if (indent % 2 != 0) {
                error("indentation must be a multiple of two blanks");
                break;
            }
            const std::size_t depth = indent / 2;
            if (depth + 1 > open.size()) {
                error("an entry deeper than the popup above it");
                break;
            }
            open.resize(depth + 1);
            std::vector<MenuEntry>& list = *open[depth];
            // The entry above, if it has no command, opens a popup for deeper lines.
            MenuEntry entry;
            if (trimmed == "-") {
                entry.Separator = true;
                list.push_back(entry);
                break;
            }
            const std::size_t first = line.find('"');
            const std::size_t last = line.rfind('"');
            if (first == std::string::npos || last == first) {
                error("a menu entry needs its text in double quotes");
                break;
            }
            entry.Text = line.substr(first + 1, last - first - 1);
            const std::string rest = Trim(line.substr(last + 1));
            if (!rest.empty() && !ParseId(rest, entry.Id)) {
                error("bad command id '" + rest + "'");
                break;
            }
            list.push_back(entry);
            if (entry.Id == 0) {
                // Becomes a popup as soon as a deeper line follows.
                open.push_back(&list.back().Items);
            }
            break;
        }
        case Section::Toolbar: {
            ToolbarButton button;
            if (trimmed == "-") {
                button.Separator = true;
            } else {
                std::istringstream fields(trimmed);
                std::string id;
                fields >> id >> button.Glyph;
                const std::size_t first = trimmed.find('"');
                const std::size_t last = trimmed.rfind('"');
                if (!ParseId(id, button.Id) || button.Glyph.empty() || first == std::string::npos || last == first) {
                    error("a toolbar button is: id glyph \"tip\"");
                    break;
                }
                button.Tip = trimmed.substr(first + 1, last - first - 1);
            }
            set.Toolbars[resourceId].push_back(button);
            break;
        }
        case Section::Accelerators: {
            std::istringstream fields(trimmed);
            Accelerator accel;
            std::string id;
            fields >> accel.Key >> id;
            if (accel.Key.empty() || !ParseId(id, accel.Id)) {
                error("an accelerator is: key command-id");
                break;
            }
            set.Accelerators[resourceId].push_back(accel);
            break;
        }
        case Section::Prompts: {
            std::istringstream fields(trimmed);
            std::string id;
            fields >> id;
            unsigned command = 0;
            const std::size_t first = trimmed.find('"');
            const std::size_t last = trimmed.rfind('"');
            if (!ParseId(id, command) || first == std::string::npos || last == first) {
                error("a prompt is: command-id \"text\"");
                break;
            }
            set.Prompts[command] = trimmed.substr(first + 1, last - first - 1);
            break;
        }
        }
    }

    // An entry without a command that got deeper lines is a popup; one
    // without is a plain item that no handler serves.
    std::vector<std::vector<MenuEntry>*> pending;
    for (auto& [id, popups] : set.Menus)
        pending.push_back(&popups);
    while (!pending.empty()) {
        auto* list = pending.back();
        pending.pop_back();
        for (MenuEntry& entry : *list) {
            entry.Popup = !entry.Items.empty();
            pending.push_back(&entry.Items);
        }
    }
    return set;
}

void CollectMenuIds(const std::vector<MenuEntry>& entries, std::vector<unsigned>& ids)
{
    for (const MenuEntry& entry : entries) {
        if (entry.Popup)
            CollectMenuIds(entry.Items, ids);
        else if (!entry.Separator)
            ids.push_back(entry.Id);
    }
}

}  // namespace brevimar
