// File > Print, Print Preview and Print Setup: the battlefield's picture,
// scaled to fit the page, through the view's printer settings.
#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <string>

#include "app/BattlefieldPainter.h"
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "core/OutputFile.h"
#include "files/ReadReport.h"
#include "platform/PrintDialogs.h"

namespace brevimar {

namespace {

constexpr char CannotOpenPrinter[] = "Cannot print: the printer or its output file could not be opened.";

// A printer that writes a PDF file. A preview draws through the same printer
// on an engine of its own, which writes nothing.
bool WritesPdfFile(QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Pdf;
}

}  // namespace

QPrinter& CBrevimarView::PrinterSettings()
{
    if (!Printer)
        Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *Printer;
}

QString CBrevimarView::PageTitle() const
{
    // Named as the status line names the run, so a printed page can be
    // matched with the battle it came from.
    return QString("%1   [ TIME ]: %2")
        .arg(QString::fromStdString(Document->InputFileName))
        .arg(Document->RunHeader.CurrentStep);
}

void CBrevimarView::PaintPage(QPainter& painter, const QRect& page, bool grayscale)
{
    painter.save();
    QFont font;
    font.setPointSize(11);
    painter.setFont(QFont(font, painter.device()));
    const QFontMetrics metrics(painter.font());
    const QRect titleBox(page.left(), page.top(), page.width(), metrics.height());
    painter.setPen(Qt::black);
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, PageTitle());

    // The picture is drawn off-screen at the view's zoom first, so that
    // its outline, the flags beside it and the command lines all land inside
    // the image, and only then stretched onto the page as one piece; the
    // printer's own rounding cannot then shave a border off.
    const QSize size = PictureSize().expandedTo(QSize(1, 1));
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter offScreen(&picture);
        CBattlefieldPainter battlefield;
        battlefield.Paint(*Document, offScreen);
    }
    if (grayscale)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    const int gap = metrics.height() / 2;
    const QRect area = page.adjusted(0, titleBox.height() + gap, 0, 0);
    if (area.width() > 0 && area.height() > 0) {
        const double scale = std::min(static_cast<double>(area.width()) / size.width(),
                                      static_cast<double>(area.height()) / size.height());
        const double width = size.width() * scale, height = size.height() * scale;
        const QRectF target(area.left() + (area.width() - width) / 2, area.top(), width, height);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, picture);
    }
    painter.restore();
}

bool CBrevimarView::PrintPicture(QPrinter& printer)
{
    if (WritesPdfFile(printer))
        return PrintPdfFile(printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        // Through the document's host: printing from the command line shows
        // no box.
        Document->host().ShowError(CannotOpenPrinter);
        return false;
    }
    PaintPage(painter, QRect(0, 0, printer.width(), printer.height()));
    return painter.end();
}

// Qt's PDF engine tells no failed write (a full disk leaves a cut file that
// counted as printed) and would wait on a FIFO nobody reads for ever: the
// page is made in memory with the printer's settings, then written through
// the writer every file of the program goes through, which says when the
// file did not open or did not take it whole, and why.
bool CBrevimarView::PrintPdfFile(QPrinter& printer)
{
    const std::string path = QFile::encodeName(printer.outputFileName()).toStdString();
    OutputFile file(path);
    if (!file.is_open()) {
        ReportReadProblem(*Document, CannotOpenOutputMessage(path, file.Problem()));
        return false;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        QPainter painter(&writer);
        PaintPage(painter, QRect(0, 0, writer.width(), writer.height()), printer.colorMode() == QPrinter::GrayScale);
    }
    file.write(pdf.data().constData(), pdf.data().size());
    file.close();
    if (!file) {
        // What went before the cut opens in no reader, yet would pass for a
        // printed page: it goes, and only the message stays.
        file.Discard();
        ReportReadProblem(*Document, CannotWriteMessage(path, file.Problem()));
        return false;
    }
    return true;
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
