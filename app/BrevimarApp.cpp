#include "app/BrevimarApp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QWhatsThis>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/AboutDlg.h"
#include "app/BrevimarView.h"
#include "app/ChildFrame.h"
#include "app/DocTemplate.h"
#include "app/MainFrame.h"
#include "app/ResourceIds.h"
#include "core/FileFilters.h"
#include "files/DocumentFile.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "platform/CommandBars.h"
#include "platform/FileDialog.h"
#include "platform/TestHooks.h"

// Outside any namespace, as the resource system requires.
static void InitBrevimarResources()
{
    Q_INIT_RESOURCE(brevimar);
}

namespace brevimar {

namespace {

// A file the start-up reader reads (any other would give the built-in
// scenario), or a document file.
bool IsPrintableFile(const std::string& path)
{
    return IsDocumentFile(path) || ClassifyStartupExtension(FileExtensionOf(path)) != StartupFileKind::Unlisted;
}

ResourceSet LoadResources()
{
    InitBrevimarResources();
    QFile file(":/brevimar/brevimar.menu");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ParseResources(file.readAll().toStdString());
}

}  // namespace

const char* const CommandLineHelp =
    "usage: brevimar [--minimized] [FILE]\n"
    "       brevimar --print [--print-to PDF] FILE\n"
    "  FILE            a scenario (.dat), stored run (.run), frame file (.out) or document file (.brv)\n"
    "                  to open; without it the program offers its start-up file chooser\n"
    "  --minimized     start with the main window minimised, and so without the splash window\n"
    "  --print, -p     print FILE's battlefield on the default printer and end, showing no window;\n"
    "                  every message goes to standard error: a file that cannot be read prints\n"
    "                  nothing and the exit status is 1 (2 when FILE is not given)\n"
    "  --print-to PDF  print into the PDF file PDF instead of on the printer; implies --print;\n"
    "                  a PDF the file did not take whole (a full disk) ends with status 1 too\n"
    "  --help, -h      print this list on standard output and end\n";

CCommandLineInfo ParseCommandLine(const QStringList& arguments)
{
    CCommandLineInfo info;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == "--minimized" || arg == "-minimized") {
            info.Minimized = true;
        } else if (arg == "--print" || arg == "-p") {
            info.Print = true;
        } else if (arg == "--print-to") {
            info.Print = true;
            if (i + 1 < arguments.size())
                info.PrintTo = arguments[++i].toStdString();
            else
                info.Problem = "--print-to needs the PDF file to print into";
        } else if (arg == "--help" || arg == "-h") {
            info.Help = true;
        } else if (!arg.startsWith('-') && !info.FileName) {
            info.FileName = arg.toStdString();
        }
    }
    if (info.Print && !info.FileName && info.Problem.empty())
        info.Problem = "--print needs the file to print";
    return info;
}

CBrevimarApp::CBrevimarApp(CModalHooks* hooks) : Hooks(hooks)
{
    BuildMessageMap();
}

CBrevimarApp::~CBrevimarApp()
{
    if (qApp)
        qApp->removeEventFilter(this);
    // The windows go before the documents they show, and none can stay:
    // a capture is still offered as each goes.
    if (Frame) {
        for (QMdiSubWindow* window : Frame->MdiArea()->subWindowList())
            if (auto* child = dynamic_cast<CChildFrame*>(window))
                child->CanClose = nullptr;
        Frame->MdiArea()->closeAllSubWindows();
    }
    Frame.reset();
    Template.reset();
}

void CBrevimarApp::BuildMessageMap()
{
    Map.On(ID_APP_ABOUT, [this] { OnAppAbout(); });
    Map.On(ID_FILE_NEW, [this] { OnFileNew(); });
    Map.On(ID_FILE_OPEN, [this] { OnFileOpen(); });
    Map.On(ID_APP_EXIT, [this] {
        if (Frame)
            Frame->close();
    });
    Map.OnRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](unsigned id) {
        const std::size_t index = id - ID_FILE_MRU_FILE1;
        if (index >= Recent.Files().size())
            return;
        const std::string path = Recent.Files()[index];
        if (!QFileInfo::exists(QString::fromStdString(path))) {
            // A file that has gone leaves the list, as it would fail to open anyway.
            ShowMessageBox(Frame.get(), "Cannot open " + path + ": the file no longer exists.", {}, MB_OK | MB_ICONERROR);
            Recent.Remove(index);
            Recent.WriteList();
            UpdateRecentFileMenu();
            return;
        }
        OpenDocumentFile(path);
    });
    Map.OnUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](CCmdUI& ui) {
        ui.Enable(ui.m_nID - ID_FILE_MRU_FILE1 < Recent.Files().size());
    });
    // Help Topics and F1 open the guide; one window serves them. Shift+F1
    // enters context help: the next menu item or toolbar button chosen says
    // what it does instead of running.
    for (const unsigned id : {ID_HELP_FINDER, ID_HELP})
        Map.On(id, [this] { OnHelp(); });
    Map.On(ID_CONTEXT_HELP, [] { QWhatsThis::enterWhatsThisMode(); });
    Map.On(ID_WINDOW_NEW, [this] {
        if (Frame && Template)
            Template->CreateNewWindow(Frame->ActiveView());
    });
}

