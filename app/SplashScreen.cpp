#include "app/SplashScreen.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>

#include "app/Pictures.h"

namespace brevimar {

namespace {

class SplashWindow : public CWnd {
public:
    SplashWindow(CSplashScreenDlg& owner, QWidget* parent)
        : CWnd(parent, Qt::Tool | Qt::FramelessWindowHint), Owner(owner)
    {
        // A tool window stays over the main window; the window system's own
        // splash type would run pending events while it is being shown.
        // 303 by 206 dialog units in the dialog font: a unit is a quarter of
        // the average character width and an eighth of the character height.
        const QFontMetrics metrics(font());
        const int w = 303 * metrics.averageCharWidth() / 4;
        const int h = 206 * metrics.height() / 8;
        setFixedSize(w, h);
    }

    void OnTimer(unsigned id) override { Owner.OnTimer(id); }
    // Painted straight onto the window: a kept copy of the picture would
    // double the splash window's memory for the few times it is drawn.
    void OnDraw(QPainter& painter) override { PaintSplashPicture(painter, size()); }

private:
    CSplashScreenDlg& Owner;
};

}  // namespace

CSplashScreenDlg::~CSplashScreenDlg()
{
    delete Window.data();
}

bool CSplashScreenDlg::ShowSplashScreen(unsigned timeoutMs, QWidget* mainWindow)
{
    Timeout = timeoutMs;
    MainWindow = mainWindow;
    if (!mainWindow || mainWindow->isMinimized())
        return false;
    auto* window = new SplashWindow(*this, mainWindow);
    // Creation: the window's own timer with the time-out as its period.
    if (!window->SetTimer(TimerId, Timeout)) {
        delete window;
        return false;
    }
    Window = window;
    // Initialisation: centred over the main window.
    const QRect over = mainWindow->frameGeometry();
    window->move(over.center() - QPoint(window->width() / 2, window->height() / 2));
    window->show();
    window->raise();
    window->UpdateWindow();
    mainWindow->update();
    return true;
}

void CSplashScreenDlg::OnTimer(unsigned id)
{
    if (id == TimerId)
        DestroyWindow();
}

bool CSplashScreenDlg::PreTranslateMessage(QEvent* event)
{
    if (Window.isNull()) {
        // The key press whose shortcut check closed the window is not passed on either.
        if (SwallowKeyPress && event->type() == QEvent::KeyPress) {
            SwallowKeyPress = false;
            return true;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A key is offered to the shortcuts before it is pressed.
        DestroyWindow();
        SwallowKeyPress = true;
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        DestroyWindow();
        return true;
    default:
        return false;
    }
}

void CSplashScreenDlg::DestroyWindow()
{
    if (CWnd* window = Window.data()) {
        window->KillTimer(TimerId);
        window->hide();
        window->deleteLater();
        Window.clear();
    }
    if (MainWindow)
        MainWindow->update();
}

}  // namespace brevimar
