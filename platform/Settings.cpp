#include "platform/Settings.h"

#include <QSettings>

#include <csignal>

#include "core/OutputFile.h"

namespace brevimar {

// The settings' library writes on its own, past the writer every file of
// ours goes through: a write of it cut by the file-size limit would raise
// the signal that ends the program.
void WriteSettings(const std::function<void(QSettings&)>& change)
{
    WriteSignalsHeld held;
    {
        QSettings settings(SettingsOrganisation, SettingsApplication);
        change(settings);
        settings.sync();
    }
    held.TakeRaised(SIGXFSZ);
}

}  // namespace brevimar
