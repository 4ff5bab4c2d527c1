// A way for tests to answer the modal windows of the program before they
// open, so that whole menu commands run headless. With the hooks switched on,
// no modal window is ever shown: each one takes the next answer queued for its
// kind, or its default answer when none is queued, and is written to a log.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brevimar {

enum class ModalKind { MessageBox, FileDialog, Dialog };

struct ModalAnswer {
    int Result = 0;                        // IDOK, IDCANCEL, IDYES, IDNO
    std::string Path;                      // a file choice: the chosen file
    std::map<int, std::string> Values;     // a dialog: control id -> text entered
};

struct ModalRecord {
    ModalKind Kind;
    std::string Title;  // caption of the box, dialog or file chooser
    std::string Text;   // message text; for a file chooser, its filter
    int Result;
};

class ModalHooks {
public:
    static void Enable(bool on);
    static bool Enabled();
    // Clears the queues, the log and the timer switch; leaves the hooks on or off.
    static void Reset();

    static void Push(ModalKind kind, ModalAnswer answer);
    static void AnswerFile(const std::string& path) { Push(ModalKind::FileDialog, {1, path, {}}); }
    static void CancelFile() { Push(ModalKind::FileDialog, {2, {}, {}}); }
    static void AnswerMessage(int result) { Push(ModalKind::MessageBox, {result, {}, {}}); }
    static void AnswerDialog(int result, std::map<int, std::string> values = {})
    {
        Push(ModalKind::Dialog, {result, {}, std::move(values)});
    }
    // One step of work in the open dialog: the values are applied and the
    // dialog stays open for the next queued answer.
    static constexpr int KeepOpen = 0;
    static void StepDialog(std::map<int, std::string> values)
    {
        Push(ModalKind::Dialog, {KeepOpen, {}, std::move(values)});
    }

    // The answer for a modal window about to open, or nothing when the hooks
    // are off and the window should really be shown.
    static std::optional<ModalAnswer> Take(ModalKind kind, int defaultResult);
    static void Record(ModalKind kind, const std::string& title, const std::string& text, int result);
    static const std::vector<ModalRecord>& Log();
    static std::size_t Pending(ModalKind kind);

    // A window system with no free timer: SetTimer then fails.
    static void SetTimersAvailable(bool available);
    static bool TimersAvailable();
};

}  // namespace brevimar