void CBrevimarApp::OnHelp()
{
    if (!Help)
        Help = new CHelpWindow(Frame.get());
    Help->show();
    Help->raise();
}

bool CBrevimarApp::InitInstance(const QStringList& arguments)
{
    const CCommandLineInfo info = ParseCommandLine(arguments);
    if (info.Help) {
        // A list that did not arrive is not listed.
        if (std::fputs(CommandLineHelp, stdout) < 0 || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "brevimar: cannot write the list of switches to standard output: %s.\n",
                         std::strerror(errno));
            Exit = 1;
        }
        return false;
    }
    if (!info.Problem.empty()) {
        std::fprintf(stderr, "brevimar: %s\n", info.Problem.c_str());
        Exit = 2;
        return false;
    }

    // The recent-file list of the program's profile.
    Recent.ReadList();

    Tables = LoadResources();
    QApplication::setWindowIcon(MakeGlyphIcon("B", 4));
    Frame = std::make_unique<CMainFrame>();
    // Every window and dialog of the program is opened from the main frame.
    SetModalHooks(*Frame, Hooks);
    if (Frame->OnCreate(Tables) != 0)
        return false;
    Frame->SetApplicationCommands(&Map);
    Template = std::make_unique<CBrevimarDocTemplate>(*Frame);
    Template->OnFileOpened = [this](const std::string& path) { AddRecentFile(path); };
    UpdateRecentFileMenu();

    // Files dropped onto the main window open as documents.
    Frame->OnDropFiles = [this](const std::vector<std::string>& files) {
        for (const std::string& file : files)
            OpenDocumentFile(file);
    };

    // Every message passes the splash window first.
    qApp->installEventFilter(this);

    // Printing from the desktop shows no window and no box: a message goes
    // to standard error, and a file that cannot be read prints nothing.
    if (info.Print) {
        if (!IsPrintableFile(*info.FileName)) {
            std::fprintf(stderr, "Error: cannot print %s: it is not a scenario (.dat), stored run (.run), frame file "
                                 "(.out) or document file (.brv).\n", info.FileName->c_str());
            Exit = 1;
            return false;
        }
        Template->SetWindowless(true);
    }
    CBrevimarView* view = info.FileName ? OpenDocumentFile(*info.FileName) : OnFileNew();
    if (!view) {
        Exit = info.Print ? 1 : 0;
        return false;
    }
    // The file's battlefield goes to the printer (or the named PDF) and the
    // program ends.
    if (info.Print) {
        QPrinter& printer = view->PrinterSettings();
        if (info.PrintTo) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(*info.PrintTo));
        }
        Exit = view->PrintPicture(printer) ? 0 : 1;
        return false;
    }

    if (info.Minimized)
        Frame->showMinimized();
    else
        Frame->show();
    Frame->RefreshMenus();
    Frame->update();

    SplashScreen.ShowSplashScreen(SplashTimeoutMs, Frame.get());
    return true;
}

void CBrevimarApp::AddRecentFile(const std::string& path)
{
    Recent.Add(path);
    Recent.WriteList();
    UpdateRecentFileMenu();
}

CBrevimarView* CBrevimarApp::OpenDocumentFile(const std::string& path)
{
    CBrevimarView* view = Template->OpenDocumentFile(path);
    Frame->RefreshMenus();
    return view;
}

CBrevimarView* CBrevimarApp::OnFileNew()
{
    CBrevimarView* view = Template->OpenDocumentFile(std::nullopt);
    Frame->RefreshMenus();
    return view;
}

CBrevimarView* CBrevimarApp::OnFileOpen()
{
    CFileDialog dialog(true, DocumentFileExtension, {}, DocumentFileFilter, Frame.get());
    dialog.Title = "Open document file";
    if (dialog.DoModal() != IDOK)
        return nullptr;
    return OpenDocumentFile(dialog.GetPathName());
}

void CBrevimarApp::OnAppAbout()
{
    CAboutDlg about(Frame.get());
    RunModal(about);
}

void CBrevimarApp::UpdateRecentFileMenu()
{
    if (!Frame)
        return;
    const auto& files = Recent.Files();
    for (unsigned id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
        const std::size_t index = id - ID_FILE_MRU_FILE1;
        for (QAction* item : Frame->Bars().MenuItems(id)) {
            if (index < files.size()) {
                const QString name = QFileInfo(QString::fromStdString(files[index])).fileName();
                item->setText(QString("&%1 %2").arg(index + 1).arg(name));
                item->setVisible(true);
            } else {
                // An empty list shows one greyed "Recent File" line.
                item->setText("Recent File");
                item->setVisible(index == 0 && files.empty());
            }
        }
    }
}

bool CBrevimarApp::PreTranslateMessage(QObject*, QEvent* event)
{
    return SplashScreen.PreTranslateMessage(event);
}

bool CBrevimarApp::eventFilter(QObject* watched, QEvent* event)
{
    if (PreTranslateMessage(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace brevimar
