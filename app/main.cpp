#include <QApplication>

#include <clocale>
#include <locale>

#include "app/BrevimarApp.h"
#include "core/OutputFile.h"

namespace {

// Whether the command line asks for a run that shows no window and ends:
// read before the application object, whose own start-up may already speak.
bool EndsWithoutWindow(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return brevimar::ParseCommandLine(arguments).EndsWithoutWindow();
}

}  // namespace

int main(int argc, char** argv)
{
    // Standard error is all such a run has to speak through, the library's
    // warnings and what is said at exit included, and standard output all it
    // has to list the switches in. A write there that fails (a file at the
    // size limit, a pipe whose reader went) is given up, not the end of the
    // run: the run ends by its own status, as there is nowhere left to say it.
    if (EndsWithoutWindow(argc, argv))
        brevimar::HoldWriteSignalsToTheEnd();

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
