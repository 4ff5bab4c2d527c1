// Resource and command ids that the application code names itself. The menu
// and toolbar tables (resources/brevimar.menu) hold the full set.
#pragma once

namespace brevimar {

// Menus, toolbar and accelerators of the main frame; the document's menu.
constexpr unsigned IDR_MAINFRAME = 2;
constexpr unsigned IDR_BREVIMARTYPE = 129;

// The one status-line pane and its resting text.
constexpr unsigned ID_STATUS_PANE = 131;
inline constexpr const char* StatusPaneRestText = "Attrition Tally-Board";
// The pane beside it naming the colours of the map on show.
constexpr unsigned ID_LEGEND_PANE = 133;

// Menu commands served by the frames and the view so far.
constexpr unsigned ID_FILE_LOAD_INPUT_DATA = 32905;
constexpr unsigned ID_FILE_LOAD_RUN = 33097;

// The splash window's time on screen.
constexpr unsigned SplashTimeoutMs = 7500;

}  // namespace brevimar
