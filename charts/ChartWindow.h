// What every chart window shares: a modeless window whose whole client area
// is one chart, built once in the window's constructor from the document as
// it stands, and never updated afterwards. Each chart window
//   1. constructs this base (template id, caption, parent) and its chart,
//   2. does its own document work,
//   3. Create()            - the window appears, placed by OnInitDialog,
//   4. CreateChart()       - the chart over the whole client area,
//   5. ResetChartTemplate(),
//   6. sets its properties and data through Graph,
//   7. DrawChart()         - RunTime 1, then DrawMode 3,
//   8. hands its series to the document (run mode 5 charts).
// The window deletes itself once closed (Enter, Escape or the close box), so
// any number may be open at once; hold them in QPointer.
#pragma once

#include <QDialog>

#include <string>

#include "charts/GraphCtrl.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CChartWindow : public QDialog {
public:
    // Where a new window opens: this far right of and below its parent's
    // top-left corner, and a step further down and right for each chart
    // window open there before it.
    static constexpr int PlacementOffset = 100;
    static constexpr int CascadeStep = 28;
    // How much of a title bar, from its left end, must stay on the screen.
    static constexpr int TitleGripWidth = 160;
    static constexpr int TemplateWidth = 640;
    static constexpr int TemplateHeight = 480;
    static constexpr int ChartControlId = 1;

    ~CChartWindow() override;

    unsigned TemplateId() const { return Template; }

    // The x-axis tick step of the time and generation charts for n points:
    // 1 below 50, 10 below 200, 25 below 400, else 50.
    static int XAxisTickStep(int n);

    CGraphCtrl Graph;

protected:
    CChartWindow(unsigned templateId, const std::string& caption, QWidget* parent);

    // Shows the window modelessly and places it (OnInitDialog).
    void Create();
    // Placement: the parent's top-left corner plus the offset, on the first
    // step of the cascade that no other chart window of the main window
    // holds, within the screen; size kept.
    virtual bool OnInitDialog();
    void CreateChart();
    void ResetChartTemplate();
    void DrawChart();

    // The common settings of the 2D time charts, items 3 to 7: background,
    // tool bar and tools (tool 11 off in run mode 5), the x axis (its maximum
    // read back from NumPoints and minimum 1 when asked; ticks by the rule on
    // tickPoints), the y axis (maximum 1 or minimum 0 when asked), the fonts.
    struct Common2D {
        bool MultiRun = false;
        bool XRangeFromPoints = false;
        int TickPoints = 0;
        bool YMaxOne = false;
        bool YMinZero = false;
    };
    void ApplyCommon2DSettings(const Common2D& settings);
    // The last of the common settings (item 9): legend font, style and size.
    void ApplyCommon2DClosing();
    // The x-y plots (GraphType 9): the common tools less 5, 8 and 9, the
    // fonts, the left title turned, the closing settings.
    void ApplyXYPlotLook();
    // The 3D charts: the common tools less 6 (and 5 when asked), a white
    // cage, x and z axis styles, the fonts and the closing settings. Kind,
    // style and view are each chart's own.
    void Apply3DLook(bool toolFiveOff);
    // Five labelled intervals with minor ticks across and up (and in depth).
    void ApplyFiveTicks(bool withZ);
    // Point `point` of set `set` of a path: (x, y) in the plane, or in the
    // cage of a 3D chart (x, time, y) with time up.
    void PlacePathPoint(bool cage, int set, int point, double x, double y, int time);
    // The x axis and the points shown: first..last.
    void SetXRange(int first, int last);

    // The titles of a chart that averages over the samples of a multiple
    // time-series run: "title; (settings; N Samples)" and "(Ave) text" then,
    // "title; (settings)" (the title alone without settings) and "text" else.
    static std::string SampledTitle(bool multiRun, int samples, const std::string& title,
                                    const std::string& settings = {});
    static std::string Averaged(bool multiRun, const std::string& text);

    // The lower extent of the error bar of an averaged count, share or
    // distance: the spread, but not below 0, which the quantity never is.
    // The upper extent and the deviation handed off stay the whole spread.
    static double LowerBar(double value, double spread);

    // The hand-off of the drawn series to the document, for the raw
    // graph-data report. Series beyond the seventh and points outside
    // 1..200 are not handed off, nor anything of a multiple time-series
    // batch that has not ended: the report then keeps what was handed off
    // before, or says that no chart has been drawn.
    static bool HandsOff(const CBrevimarDoc& doc);
    static void BeginHandOff(CBrevimarDoc& doc);
    static void HandOffLabel(CBrevimarDoc& doc, int set, const std::string& label);
    static void HandOffPoint(CBrevimarDoc& doc, int set, int point, double value, double deviation);
    static void EndHandOff(CBrevimarDoc& doc, int sets);

    void done(int result) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    unsigned Template;
};

// What the chart option dialogs share: Accepted tells the opening command
// whether the dialog ended with OK (1) or with Cancel (0).
class CChartOptionsDlg : public CDialog {
public:
    void OnOK() override;
    void OnCancel() override;

    int Accepted = 1;

protected:
    using CDialog::CDialog;
};

// The check-box handler the chart option dialogs share: the dialog's flag
// turns 1 into 0 and anything else into 1, and the boxes show the members.
void ToggleCheckFlag(CDialog& dialog, int& flag);
// In DoDataExchange: shows `flag` in the box (the member, not the box, is the
// value, so nothing is read back).
void DDX_CheckFlag(CDataExchange& dx, int id, int flag);

}  // namespace brevimar
