#include <QFile>
#include <QMdiArea>
#include <QPrinter>

#include "app/AppFixture.h"
#include "app/HelpWindow.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using PrintAndHelp = AppTest;

QByteArray Head(const std::string& path, int bytes)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

TEST_F(PrintAndHelp, PrintAndPreviewWriteThePictureThroughThePrinter)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    struct Case {
        unsigned Id;
        const char* Title;
        int Answer;
        bool Written;
    } cases[] = {
        {ID_FILE_PRINT, "Print", IDCANCEL, false},
        {ID_FILE_PRINT, "Print", IDOK, true},
        {ID_FILE_PRINT_PREVIEW, "Print Preview", IDOK, true},
        {ID_FILE_PRINT_SETUP, "Print Setup", IDOK, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string pdf = TempFolder() + "/print" + std::to_string(++n) + ".pdf";
        QPrinter& printer = View()->PrinterSettings();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        Hooks.AnswerDialog(c.Answer);
        ASSERT_TRUE(Frame().RunCommand(c.Id)) << c.Title;
        EXPECT_EQ(Hooks.Log().back().Title, c.Title);
        EXPECT_EQ(Head(pdf, 5), c.Written ? QByteArray("%PDF-") : QByteArray()) << c.Title;
    }
}

TEST_F(PrintAndHelp, APrinterThatCannotOpenIsReported)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(TempFolder() + "/no such folder/x.pdf"));
    EXPECT_FALSE(View()->PrintPicture(printer));
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::MessageBox);
}

TEST_F(PrintAndHelp, HelpKeysOpenOneGuideEvenWithoutADocument)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    Frame().RefreshMenus();
    for (unsigned id : {ID_HELP_FINDER, ID_HELP, ID_CONTEXT_HELP})
        ASSERT_TRUE(Frame().RunCommand(id)) << id;
    const QList<CHelpWindow*> windows = Frame().findChildren<CHelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), CHelpWindow::Title);
    for (const char* topic : {"Display", "Run modes", "Playback Stored Run", ".run", ".agt"})
        EXPECT_TRUE(windows[0]->Text().contains(topic)) << topic;
}

}  // namespace
}  // namespace brevimar::testing
