// File > Print, Print Preview and Print Setup: the battlefield's picture,
// scaled to fit the page, through the view's printer settings.
#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include "app/BattlefieldPainter.h"
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "platform/PrintDialogs.h"

namespace brevimar {

QPrinter& CBrevimarView::PrinterSettings()
{
    if (!Printer)
        Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *Printer;
}

bool CBrevimarView::PrintPicture(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageBox("Cannot print: the printer or its output file could not be opened.", {}, MB_OK | MB_ICONERROR);
        return false;
    }
    // The whole picture at the view's zoom, as large as the page allows.
    const QSize picture = PictureSize();
    const QRect page = painter.viewport();
    if (picture.width() > 0 && picture.height() > 0) {
        const double scale = std::min(static_cast<double>(page.width()) / picture.width(),
                                      static_cast<double>(page.height()) / picture.height());
        painter.scale(scale, scale);
    }
    CBattlefieldPainter battlefield;
    battlefield.Paint(*Document, painter);
    return painter.end();
}

void CBrevimarView::OnFilePrint()
{
    QPrinter& printer = PrinterSettings();
    if (RunPrintDialog(PrintDialogKind::Print, printer, this))
        PrintPicture(printer);
}

void CBrevimarView::OnFilePrintPreview()
{
    RunPrintDialog(PrintDialogKind::Preview, PrinterSettings(), this, [this](QPrinter& p) { PrintPicture(p); });
}

void CBrevimarView::OnFilePrintSetup()
{
    RunPrintDialog(PrintDialogKind::Setup, PrinterSettings(), this);
}

}  // namespace brevimar
