// The printer choices: Print, Print Setup and Print Preview over Qt's print
// support. Under the test hooks each is answered like a modal dialog.
#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace brevimar {

enum class PrintDialogKind { Print, Setup, Preview };

// True when the user confirmed. A confirmed preview has drawn its pages
// through `paint` (also under the hooks, so that its output can be checked).
bool RunPrintDialog(PrintDialogKind kind, QPrinter& printer, QWidget* parent,
                    const std::function<void(QPrinter&)>& paint = {});

}  // namespace brevimar
