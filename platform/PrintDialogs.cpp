#include "platform/PrintDialogs.h"

#include <QDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/Host.h"
#include "platform/TestHooks.h"

namespace brevimar {

namespace {

const char* TitleOf(PrintDialogKind kind)
{
    switch (kind) {
    case PrintDialogKind::Print:
        return "Print";
    case PrintDialogKind::Setup:
        return "Print Setup";
    case PrintDialogKind::Preview:
        return "Print Preview";
    }
    return "Print";
}

}  // namespace

bool RunPrintDialog(PrintDialogKind kind, QPrinter& printer, QWidget* parent, const std::function<void(QPrinter&)>& paint)
{
    const char* title = TitleOf(kind);
    CModalHooks* hooks = ModalHooksOf(parent);
    if (auto answer = hooks ? hooks->Take(ModalKind::Dialog, IDCANCEL) : std::nullopt) {
        const bool ok = answer->Result == IDOK;
        if (ok && kind == PrintDialogKind::Preview && paint)
            paint(printer);
        hooks->Record(ModalKind::Dialog, title, {}, ok ? IDOK : IDCANCEL);
        return ok;
    }
    int result = QDialog::Rejected;
    switch (kind) {
    case PrintDialogKind::Print: {
        QPrintDialog dialog(&printer, parent);
        result = dialog.exec();
        break;
    }
    case PrintDialogKind::Setup: {
        QPageSetupDialog dialog(&printer, parent);
        result = dialog.exec();
        break;
    }
    case PrintDialogKind::Preview: {
        QPrintPreviewDialog dialog(&printer, parent);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* p) {
            if (paint && p)
                paint(*p);
        });
        result = dialog.exec();
        break;
    }
    }
    if (hooks)
        hooks->Record(ModalKind::Dialog, title, {}, result == QDialog::Accepted ? IDOK : IDCANCEL);
    return result == QDialog::Accepted;
}

}  // namespace brevimar
