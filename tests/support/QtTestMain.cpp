// main() of the GUI test programs: one QApplication for the whole run, on the
// offscreen window system unless the environment names another. Settings go
// to a test location, never to the user's own.
#include <QApplication>
#include <QStandardPaths>

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
