// Where the program keeps the user's settings (the recent-file list, the
// choosers' last folder): under its own organisation and name.
#pragma once

namespace brevimar {

inline constexpr const char* SettingsOrganisation = "Brevimar";
inline constexpr const char* SettingsApplication = "Brevimar";

}  // namespace brevimar
