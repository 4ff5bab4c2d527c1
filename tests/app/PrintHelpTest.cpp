#include <QFile>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <map>
#include <QMdiArea>
#include <QPrinter>
#include <QProcess>
#include <QToolBar>
#include <QWhatsThis>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QProcessEnvironment>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/AppFixture.h"
#include "app/HelpWindow.h"
#include "app/ResourceIds.h"
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

TEST_F(PrintAndHelp, APrintedPageHoldsTheWholeFieldUnderItsTitle)
{
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    const QString title = View()->PageTitle();
    EXPECT_TRUE(title.contains("scenario_v1.dat")) << title.toStdString();
    EXPECT_TRUE(title.contains(QString::number(Doc().RunHeader.CurrentStep))) << title.toStdString();
    // A tall page and a wide one: the field is square (square cells), so its
    // outline drawn whole is a square, and its four sides are unbroken lines.
    for (QSize pageSize : {QSize(600, 850), QSize(850, 600)}) {
        QImage page(pageSize, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            View()->PaintPage(painter, page.rect());
        }
        const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
        // The field's top outline is the first row with a long dark run.
        int top = -1;
        for (int y = 0; y < page.height() && top < 0; ++y) {
            int run = 0, longest = 0;
            for (int x = 0; x < page.width(); ++x)
                longest = std::max(longest, run = dark(x, y) ? run + 1 : 0);
            if (longest > page.width() / 3)
                top = y;
        }
        ASSERT_GT(top, 0) << pageSize.width();
        int left = page.width(), right = -1, bottom = -1;
        for (int y = top; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (dark(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        EXPECT_NEAR(right - left, bottom - top, 2) << pageSize.width();
        int brokenRight = 0, brokenBottom = 0, titleInk = 0;
        for (int y = top; y <= bottom; ++y)
            brokenRight += !dark(right, y) + !dark(left, y);
        for (int x = left; x <= right; ++x)
            brokenBottom += !dark(x, bottom) + !dark(x, top);
        for (int y = 0; y < top; ++y)
            for (int x = 0; x < page.width(); ++x)
                titleInk += dark(x, y);
        EXPECT_EQ(brokenRight, 0) << pageSize.width();
        EXPECT_EQ(brokenBottom, 0) << pageSize.width();
        EXPECT_GT(titleInk, 20) << "no title above the field, page " << pageSize.width();
    }
}

TEST_F(PrintAndHelp, PrintFromTheCommandLineWritesThePdfAndEnds)
{
    const std::string pdf = TempFolder() + "/command-line.pdf";
    EXPECT_FALSE(Start({"--print", QString::fromStdString(Fixture("scenario_v1.dat")), "--print-to",
                        QString::fromStdString(pdf)}));
    EXPECT_EQ(App->ExitCode(), 0);
    EXPECT_EQ(Head(pdf, 5), QByteArray("%PDF-"));
    EXPECT_EQ(FileDialogsShown(), 0);
    EXPECT_FALSE(Frame().isVisible());

    // Without a file there is nothing to print.
    App = std::make_unique<CBrevimarApp>(&Hooks);
    EXPECT_FALSE(Start({"--print"}));
    EXPECT_EQ(App->ExitCode(), 2);

    // A document file prints whatever the case of its extension: a 5 x 5
    // field with no agents and no steps is its 16-byte header alone.
    std::string header(16, '\0');
    header[0] = 5;
    const std::string document = WriteTemp("FIELD.BRV", header), documentPdf = document + ".pdf";
    App = std::make_unique<CBrevimarApp>(&Hooks);
    EXPECT_FALSE(Start({"--print", QString::fromStdString(document), "--print-to", QString::fromStdString(documentPdf)}));
    EXPECT_EQ(App->ExitCode(), 0);
    EXPECT_EQ(Head(documentPdf, 5), QByteArray("%PDF-"));
}

// For RunProgram's child: files may grow to `bytes` only, with the signal at
// its default as a shell's `ulimit -f` leaves it.
std::function<void()> UnderFileSizeLimit(::rlim_t bytes)
{
    return [bytes] {
        const ::rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
    };
}

struct ProgramRun {
    bool Ended = false;
    int Status = -1;
    QString Out, Err;
};

// The built program on the offscreen window system, with a settings folder
// of its own; one that has not ended within 20 s is killed. In the
// sanitizer build the font library's own leaks at exit do not count.
// `inChild` runs in the program's process before it starts.
ProgramRun RunProgram(const std::string& folder, const QStringList& arguments,
                      const std::function<void()>& inChild = {})
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder + "/config"));
    const QString suppressions = QString::fromStdString(folder + "/leaks.supp");
    QFile list(suppressions);
    if (list.open(QIODevice::WriteOnly))
        list.write("leak:libfontconfig.so\n");
    list.close();
    environment.insert("LSAN_OPTIONS", "suppressions=" + suppressions);
    program.setProcessEnvironment(environment);
    if (inChild)
        program.setChildProcessModifier(inChild);
    program.start(BREVIMAR_PROGRAM, arguments);
    ProgramRun run;
    run.Ended = program.waitForFinished(20000);
    if (!run.Ended) {
        program.kill();
        program.waitForFinished();
    }
    run.Status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.Out = QString::fromUtf8(program.readAllStandardOutput());
    run.Err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

TEST(CommandLinePrint, PrintsAGoodFileAndRefusesTheOthersWithoutAWindow)
{
    const std::string folder = TempFolder();
    const QString good = QString::fromStdString(Fixture("scenario_v1.dat"));
    const QString missing = QString::fromStdString(folder + "/no_such_file.dat");
    const QString refused = QString::fromStdString(folder + "/not_a_scenario.dat");
    // A text file that is no scenario, under a scenario's name and under its
    // own. Its one word is a hostile one: the reader wants 7 words before the
    // first value and quotes the last it read, whose bytes 1B and 07 must
    // reach the terminal escaped.
    const QString notes = QString::fromStdString(folder + "/notes.txt");
    for (const QString& name : {refused, notes}) {
        QFile text(name);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("\x1b[2Jnon\x07sense\n");
    }
    struct Case {
        const char* Name;
        QStringList Arguments;  // the PDF's path follows --print-to
        int Status;
        bool Pdf;
        QString Said;  // on standard error, once
    } cases[] = {
        {"good", {"--print", good, "--print-to"}, 0, true, {}},
        {"--print-to alone", {good, "--print-to"}, 0, true, {}},
        {"missing", {"--print", missing, "--print-to"}, 1, false, "cannot open input file"},
        {"refused", {"--print", refused, "--print-to"}, 1, false,
         "cannot read input file " + refused +
             ":\nexpected 6 more words after \"\\x1b[2Jnon\\x07sense\" (word 2, line 2), but the file ends there."},
        {"no scenario's name", {"--print", notes, "--print-to"}, 1, false, "cannot print " + notes},
    };
    for (const Case& c : cases) {
        const QString pdf = QString::fromStdString(folder + "/" + c.Name + ".pdf");
        const ProgramRun run = RunProgram(folder, c.Arguments + QStringList{pdf});
        EXPECT_TRUE(run.Ended) << c.Name;
        EXPECT_EQ(run.Status, c.Status) << c.Name << "\n" << run.Err.toStdString();
        EXPECT_EQ(Head(pdf.toStdString(), 5), c.Pdf ? QByteArray("%PDF-") : QByteArray()) << c.Name;
        if (!c.Said.isEmpty()) {
            EXPECT_EQ(run.Err.count(c.Said), 1) << c.Name << "\n" << run.Err.toStdString();
        }
        for (const QChar ch : run.Err)
            EXPECT_TRUE(ch >= QChar(' ') || ch == QChar('\n')) << c.Name << ": character " << static_cast<int>(ch.unicode());
    }
}

// A PDF that did not reach its file whole is an error, naming the file and
// why, with status 1: on a device that takes nothing, and under a file-size
// limit far short of the page (16 KiB) or of any file (0, which the
// program's own settings meet first), the signal at its default as a
// shell's `ulimit -f` leaves it. A PDF cut short is removed: no half page
// is left to pass for printed. Into a folder that does not exist, the file
// does not open, and that is said as for every writer.
TEST(CommandLinePrint, APdfNotWrittenWholeIsAnErrorNamingTheFile)
{
    const std::string folder = TempFolder();
    const QString good = QString::fromStdString(Fixture("scenario_v1.dat"));
    const std::string missing = folder + "/no such folder/x.pdf";
    const struct {
        std::string Pdf;
        std::function<void()> InChild;
        std::string Said;
    } cases[] = {
        {missing, {}, "Error: cannot open output file.\n" + missing + "\nNo such file or directory.\n"},
        {"/dev/full", {}, "Error: cannot write output file /dev/full:\nNo space left on device.\n"},
        {folder + "/cut.pdf", UnderFileSizeLimit(16384),
         "Error: cannot write output file " + folder + "/cut.pdf:\nFile too large.\n"},
        {folder + "/none.pdf", UnderFileSizeLimit(0),
         "Error: cannot write output file " + folder + "/none.pdf:\nFile too large.\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(folder, {"--print-to", QString::fromStdString(c.Pdf), good}, c.InChild);
        EXPECT_TRUE(run.Ended) << c.Pdf;
        EXPECT_EQ(run.Status, 1) << c.Pdf << "\n" << run.Err.toStdString();
        EXPECT_EQ(run.Err.count(QString::fromStdString(c.Said)), 1) << run.Err.toStdString();
        EXPECT_EQ(std::filesystem::exists(c.Pdf), c.Pdf == "/dev/full") << c.Pdf;
    }
}

// A PDF path that is a link, or a chain of them, is written through to the
// file at its end: cut short under the limit, that file goes and the links,
// the user's own, stay (dangling). A link to a device that takes nothing
// leaves the device and the link alone.
TEST(CommandLinePrint, APdfCutThroughALinkRemovesTheFileWrittenAndKeepsTheLinks)
{
    namespace fs = std::filesystem;
    const std::string folder = TempFolder();
    const QString good = QString::fromStdString(Fixture("scenario_v1.dat"));
    fs::create_directory(folder + "/real");
    fs::create_symlink("real/one.pdf", folder + "/one.pdf");
    fs::create_symlink(folder + "/real/two.pdf", folder + "/two-end.pdf");
    fs::create_symlink("two-end.pdf", folder + "/two.pdf");
    fs::create_symlink("/dev/full", folder + "/full.pdf");
    const struct {
        std::vector<std::string> Links;  // the first is the PDF's path
        std::string Target;
        bool Limited;
        std::string Problem;
    } cases[] = {
        {{folder + "/one.pdf"}, folder + "/real/one.pdf", true, "File too large"},
        {{folder + "/two.pdf", folder + "/two-end.pdf"}, folder + "/real/two.pdf", true, "File too large"},
        {{folder + "/full.pdf"}, "/dev/full", false, "No space left on device"},
    };
    for (const auto& c : cases) {
        const std::string& pdf = c.Links.front();
        const ProgramRun run = RunProgram(folder, {"--print-to", QString::fromStdString(pdf), good},
                                          c.Limited ? UnderFileSizeLimit(16384) : std::function<void()>{});
        EXPECT_TRUE(run.Ended) << pdf;
        EXPECT_EQ(run.Status, 1) << pdf << "\n" << run.Err.toStdString();
        const std::string said = "Error: cannot write output file " + pdf + ":\n" + c.Problem + ".\n";
        EXPECT_EQ(run.Err.count(QString::fromStdString(said)), 1) << run.Err.toStdString();
        for (const std::string& link : c.Links)
            EXPECT_TRUE(fs::is_symlink(link)) << link;
        EXPECT_EQ(fs::exists(c.Target), c.Target == "/dev/full") << c.Target;
    }
}

// Standard error is all a run without a window has to speak through. One
// that takes nothing (a file already at the size limit, a pipe whose reader
// has gone) loses the words, not the run: it ends by the status it would
// have had, never by the signal the write raised (153 or 141 in a shell).
// The list of switches is the one thing written to standard output: when it
// does not go whole, standard error says so and the status is 1.
TEST(CommandLinePrint, AStandardStreamThatTakesNothingEndsNoRunBySignal)
{
    const std::string folder = TempFolder();
    const QString good = QString::fromStdString(Fixture("scenario_v1.dat"));
    const QString notes = QString::fromStdString(WriteTemp("notes.txt", "no scenario\n"));
    const std::string full = folder + "/full.txt";
    constexpr ::rlim_t Limit = 16384;
    const auto atLimit = [&](int stream) {
        return [stream, full, inner = UnderFileSizeLimit(Limit)] {
            inner();
            const int fd = ::open(full.c_str(), O_WRONLY | O_APPEND);
            ::dup2(fd, stream);
            ::close(fd);
        };
    };
    const auto closedPipe = [](int stream) {
        return [stream] {
            int ends[2];
            if (::pipe(ends) != 0)
                return;
            ::close(ends[0]);
            ::dup2(ends[1], stream);
            ::close(ends[1]);
            std::signal(SIGPIPE, SIG_DFL);
        };
    };
    const struct {
        const char* Name;
        QStringList Arguments;
        std::function<void()> InChild;
        int Status;
        QString Said;  // on standard error, when that is free
    } cases[] = {
        {"PDF cut, standard error full", {"--print-to", QString::fromStdString(folder + "/cut.pdf"), good},
         atLimit(STDERR_FILENO), 1, {}},
        {"PDF whole, standard error a closed pipe", {"--print-to", QString::fromStdString(folder + "/whole.pdf"), good},
         closedPipe(STDERR_FILENO), 0, {}},
        {"not a scenario, standard error full", {"--print", notes}, atLimit(STDERR_FILENO), 1, {}},
        {"no file, standard error a closed pipe", {"--print"}, closedPipe(STDERR_FILENO), 2, {}},
        {"help, standard output full", {"--help"}, atLimit(STDOUT_FILENO), 1,
         "brevimar: cannot write the list of switches to standard output: File too large.\n"},
        {"help, standard output a closed pipe", {"--help"}, closedPipe(STDOUT_FILENO), 1,
         "brevimar: cannot write the list of switches to standard output: Broken pipe.\n"},
    };
    for (const auto& c : cases) {
        {
            std::ofstream atTheLimit(full, std::ios::trunc);
            atTheLimit << std::string(Limit, 'x');
        }
        const ProgramRun run = RunProgram(folder, c.Arguments, c.InChild);
        EXPECT_TRUE(run.Ended) << c.Name;
        EXPECT_EQ(run.Status, c.Status) << c.Name << " (-1: ended by a signal)\n" << run.Err.toStdString();
        if (!c.Said.isEmpty()) {
            EXPECT_EQ(run.Err.count(c.Said), 1) << c.Name << "\n" << run.Err.toStdString();
        }
        EXPECT_EQ(std::filesystem::file_size(full), Limit) << c.Name;
    }
    EXPECT_TRUE(Head(folder + "/whole.pdf", 5) == "%PDF-");
}

TEST(CommandLinePrint, HelpPrintsTheReadmesListOfSwitchesAndEnds)
{
    const ProgramRun run = RunProgram(TempFolder(), {"--help"});
    ASSERT_TRUE(run.Ended);
    EXPECT_EQ(run.Status, 0);
    ASSERT_TRUE(run.Out.contains("--print-to")) << run.Out.toStdString();
    // The README shows the list as a code block: each line indented by four.
    QFile file(BREVIMAR_README);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString readme = QString::fromUtf8(file.readAll());
    QString block;
    for (const QString& line : run.Out.split('\n', Qt::SkipEmptyParts))
        block += "    " + line + "\n";
    EXPECT_TRUE(readme.contains(block)) << block.toStdString();
}

TEST_F(PrintAndHelp, TheDesktopEntryOpensAndPrintsEachFileType)
{
    // The installed desktop files: every file type the program opens has a
    // MIME type by its extension, and the desktop entry claims each of them.
    const std::string resources = std::string(BREVIMAR_TEST_DATA) + "/../../resources/";
    QFile mime(QString::fromStdString(resources + "brevimar-mime.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    std::map<QString, QString> typeOfGlob;
    QXmlStreamReader xml(&mime);
    QString type;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == u"mime-type")
                type = xml.attributes().value("type").toString();
            else if (xml.name() == u"glob")
                typeOfGlob[xml.attributes().value("pattern").toString()] = type;
        }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const QString desktop = QString::fromUtf8(Head(resources + "brevimar.desktop", 4096));
    for (const char* glob : {"*.dat", "*.run", "*.brv"}) {
        ASSERT_EQ(typeOfGlob.count(glob), 1u) << glob;
        EXPECT_TRUE(desktop.contains(typeOfGlob[glob] + ";")) << glob;
    }
    EXPECT_TRUE(desktop.contains("\nExec=brevimar %f\n"));
    EXPECT_TRUE(desktop.contains("\nExec=brevimar --print %f\n"));
}

// File > Print into a PDF in a folder that does not exist: a box names the
// file and why, as for every writer.
TEST_F(PrintAndHelp, APrinterThatCannotOpenIsReported)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    const std::string pdf = TempFolder() + "/no such folder/x.pdf";
    QPrinter& printer = View()->PrinterSettings();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_PRINT));
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::MessageBox);
    EXPECT_EQ(Hooks.Log().back().Text, "Error: cannot open output file.\n" + pdf + "\nNo such file or directory.");
}

