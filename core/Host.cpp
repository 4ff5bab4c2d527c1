#include "core/Host.h"

#include <iostream>

namespace brevimar {

void Host::Log(const std::string& text)
{
    std::cerr << text << '\n';
}

int HeadlessHost::MessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    std::cerr << caption << ": " << text << '\n';
    const unsigned buttons = style & 0xFu;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
        return IDYES;
    return IDOK;
}

}  // namespace brevimar
