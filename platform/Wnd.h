// The window base of the GUI side: timers by id, invalidation, message boxes
// and virtual handlers, over a Qt widget.
#pragma once

#include <QPoint>
#include <QWidget>

#include <map>
#include <string>

#include "core/Host.h"

class QPainter;
class QDialog;

namespace brevimar {

// Key and button flags passed to the mouse handlers.
enum MouseKeyFlags : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// The program's title: the caption of every message box that names none.
inline constexpr const char* AppTitle = "Brevimar";

// A modal message box. Answers one of IDOK, IDCANCEL, IDYES, IDNO; under the
// test hooks of `parent` (platform/TestHooks.h) the box is not shown.
int ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned style);

// A message box that does not wait: it opens over `parent`, the caller goes
// on, and the box stays until the user closes it. The test hooks do not
// answer it, as nothing waits on an answer.
void ShowNoticeBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned style);

// Runs a dialog modally and answers IDOK or IDCANCEL; under the test hooks of
// the dialog or its parent the dialog is not shown and the queued answer is
// returned instead.
int RunModal(QDialog& dialog);

class CWnd : public QWidget {
public:
    explicit CWnd(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~CWnd() override;

    // A window timer never ticks faster than this: a shorter period asked
    // for is raised to it, as the window system the program was made for
    // does, so a run driven by a 1 ms timer can still be watched.
    static constexpr unsigned MinTimerPeriodMs = 10;

    // Starts (or restarts) timer `id`; every period reaches OnTimer(id).
    // False when the window system has no timer to give (which the test
    // hooks of the window can pretend).
    bool SetTimer(unsigned id, unsigned periodMs);
    bool KillTimer(unsigned id);
    bool HasTimer(unsigned id) const { return Timers.count(id) != 0; }
    // The period timer `id` really ticks with; 0 when it does not run.
    unsigned TimerPeriod(unsigned id) const;

    // Marks the whole window for repainting; `erase` clears it to the
    // background first, otherwise the new picture is painted over the old.
    void Invalidate(bool erase = true);
    // Paints now whatever is marked.
    void UpdateWindow();

    int MessageBox(const std::string& text, const std::string& caption = {}, unsigned style = MB_OK);

    int InvalidateCount() const { return Invalidations; }

    virtual void OnTimer(unsigned id) { (void)id; }
    virtual void OnDraw(QPainter& painter) { (void)painter; }
    virtual void OnLButtonUp(unsigned flags, QPoint point) { (void)flags, (void)point; }
    virtual void OnRButtonUp(unsigned flags, QPoint point) { (void)flags, (void)point; }

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::map<unsigned, int> Timers;  // our id -> the window system's id
    std::map<unsigned, unsigned> Periods;  // our id -> its period in ms
    int Invalidations = 0;
    bool EraseNext = true;
};

}  // namespace brevimar
