// A way for tests to answer the modal windows of the program before they
// open, so that whole menu commands run headless. A window finds the hooks
// through the widget it was opened from: those given to that widget with
// SetModalHooks, or to the nearest widget above it. The application gives
// its main frame the hooks it was constructed with (none in the program
// itself); a test that builds a window without an application gives them to
// that window, or to the widget it makes the window's parent.
//
// With hooks in reach and switched on, no modal window is ever shown: each
// one takes the next answer queued for its kind, or its default answer when
// none is queued, and is written to the hooks' log.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

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

class CModalHooks {
public:
    // Switched on when made; off, every window is really shown (and logged).
    void Enable(bool on) { On = on; }
    bool Enabled() const { return On; }
    // Clears the queues, the log and the timer switch; leaves the hooks on or off.
    void Reset();

    void Push(ModalKind kind, ModalAnswer answer);
    void AnswerFile(const std::string& path) { Push(ModalKind::FileDialog, {1, path, {}}); }
    void CancelFile() { Push(ModalKind::FileDialog, {2, {}, {}}); }
    void AnswerMessage(int result) { Push(ModalKind::MessageBox, {result, {}, {}}); }
    void AnswerDialog(int result, std::map<int, std::string> values = {})
    {
        Push(ModalKind::Dialog, {result, {}, std::move(values)});
    }
    // One step of work in the open dialog: the values are applied and the
    // dialog stays open for the next queued answer.
    static constexpr int KeepOpen = 0;
    void StepDialog(std::map<int, std::string> values) { Push(ModalKind::Dialog, {KeepOpen, {}, std::move(values)}); }

    // The answer for a modal window about to open, or nothing when the hooks
    // are off and the window should really be shown.
    std::optional<ModalAnswer> Take(ModalKind kind, int defaultResult);
    void Record(ModalKind kind, const std::string& title, const std::string& text, int result);
    const std::vector<ModalRecord>& Log() const { return Records; }
    std::size_t Pending(ModalKind kind) const;

    // Called with each dialog built from a table as it opens, laid out and
    // filled, before it takes its answer: a test looks at it there.
    void InspectDialogs(std::function<void(QDialog&)> inspect) { Inspector = std::move(inspect); }
    void Inspect(QDialog& dialog) const
    {
        if (Inspector)
            Inspector(dialog);
    }

    // A window system with no free timer: SetTimer then fails.
    void SetTimersAvailable(bool available) { Timers = available; }
    bool TimersAvailable() const { return Timers; }

private:
    bool On = true;
    bool Timers = true;
    std::map<ModalKind, std::deque<ModalAnswer>> Queues;
    std::vector<ModalRecord> Records;
    std::function<void(QDialog&)> Inspector;
};

// Gives `window` and every widget below it the hooks; nullptr takes back what
// `window` was given. The caller keeps the hooks alive while the window lives.
void SetModalHooks(QWidget& window, CModalHooks* hooks);
// The hooks that answer the modal windows opened from `window`; nullptr when
// neither it nor any widget above it was given any.
CModalHooks* ModalHooksOf(const QWidget* window);

}  // namespace brevimar
