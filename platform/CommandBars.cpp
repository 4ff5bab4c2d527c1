#include "platform/CommandBars.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

namespace brevimar {

CCommandBars::CCommandBars(QWidget* owner, const CCommandRouter& router) : Owner(owner), Router(router) {}

void CCommandBars::InstallAccelerators(const std::vector<Accelerator>& table)
{
    for (const Accelerator& accel : table) {
        const QKeySequence key = QKeySequence::fromString(QString::fromStdString(accel.Key));
        const unsigned id = accel.Id;
        auto* action = new QAction(Owner);
        action->setShortcut(key);
        // Help is asked for wherever the user is: in every window of the
        // program that no modal box blocks (the chart windows among them).
        // The other keys belong to the owner's window.
        action->setShortcutContext(id == ID_HELP ? Qt::ApplicationShortcut : Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, Owner, [this, id] { Run(id); });
        Owner->addAction(action);
        // The first key of a command is the one its menu item shows.
        if (!KeyText.count(id))
            KeyText[id] = key.toString(QKeySequence::NativeText);
    }
}

std::vector<QMenu*> CCommandBars::BuildMenu(const std::vector<MenuEntry>& popups)
{
    std::vector<QMenu*> menus;
    for (const MenuEntry& popup : popups) {
        auto* menu = new QMenu(QString::fromStdString(popup.Text), Owner);
        AddEntries(menu, popup.Items);
        menus.push_back(menu);
    }
    return menus;
}

void CCommandBars::AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { UpdateMenu(menu); });
    for (const MenuEntry& entry : entries) {
        if (entry.Separator) {
            menu->addSeparator();
        } else if (entry.Popup) {
            QMenu* sub = menu->addMenu(QString::fromStdString(entry.Text));
            AddEntries(sub, entry.Items);
        } else {
            QString text = QString::fromStdString(entry.Text);
            if (auto key = KeyText.find(entry.Id); key != KeyText.end() && entry.Id != 0)
                text += "\t" + key->second;
            QAction* action = menu->addAction(text);
            action->setData(entry.Id);
            // What context help says of the item: the command's prompt, else
            // its button's tip, else the item's own words.
            if (auto prompt = Prompts.find(entry.Id); prompt != Prompts.end())
                action->setWhatsThis(QString::fromStdString(prompt->second));
            else if (auto button = Buttons.find(entry.Id); button != Buttons.end())
                action->setWhatsThis(button->second->toolTip());
            else
                action->setWhatsThis(QString::fromStdString(entry.Text).remove('&'));
            const unsigned id = entry.Id;
            QObject::connect(action, &QAction::triggered, menu, [this, id] { Run(id); });
            Items.emplace(id, action);
        }
    }
}

QToolBar* CCommandBars::BuildToolBar(const std::vector<ToolbarButton>& buttons, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setIconSize(QSize(16, 15));
    int group = 0;
    for (const ToolbarButton& button : buttons) {
        if (button.Separator) {
            bar->addSeparator();
            ++group;
            continue;
        }
        const auto prompt = Prompts.find(button.Id);
        const QString tip = QString::fromStdString(prompt != Prompts.end() ? prompt->second : button.Tip);
        QAction* action = bar->addAction(MakeGlyphIcon(QString::fromStdString(button.Glyph), group), tip);
        action->setToolTip(tip);
        action->setWhatsThis(tip);
        action->setData(button.Id);
        const unsigned id = button.Id;
        QObject::connect(action, &QAction::triggered, bar, [this, id] { Run(id); });
        Buttons[id] = action;
    }
    return bar;
}

bool CCommandBars::Run(unsigned id)
{
    if (id == 0 || !Router.Evaluate(id).Enabled) {
        UpdateToolBar();
        return false;
    }
    const bool ran = Router.Dispatch(id);
    UpdateToolBar();
    if (AfterCommand)
        AfterCommand();
    return ran;
}

void CCommandBars::Apply(QAction* action, const CCmdUI& ui) const
{
    action->setEnabled(ui.Enabled);
    // Only a checked item shows a check box, as a plain menu shows a mark.
    action->setCheckable(ui.Checked);
    action->setChecked(ui.Checked);
}

void CCommandBars::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->menu())
            continue;
        const unsigned id = action->data().toUInt();
        if (id == 0) {
            action->setEnabled(false);
            continue;
        }
        Apply(action, Router.Evaluate(id));
    }
}

void CCommandBars::UpdateToolBar()
{
    for (auto& [id, action] : Buttons)
        Apply(action, Router.Evaluate(id));
}

std::vector<QAction*> CCommandBars::MenuItems(unsigned id) const
{
    std::vector<QAction*> found;
    auto [b, e] = Items.equal_range(id);
    for (auto it = b; it != e; ++it)
        found.push_back(it->second);
    return found;
}

QAction* CCommandBars::FindMenuItem(const std::vector<QMenu*>& popups, const QString& path) const
{
    QList<QAction*> level;
    for (QMenu* menu : popups)
        level << menu->menuAction();
    // Item texts may hold a '/' themselves ("Toggle On/Off"): a step of the
    // path is any item text that the rest of the path starts with.
    std::function<QAction*(const QList<QAction*>&, const QString&)> find =
        [&find](const QList<QAction*>& actions, const QString& rest) -> QAction* {
        for (QAction* action : actions) {
            const QString text = action->text().section('\t', 0, 0);
            if (action->isSeparator() || text.isEmpty())
                continue;
            if (rest == text)
                return action;
            if (action->menu() && rest.startsWith(text + "/"))
                if (QAction* found = find(action->menu()->actions(), rest.mid(text.size() + 1)))
                    return found;
        }
        return nullptr;
    };
    return find(level, path);
}

QAction* CCommandBars::ToolbarButtonFor(unsigned id) const
{
    auto it = Buttons.find(id);
    return it == Buttons.end() ? nullptr : it->second;
}

QIcon MakeGlyphIcon(const QString& glyph, int group)
{
    static const QColor tiles[] = {QColor(70, 110, 170), QColor(150, 90, 40), QColor(40, 130, 70),
                                   QColor(120, 60, 140), QColor(160, 50, 50), QColor(60, 120, 130)};
    QPixmap pixmap(32, 30);  // drawn at twice the button size for sharper text
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(tiles[group % 6]);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 30, 28), 5, 5);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(glyph.size() > 2 ? 12 : 16);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 32, 30), Qt::AlignCenter, glyph);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace brevimar