// File > Print into a PDF file that takes nothing: a box names the file.
TEST_F(PrintAndHelp, APdfFileNotWrittenWholeIsReportedInABox)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    QPrinter& printer = View()->PrinterSettings();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/dev/full");
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_PRINT));
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::MessageBox);
    EXPECT_EQ(Hooks.Log().back().Text, "Error: cannot write output file /dev/full:\nNo space left on device.");
}

TEST_F(PrintAndHelp, HelpKeysOpenOneGuideEvenWithoutADocument)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    Frame().RefreshMenus();
    for (unsigned id : {ID_HELP_FINDER, ID_HELP})
        ASSERT_TRUE(Frame().RunCommand(id)) << id;
    const QList<CHelpWindow*> windows = Frame().findChildren<CHelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), CHelpWindow::Title);
    for (const char* topic : {"Display", "Run modes", "Playback Stored Run", ".run", ".agt"})
        EXPECT_TRUE(windows[0]->Text().contains(topic)) << topic;
}

// The run commands' prompts are their toolbar tips and what context help
// says of them; Shift+F1 asks what the next item chosen does, F1 opens the guide.
TEST_F(PrintAndHelp, ShiftF1AsksWhatTheNextButtonDoesInsteadOfRunningIt)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    const struct {
        unsigned Id;
        bool Button;
        const char* Prompt;
    } prompts[] = {
        {CBrevimarView::ID_RANDOMIZE, true, "Restart the Run and Randomize"},
        {CBrevimarView::ID_RESTART_GO, false, "Restart the current run."},
        {CBrevimarView::ID_CLEAR, false, "Clear the grid."},
        {CBrevimarView::ID_STEP_EXECUTE_MODE, true, "Set Single-Step Execution Mode"},
        {CBrevimarView::ID_RUN_STOP_TOGGLE, true, "Run/Stop Toggle"},
        {32970, true, "Enable Multiple Time-Series Data Collection Mode"},
    };
    for (const auto& p : prompts) {
        QAction* button = Frame().Bars().ToolbarButtonFor(p.Id);
        ASSERT_EQ(button != nullptr, p.Button) << p.Prompt;
        if (button) {
            EXPECT_EQ(button->toolTip().toStdString(), p.Prompt);
            EXPECT_EQ(Frame().ToolBar()->widgetForAction(button)->whatsThis().toStdString(), p.Prompt);
        }
        ASSERT_FALSE(Frame().Bars().MenuItems(p.Id).empty()) << p.Prompt;
        for (QAction* item : Frame().Bars().MenuItems(p.Id))
            EXPECT_EQ(item->whatsThis().toStdString(), p.Prompt);
    }

    const auto key = [&](const QKeySequence& sequence) {
        for (QAction* a : Frame().actions())
            if (a->shortcut() == sequence)
                return a;
        return static_cast<QAction*>(nullptr);
    };
    // The splash window, which would take the click below, goes first.
    QKeyEvent anyKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(View(), &anyKey);
    ASSERT_FALSE(App->Splash().IsShown());
    ASSERT_NE(key(QKeySequence(Qt::SHIFT | Qt::Key_F1)), nullptr);
    key(QKeySequence(Qt::SHIFT | Qt::Key_F1))->trigger();
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_TRUE(Frame().findChildren<CHelpWindow*>().isEmpty());
    // A click on Run/Stop shows its text and leaves the run as it was.
    const int paused = Doc().Paused;
    QWidget* runStop = Frame().ToolBar()->widgetForAction(Frame().Bars().ToolbarButtonFor(CBrevimarView::ID_RUN_STOP_TOGGLE));
    const QPointF centre = QRectF(runStop->rect()).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, centre, runStop->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(runStop, &click);
    }
    EXPECT_EQ(Doc().Paused, paused);
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::hideText();

    ASSERT_NE(key(QKeySequence(Qt::Key_F1)), nullptr);
    key(QKeySequence(Qt::Key_F1))->trigger();
    EXPECT_EQ(Frame().findChildren<CHelpWindow*>().size(), 1);
}

}  // namespace
}  // namespace brevimar::testing
