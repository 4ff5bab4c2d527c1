// Every dialog the menus open, as a user at a 1280 x 1024 desktop meets it.
// The program runs on an offscreen screen of that size (see this folder's
// entry in tests/CMakeLists.txt); a picture of each dialog is written to
// <build>/dialogs/ for people to look at.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"
#include "dialogs/GaEditDialogs.h"
#include "dialogs/LandscapeDialogs.h"
#include "dialogs/SaveRawAttritionDlg.h"
#include "platform/Dialog.h"

namespace brevimar::testing {
namespace {

// A desktop of 1280 x 1024 leaves a dialog 1000 rows below its panel and
// title bar.
constexpr int MostWidth = 1280;
constexpr int MostHeight = 1000;
// What a title bar spends beside its text: the icon and three buttons.
constexpr int TitleBarButtons = 100;

QRect InDialog(const QWidget& widget, const QWidget& dialog)
{
    return QRect(widget.mapTo(&dialog, QPoint(0, 0)), widget.size());
}

std::string Name(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return "label \"" + label->text().toStdString() + "\"";
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return "button \"" + button->text().toStdString() + "\"";
    return widget->metaObject()->className();
}

// The layout checks of one open dialog; failures name the dialog.
void CheckDialog(QDialog& dialog, const std::string& folder)
{
    const std::string caption = dialog.windowTitle().toStdString();
    SCOPED_TRACE(caption);
    // The picture lays the dialog out as it is shown.
    const QImage picture = dialog.grab().toImage();
    std::string file = caption;
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    EXPECT_TRUE(picture.save(QString::fromStdString(folder + "/" + file + ".png")));

    EXPECT_LE(dialog.width(), MostWidth);
    EXPECT_LE(dialog.height(), MostHeight);
    if (auto* area = dialog.findChild<QScrollArea*>()) {
        const QSize body = area->widget()->minimumSizeHint().expandedTo(area->widget()->sizeHint());
        EXPECT_LE(body.width(), area->viewport()->width()) << "needs a horizontal scroll bar";
        EXPECT_LE(body.height(), area->viewport()->height()) << "needs a vertical scroll bar";
    }

    // The caption reads whole in the title bar (bold there on most desktops).
    QFont title = dialog.font();
    title.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(title).horizontalAdvance(dialog.windowTitle()) + TitleBarButtons);

    // No label, field or button covers another, and none is cut.
    std::vector<QWidget*> boxes;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog))
            continue;
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w))
            boxes.push_back(w);
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QRect a = InDialog(*boxes[i], dialog);
        EXPECT_TRUE(dialog.rect().contains(a)) << Name(boxes[i]) << " lies outside the dialog";
        auto* label = qobject_cast<QLabel*>(boxes[i]);
        // A button's text has no shorter form; a label's minimum is its text.
        if (label && !label->wordWrap()) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << Name(label) << " is cut";
        }
        if (qobject_cast<QAbstractButton*>(boxes[i])) {
            EXPECT_GE(boxes[i]->width(), boxes[i]->sizeHint().width()) << Name(boxes[i]) << " is cut";
        }
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(a.intersects(InDialog(*boxes[j], dialog)))
                << Name(boxes[i]) << " overlaps " << Name(boxes[j]);
    }

    // In every grid, a row of headings stands over the fields of the next
    // row: each heading's centre lies over the field in its column.
    for (QGridLayout* grid : dialog.findChildren<QGridLayout*>()) {
        for (int r = 0; r + 1 < grid->rowCount(); ++r) {
            for (int c = 1; c < grid->columnCount(); ++c) {
                QLayoutItem* above = grid->itemAtPosition(r, c);
                QLayoutItem* below = grid->itemAtPosition(r + 1, c);
                auto* heading = above ? qobject_cast<QLabel*>(above->widget()) : nullptr;
                QWidget* field = below ? below->widget() : nullptr;
                if (!heading || heading->text().isEmpty() || !qobject_cast<QLineEdit*>(field))
                    continue;
                const QRect h = InDialog(*heading, dialog), f = InDialog(*field, dialog);
                const int centre = h.center().x();
                EXPECT_TRUE(centre >= f.left() && centre <= f.right())
                    << Name(heading) << " is not over its field (" << h.left() << ".." << h.right() << " vs "
                    << f.left() << ".." << f.right() << ")";
            }
        }
    }

    // Groups stacked in one column start their fields at one x: the first
    // field of each group of the run-time parameters.
    if (caption == "Edit::Genetic Algorithm Run-Time Parameters") {
        using T = CGaRunTimeParamsDlg;
        auto& frame = dynamic_cast<CDialog&>(dialog);
        std::set<int> starts;
        for (const int id : {T::IDC_POPULATION, T::IDC_CONTAIN_RANGE, T::IDC_CROSSOVER})
            starts.insert(InDialog(*frame.GetDlgItem(id), dialog).left());
        EXPECT_EQ(starts.size(), 1u);
    }

    // The first field takes what is typed, replacing what it shows.
    QLineEdit* first = nullptr;
    if (auto* frame = dynamic_cast<CDialog*>(&dialog)) {
        for (const DialogItem& item : frame->Template().Items) {
            auto* edit = item.Kind == DlgItem::Edit ? qobject_cast<QLineEdit*>(frame->GetDlgItem(item.Id)) : nullptr;
            if (edit && edit->isEnabled() && !edit->isReadOnly() && !edit->isHidden()) {
                first = edit;
                break;
            }
        }
    }
    if (first) {
        EXPECT_EQ(dialog.focusWidget(), first);
        EXPECT_EQ(first->selectedText(), first->text());
    }
}

