#include "platform/StatusBar.h"

#include <QLabel>

namespace brevimar {

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
}

void CStatusBar::SetIndicators(const std::vector<unsigned>& ids, const std::vector<std::string>& initialTexts)
{
    for (QLabel* pane : Panes) {
        removeWidget(pane);
        delete pane;
    }
    Panes.clear();
    Ids = ids;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto* pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setTextFormat(Qt::PlainText);
        if (i < initialTexts.size())
            pane->setText(QString::fromStdString(initialTexts[i]));
        addWidget(pane);
        Panes.push_back(pane);
    }
}

void CStatusBar::SetPaneInfo(int index, unsigned id, bool stretch, int minWidth)
{
    QLabel* pane = Pane(index);
    if (!pane)
        return;
    Ids[static_cast<std::size_t>(index)] = id;
    pane->setMinimumWidth(minWidth);
    removeWidget(pane);
    addWidget(pane, stretch ? 1 : 0);
    pane->show();
}

int CStatusBar::CommandToIndex(unsigned id) const
{
    for (std::size_t i = 0; i < Ids.size(); ++i)
        if (Ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

bool CStatusBar::SetPaneText(int index, const std::string& text, bool update)
{
    QLabel* pane = Pane(index);
    if (!pane)
        return false;
    pane->setText(QString::fromStdString(text));
    if (update)
        pane->repaint();
    return true;
}

std::string CStatusBar::GetPaneText(int index) const
{
    QLabel* pane = Pane(index);
    return pane ? pane->text().toStdString() : std::string();
}

QLabel* CStatusBar::Pane(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= Panes.size())
        return nullptr;
    return Panes[static_cast<std::size_t>(index)];
}

}  // namespace brevimar
