// The floor under the program's memory: a Qt Widgets main window shaped like
// the program's (the screen's free area, a menu bar, a tool bar, a status bar
// and a workspace holding one window with text in it) and nothing of ours.
// bench_program_memory measures it beside the program.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    auto* area = new QMdiArea;
    window.setCentralWidget(area);
    for (const char* title : {"&File", "&Edit", "&View", "&Window", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(title);
        for (int i = 1; i <= 10; ++i)
            menu->addAction(QString("Item %1").arg(i));
    }
    QToolBar* tools = window.addToolBar("Tools");
    for (int i = 1; i <= 20; ++i)
        tools->addAction(QString::number(i));
    window.statusBar()->showMessage("Ready");
    QMdiSubWindow* inner = area->addSubWindow(new QLabel("A window"));
    inner->resize(400, 300);
    inner->show();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.show();
    return application.exec();
}
