#include <QApplication>

#include <clocale>
#include <locale>

#include "app/BrevimarApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Brevimar");
    // The window system takes the user's locale; the files are read and
    // written with the C locale's decimal point whatever it says.
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(std::locale::classic());

    brevimar::CBrevimarApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return app.ExitCode();
    return application.exec();
}
