// A status bar of panes by id, each pane a label.
#pragma once

#include <QStatusBar>

#include <string>
#include <vector>

class QLabel;

namespace brevimar {

class CStatusBar : public QStatusBar {
public:
    explicit CStatusBar(QWidget* parent = nullptr);

    // One pane per id, in order; each starts with `initialTexts` entry.
    void SetIndicators(const std::vector<unsigned>& ids, const std::vector<std::string>& initialTexts);
    // The pane at `index` takes the rest of the bar (stretch) and is never
    // narrower than `minWidth` pixels.
    void SetPaneInfo(int index, unsigned id, bool stretch, int minWidth);
    int CommandToIndex(unsigned id) const;

    // Sets the pane's text; with `update` it is repainted at once.
    bool SetPaneText(int index, const std::string& text, bool update = true);
    std::string GetPaneText(int index) const;
    QLabel* Pane(int index) const;

private:
    std::vector<unsigned> Ids;
    std::vector<QLabel*> Panes;
};

}  // namespace brevimar
