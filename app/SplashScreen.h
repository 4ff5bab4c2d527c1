// The splash window shown once at start-up. It goes away after its time-out,
// or at the first key press or mouse-button press anywhere in the program,
// which it takes for itself.
#pragma once

#include <QPointer>

#include "platform/Wnd.h"

class QEvent;

namespace brevimar {

class CSplashScreenDlg {
public:
    static constexpr unsigned TimerId = 1;

    CSplashScreenDlg() = default;
    ~CSplashScreenDlg();

    // Shows the window over the main window for `timeoutMs`. False, showing
    // nothing, while the main window is minimised or when the window cannot
    // be created.
    bool ShowSplashScreen(unsigned timeoutMs, QWidget* mainWindow);
    // Consumes (true) a key or mouse-button press while the window exists,
    // closing it; false for everything else and once it is gone.
    bool PreTranslateMessage(QEvent* event);

    bool IsShown() const { return !Window.isNull(); }
    QWidget* WindowWidget() const { return Window.data(); }
    unsigned TimeoutMs() const { return Timeout; }
    // Called when the window's timer fires.
    void OnTimer(unsigned id);

private:
    void DestroyWindow();

    unsigned Timeout = 0;
    bool SwallowKeyPress = false;
    QPointer<CWnd> Window;
    QPointer<QWidget> MainWindow;
};

}  // namespace brevimar
