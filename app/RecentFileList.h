// The recent-file list: the last files opened by name, newest first, kept in
// the user's settings under the program's profile.
#pragma once

#include <string>
#include <vector>

#include "platform/Settings.h"

namespace brevimar {

class CRecentFileList {
public:
    static constexpr const char* ProfileName = SettingsOrganisation;
    static constexpr const char* ApplicationName = SettingsApplication;

    explicit CRecentFileList(std::size_t size = 4) : Size(size) {}

    void ReadList();
    void WriteList() const;
    // Puts `path` first; a path already in the list moves up, the oldest drops off.
    void Add(const std::string& path);
    void Remove(std::size_t index);

    const std::vector<std::string>& Files() const { return Entries; }
    std::size_t Capacity() const { return Size; }

private:
    std::size_t Size;
    std::vector<std::string> Entries;
};

}  // namespace brevimar
