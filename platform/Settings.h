// Where the program keeps the user's settings (the recent-file list, the
// choosers' last folder): under its own organisation and name.
#pragma once

#include <functional>

class QSettings;

namespace brevimar {

inline constexpr const char* SettingsOrganisation = "Brevimar";
inline constexpr const char* SettingsApplication = "Brevimar";

// The user's settings as `change` leaves them, written before this returns.
// A settings file that cannot be written (a full disk, the file-size limit
// reached) stays as it was and ends nothing: the program goes on with what
// it remembers for this session.
void WriteSettings(const std::function<void(QSettings&)>& change);

}  // namespace brevimar