void Leaves(QMenu* menu, const QString& path, std::vector<std::pair<QString, QAction*>>& out)
{
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const QString name = path + "/" + action->text();
        if (action->menu())
            Leaves(action->menu(), name, out);
        else
            out.emplace_back(name, action);
    }
}

using DialogLayout = AppTest;

TEST_F(DialogLayout, EveryMenuDialogFitsA1280x1024DesktopAndReadsWell)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(screen->size(), QSize(1280, 1024))
        << "run with QT_QPA_PLATFORM=offscreen:configfile=tests/support/screen-1280x1024.json";
    const std::string folder = std::string(BREVIMAR_BINARY_DIR) + "/dialogs";
    QDir().mkpath(QString::fromStdString(folder));

    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    std::set<std::string> seen;
    Hooks.InspectDialogs([&](QDialog& dialog) {
        if (seen.insert(dialog.windowTitle().toStdString()).second)
            CheckDialog(dialog, folder);
    });

    std::vector<std::pair<QString, QAction*>> items;
    for (QMenu* menu : Frame().ShownMenus())
        Leaves(menu, menu->title(), items);
    for (const auto& [path, action] : items) {
        // Leaving, the window list and help open no parameter dialog; the
        // file commands only ask for files.
        if (path.startsWith("&Window") || path.startsWith("&Help") || path.contains("E&xit") ||
            path.contains("Print") || path.startsWith("&File/Load Brevimar") || !action->isEnabled())
            continue;
        SCOPED_TRACE(path.toStdString());
        action->trigger();
        // Windows that stay open beside the battlefield.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = dynamic_cast<CDialog*>(window);
            if (dialog && dialog->isVisible() && seen.insert(dialog->windowTitle().toStdString()).second)
                CheckDialog(*dialog, folder);
        }
    }
    // Dialogs that commands ask only in the middle of a batch run.
    {
        CLandscapeObjectiveDlg objective(Doc(), &Frame());
        objective.DoModal();
        CSaveRawAttritionDlg attrition(Doc(), &Frame());
        attrition.DoModal();
    }
    // The menus reach every family of dialogs; a few by name.
    for (const char* caption : {"Edit::Combat Parameters", "Edit::Terrain Parameters", "RED Agent Data",
                                "Edit Number of Time Steps Before Pausing", "Data Collect::Save Raw Attrition",
                                "3D Graph::2-Parameter Fitness Landscape:Edit Mission Objective"})
        EXPECT_TRUE(seen.count(caption)) << caption;
    EXPECT_GE(seen.size(), 40u);
}

}  // namespace
}  // namespace brevimar::testing
