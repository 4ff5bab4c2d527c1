#include "app/HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace brevimar {

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent), Browser(new QTextBrowser(this))
{
    setWindowTitle(Title);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser);
    QFile file(":/brevimar/help.html");
    if (file.open(QIODevice::ReadOnly))
        Browser->setHtml(QString::fromUtf8(file.readAll()));
    else
        Browser->setPlainText("The help text is missing from this build.");
    resize(640, 560);
}

QString CHelpWindow::Text() const
{
    return Browser->toPlainText();
}

}  // namespace brevimar
