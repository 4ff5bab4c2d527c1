// The application object: start-up, the document template, the recent-file
// list, the splash window and the application-wide commands.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

#include "app/HelpWindow.h"
#include "app/RecentFileList.h"
#include "app/SplashScreen.h"
#include "platform/Command.h"
#include "platform/Resources.h"

namespace brevimar {

class CBrevimarDocTemplate;
class CBrevimarView;
class CMainFrame;

// What the command line asks for.
struct CCommandLineInfo {
    std::optional<std::string> FileName;  // a scenario file to open
    bool Minimized = false;               // start with the main window minimised
    bool Print = false;                   // print FileName's battlefield and end
    std::optional<std::string> PrintTo;   // a PDF file to print into instead of the printer
    bool Help = false;                    // print the switches and end
    std::string Problem;                  // a switch that cannot be used as given

    // A print or the list of switches: no window is shown, and the program
    // ends when it is done.
    bool EndsWithoutWindow() const { return Print || Help; }
};
// Naming a PDF to print into is asking to print: --print-to implies --print.
CCommandLineInfo ParseCommandLine(const QStringList& arguments);
// What --help prints: the switches and what each does.
extern const char* const CommandLineHelp;

class CModalHooks;

class CBrevimarApp : public QObject {
public:
    // `hooks` answer every modal window of the program (tests only; they
    // must outlive the application).
    explicit CBrevimarApp(CModalHooks* hooks = nullptr);
    ~CBrevimarApp() override;

    // Runs the start-up sequence. False when the program should end at once.
    bool InitInstance(const QStringList& arguments);
    // The program's exit status when InitInstance ends it: 0, or 1 when a
    // print from the command line failed (the file refused, or the printer),
    // 2 for a command line that cannot be used (a print without a file).
    int ExitCode() const { return Exit; }

    CMainFrame* MainFrame() const { return Frame.get(); }
    CBrevimarDocTemplate& DocTemplate() const { return *Template; }
    CSplashScreenDlg& Splash() { return SplashScreen; }
    CRecentFileList& RecentFiles() { return Recent; }
    const CCommandMap& MessageMap() const { return Map; }
    const ResourceSet& Resources() const { return Tables; }

    // A new document reading the scenario file `path` at start-up; the file
    // joins the recent-file list.
    CBrevimarView* OpenDocumentFile(const std::string& path);
    // A new document whose start-up reader offers its file dialog.
    CBrevimarView* OnFileNew();
    // File/Open (Ctrl+O) while no battlefield window is active: a document
    // file (*.brv) in a new document.
    CBrevimarView* OnFileOpen();
    void OnAppAbout();
    // The guide's window, while it is open.
    QPointer<CHelpWindow> Help;
    void OnHelp();

    // Sees every message of the program first; true when it was consumed.
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Exit = 0;
    void BuildMessageMap();
    void UpdateRecentFileMenu();
    void AddRecentFile(const std::string& path);

    CModalHooks* Hooks;
    ResourceSet Tables;
    CSplashScreenDlg SplashScreen;
    CRecentFileList Recent{4};
    CCommandMap Map;
    std::unique_ptr<CMainFrame> Frame;
    std::unique_ptr<CBrevimarDocTemplate> Template;
};

}  // namespace brevimar
