// The outside world of one document in the desktop program: file choosers,
// message boxes, the main frame's status line, and the view's painting and
// timers.
#pragma once

#include <QPointer>

#include <functional>
#include <optional>
#include <string>

#include "core/Host.h"
#include "platform/Wnd.h"

namespace brevimar {

class QtHost : public Host {
public:
    // The window that owns the document's timers and is repainted for it.
    void SetView(CWnd* view) { View = view; }
    CWnd* GetView() const { return View; }
    // Repaints every window showing the document; without it, the view alone.
    void SetRepaintAll(std::function<void()> repaint) { RepaintAll = std::move(repaint); }
    // The window the modal boxes belong to.
    void SetParentWindow(QWidget* parent) { Parent = parent; }
    // No window or box at all (printing from the command line): a box's text
    // goes to standard error, once, and takes the box's default answer; every
    // chooser is cancelled.
    void SetWindowless(bool windowless) { Windowless = windowless; }
    // Where status-line text goes (the main frame's pane).
    bool ShowsStatusText() const override { return StatusSink != nullptr; }
    void SetStatusSink(std::function<void(const std::string&)> sink) { StatusSink = std::move(sink); }
    // The last text the document gave the status line, for the line to show
    // again when the document's window becomes the active one; none before
    // the first.
    const std::optional<std::string>& LastStatusText() const { return LastStatus; }
    void SetOpenedFileSink(std::function<void(const std::string&)> sink) { OpenedFileSink = std::move(sink); }
    void NoteFileOpened(const std::string& path) override
    {
        if (OpenedFileSink)
            OpenedFileSink(path);
    }

    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void Notify(const std::string& text, const std::string& caption, unsigned style) override;
    void Log(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void InvalidateView() override;
    void UpdateView() override;
    void PumpOneMessage() override;
    bool StartTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    std::time_t Now() override;
    int Rand() override { return Runtime.Next(); }
    void Srand(unsigned seed) override { Runtime.Seed(seed); }

private:
    std::optional<std::string> Choose(bool open, const FileDialogRequest& request);

    QPointer<CWnd> View;
    QPointer<QWidget> Parent;
    std::function<void(const std::string&)> StatusSink;
    std::optional<std::string> LastStatus;
    std::function<void(const std::string&)> OpenedFileSink;
    std::function<void()> RepaintAll;
    CRand15 Runtime;
    bool Windowless = false;
};

}  // namespace brevimar
