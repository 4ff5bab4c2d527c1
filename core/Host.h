// The simulation's only door to the outside world. The desktop application
// implements it over the window system; tests and the headless runner script it.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace brevimar {

// A file chooser request, in the terms the file commands use: the filter is
// the framework's "Description (*.ext)|*.ext|...||" string.
struct FileDialogRequest {
    std::string Filter;
    std::string DefaultExtension;  // without the dot, e.g. "dat"
    std::string Title;             // empty: the chooser's own default title
    std::string InitialName;       // suggested file name, may be empty
};

// Message box styles and answers, with the values the window system uses.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The C runtime's rand()/srand() as the program's arithmetic expects them:
// RAND_MAX is 32767. glibc's rand() runs to 2^31-1, which would index past
// the tables that scale rand() by 1/32767.
class CRand15 {
public:
    static constexpr int Max = 32767;
    void Seed(unsigned seed) { State = seed; }
    int Next() {
        State = State * 214013u + 2531011u;
        return static_cast<int>((State >> 16) & 0x7FFFu);
    }

private:
    unsigned State = 1;
};

class Host {
public:
    virtual ~Host() = default;

    // Full path of the chosen file, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;

    // Returns one of MessageBoxAnswer.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // A message the caller does not wait on: what a batch says while it runs
    // on. It stays on screen until the user closes it. A host whose boxes do
    // not wait (no window at all) shows it as a box.
    virtual void Notify(const std::string& text, const std::string& caption, unsigned style)
    {
        MessageBox(text, caption, style);
    }
    // The error stream's copy of a refusal or warning that a box also shows,
    // kept for the log. A host that passes every box's text on by itself
    // (the headless runner, printing from the command line) leaves it out,
    // so that no message is said twice.
    virtual void Log(const std::string& text);

    virtual void SetStatusText(const std::string& text) = 0;
    // Whether a status line shows the text: batches format their per-step
    // progress only for a reader.
    virtual bool ShowsStatusText() const { return true; }

    // A scenario, stored run or document file the user opened: the desktop
    // keeps it among the recent files.
    virtual void NoteFileOpened(const std::string&) {}

    // Repaint requests for the battlefield view.
    virtual void InvalidateView() = 0;
    virtual void UpdateView() = 0;

    // Handle at most one pending window message (peek, translate, dispatch).
    virtual void PumpOneMessage() = 0;

    // Window timers by id. StartTimer answers false when no timer is free.
    virtual bool StartTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;

    // Calendar time in seconds.
    virtual std::time_t Now() = 0;

    // The C runtime's 15-bit generator.
    virtual int Rand() = 0;
    virtual void Srand(unsigned seed) = 0;

    // Convenience for plain notices.
    void ShowMessage(const std::string& text) { MessageBox(text, "Brevimar", MB_OK | MB_ICONINFORMATION); }
    void ShowError(const std::string& text) { MessageBox(text, "Brevimar", MB_OK | MB_ICONERROR); }
};

// A host for headless use: every chooser is cancelled, questions get their
// default answer, messages go to standard error.
class HeadlessHost : public Host {
public:
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return std::nullopt; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void SetStatusText(const std::string&) override {}
    bool ShowsStatusText() const override { return false; }
    void InvalidateView() override {}
    void UpdateView() override {}
    void PumpOneMessage() override {}
    bool StartTimer(int, int) override { return true; }
    void KillTimer(int) override {}
    std::time_t Now() override { return std::time(nullptr); }
    int Rand() override { return Runtime.Next(); }
    void Srand(unsigned seed) override { Runtime.Seed(seed); }

private:
    CRand15 Runtime;
};

}  // namespace brevimar
