// The document window inside the main window: one per battlefield view.
#pragma once

#include <QMdiSubWindow>

#include <functional>

namespace brevimar {

class CBrevimarView;

class CChildFrame : public QMdiSubWindow {
public:
    static constexpr int DefaultX = 250;
    static constexpr int DefaultY = 50;
    static constexpr int DefaultWidth = 520;
    static constexpr int DefaultHeight = 545;

    explicit CChildFrame(CBrevimarView* view);
    CBrevimarView* View() const { return ViewWindow; }

    // Asked first when the window is to close: false keeps it open.
    std::function<bool(CChildFrame*)> CanClose;
    // Runs when the window closes, before it goes away with its view.
    std::function<void(CChildFrame*)> OnClosing;
    // The last close was refused by CanClose.
    bool KeptOpen() const { return Kept; }
    // Shown after the file's name in the title: the count of windows on the
    // document when this one opened, 0 for its first (which shows none).
    int WindowNumber = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CBrevimarView* ViewWindow;
    bool Kept = false;
};

}  // namespace brevimar
