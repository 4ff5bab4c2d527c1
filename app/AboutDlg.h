// The program-information box of Help/About.
#pragma once

#include <QDialog>

namespace brevimar {

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace brevimar
