// The program's own guide to its menus, run modes and file types, shown in a
// window of its own beside the battlefield.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace brevimar {

class CHelpWindow : public QDialog {
public:
    static constexpr const char* Title = "Brevimar Help";
    explicit CHelpWindow(QWidget* parent = nullptr);
    QString Text() const;

private:
    QTextBrowser* Browser;
};

}  // namespace brevimar
