// A running application for the GUI tests, with every modal window answered
// by the test hooks.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <string>

#include "app/BrevimarApp.h"
#include "app/BrevimarView.h"
#include "app/DocTemplate.h"
#include "app/MainFrame.h"
#include "core/BattlefieldPicture.h"
#include "core/Document.h"
#include "platform/TestHooks.h"
#include "support/TestFiles.h"

namespace brevimar::testing {

inline std::string Fixture(const std::string& name)
{
    return std::string(BREVIMAR_TEST_DATA) + "/" + name;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Each test starts with an empty recent-file list.
        QSettings(CRecentFileList::ProfileName, CRecentFileList::ApplicationName).clear();
        App = std::make_unique<CBrevimarApp>(&Hooks);
    }
    void TearDown() override
    {
        App.reset();
        QCoreApplication::processEvents();
    }

    bool Start(QStringList arguments = {})
    {
        arguments.prepend("brevimar");
        return App->InitInstance(arguments);
    }
    CMainFrame& Frame() { return *App->MainFrame(); }
    CBrevimarView* View() { return Frame().ActiveView(); }
    CBrevimarDoc& Doc() { return *View()->GetDocument(); }

    // Right clicks on the first `n` free cells of the battlefield.
    void PlaceByHand(int n)
    {
        const CBrevimarDoc& doc = Doc();
        const CBattlefieldGeometry g = BattlefieldGeometry(doc);
        const int size = doc.Battlefield.BattleSize;
        for (int x = 1; x <= size && n > 0; ++x)
            for (int y = 1; y <= size && n > 0; ++y)
                if (doc.Battlefield.AgentGrid[GridIndex(x, y)] == CellFree) {
                    const double half = g.CellWidth * g.Zoom / 2;
                    View()->OnRButtonUp(0, QPoint(static_cast<int>(g.WindowX(x) + half),
                                                  static_cast<int>(g.WindowY(y) + half)));
                    --n;
                }
        ASSERT_EQ(n, 0);
    }

    int FileDialogsShown() const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::FileDialog;
        return count;
    }

    // Given to every application the test makes; outlives them all.
    CModalHooks Hooks;
    std::unique_ptr<CBrevimarApp> App;
};

}  // namespace brevimar::testing
