// The file chooser, taking the framework's filter strings:
// "Description (*.x)|*.x|Other (*.y;*.z)|*.y;*.z||".
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace brevimar {

struct FileFilter {
    std::string Description;
    std::vector<std::string> Patterns;  // "*.dat", ...
};

std::vector<FileFilter> ParseFilterString(const std::string& filter);
// The same filters as Qt name filters ("Description (*.x)"), in order.
std::vector<std::string> ToQtNameFilters(const std::vector<FileFilter>& filters);
// The filter a chooser starts on: the first whose patterns take files with
// the default extension (so that a pre-filled "*.run" is not hidden behind
// *.dat), else the first.
std::size_t InitialFilterIndex(const std::vector<FileFilter>& filters, const std::string& defaultExtension);

class CFileDialog {
public:
    // `defaultExtension` without the dot; it is added to a typed name that
    // has no extension of its own.
    CFileDialog(bool openFileDialog, std::string defaultExtension = {}, std::string fileName = {},
                std::string filter = {}, QWidget* parent = nullptr);

    std::string Title;  // empty: "Open" or "Save As"

    // IDOK with a chosen file, IDCANCEL otherwise. Under the test hooks of the
    // parent the chooser is not shown and the queued choice is taken.
    int DoModal();

    std::string GetPathName() const { return PathName; }  // full path
    std::string GetFileName() const;                      // name with extension
    std::string GetFileExt() const;                       // extension without the dot
    std::string GetFileTitle() const;                     // name without extension
    std::string GetFolderPath() const;

    // What DoModal does to a chosen path: adds the default extension to a
    // name without one.
    std::string CompletePath(const std::string& path) const;

private:
    bool Open;
    std::string DefaultExtension;
    std::string InitialName;
    std::string Filter;
    QWidget* Parent;
    std::string PathName;
};

}  // namespace brevimar
