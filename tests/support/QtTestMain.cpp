// main() of the GUI test programs: one QApplication for the whole run, on the
// offscreen window system unless the environment names another. Settings go
// to a folder of this process's own, never to the user's, and never to one
// that test programs running beside it write too.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    const QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
