#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Pictures.h"

namespace brevimar {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About Brevimar");
    auto* picture = new QLabel(this);
    picture->setPixmap(MakeSplashPicture(QSize(160, 110)));

    auto* text = new QLabel(this);
    text->setTextFormat(Qt::PlainText);
    text->setText(QString("Brevimar Version %1\n"
                          "Built %2\n\n"
                          "A desktop laboratory for self-organised, emergent\n"
                          "behaviour in land combat: two forces of autonomous\n"
                          "agents, RED and BLUE, on a square battlefield.\n\n"
                          "Written with C++20 and Qt %3.")
                      .arg(BREVIMAR_VERSION, __DATE__, QT_VERSION_STR));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace brevimar
