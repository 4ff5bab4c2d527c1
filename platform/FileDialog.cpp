#include "platform/FileDialog.h"

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "core/Host.h"
#include "platform/Settings.h"
#include "platform/TestHooks.h"

namespace brevimar {

namespace {

constexpr const char* LastFolderKey = "Settings/LastFolder";

void RememberFolder(const std::string& path)
{
    WriteSettings([&path](QSettings& settings) {
        settings.setValue(LastFolderKey, QFileInfo(QString::fromStdString(path)).absolutePath());
    });
}

std::vector<std::string> Split(const std::string& s, char separator)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : s) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace

std::vector<FileFilter> ParseFilterString(const std::string& filter)
{
    // The string ends at the first empty field ("||").
    std::vector<std::string> fields = Split(filter, '|');
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const std::string description = Trim(fields[i]);
        if (description.empty())
            break;
        FileFilter f;
        f.Description = description;
        const std::string patterns = i + 1 < fields.size() ? fields[i + 1] : std::string();
        for (const std::string& p : Split(patterns, ';'))
            if (!Trim(p).empty())
                f.Patterns.push_back(Trim(p));
        if (f.Patterns.empty())
            f.Patterns.push_back("*");
        filters.push_back(f);
    }
    return filters;
}

std::vector<std::string> ToQtNameFilters(const std::vector<FileFilter>& filters)
{
    std::vector<std::string> names;
    for (const FileFilter& f : filters) {
        std::string patterns;
        for (const std::string& p : f.Patterns)
            patterns += (patterns.empty() ? "" : " ") + p;
        // Qt reads the patterns from the parentheses at the end of the
        // description; a description that shows other text there keeps it,
        // and the real patterns follow.
        std::string name = f.Description;
        const std::string shown = "(" + patterns + ")";
        if (name.size() < shown.size() || name.compare(name.size() - shown.size(), shown.size(), shown) != 0)
            name += " " + shown;
        names.push_back(name);
    }
    return names;
}

std::size_t InitialFilterIndex(const std::vector<FileFilter>& filters, const std::string& defaultExtension)
{
    std::string ext = defaultExtension;
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    if (ext.empty())
        return 0;
    const QString wanted = QString::fromStdString("*." + ext);
    for (std::size_t i = 0; i < filters.size(); ++i)
        for (const std::string& p : filters[i].Patterns)
            if (QString::fromStdString(p).compare(wanted, Qt::CaseInsensitive) == 0)
                return i;
    return 0;
}

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName, std::string filter,
                         QWidget* parent)
    : Open(openFileDialog),
      DefaultExtension(std::move(defaultExtension)),
      InitialName(std::move(fileName)),
      Filter(std::move(filter)),
      Parent(parent)
{
    if (!DefaultExtension.empty() && DefaultExtension.front() == '.')
        DefaultExtension.erase(0, 1);
}

std::string CFileDialog::CompletePath(const std::string& path) const
{
    if (path.empty() || DefaultExtension.empty())
        return path;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.suffix().isEmpty() || info.fileName().isEmpty())
        return path;
    return path + "." + DefaultExtension;
}

int CFileDialog::DoModal()
{
    const std::string title = Title.empty() ? (Open ? "Open" : "Save As") : Title;
    CModalHooks* hooks = ModalHooksOf(Parent);
    if (auto answer = hooks ? hooks->Take(ModalKind::FileDialog, IDCANCEL) : std::nullopt) {
        const bool chosen = answer->Result == IDOK && !answer->Path.empty();
        PathName = chosen ? CompletePath(answer->Path) : std::string();
        if (chosen)
            RememberFolder(PathName);
        hooks->Record(ModalKind::FileDialog, title, Filter, chosen ? IDOK : IDCANCEL);
        return chosen ? IDOK : IDCANCEL;
    }

    QFileDialog dialog(Parent, QString::fromStdString(title));
    dialog.setAcceptMode(Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList names;
    for (const std::string& n : ToQtNameFilters(ParseFilterString(Filter)))
        names << QString::fromStdString(n);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        const std::size_t first = InitialFilterIndex(ParseFilterString(Filter), DefaultExtension);
        dialog.selectNameFilter(names[static_cast<qsizetype>(std::min<std::size_t>(first, names.size() - 1))]);
    }
    if (!DefaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(DefaultExtension));
    // Choosers start where the user last chose a file, across sessions.
    QSettings settings(SettingsOrganisation, SettingsApplication);
    const QString lastFolder = settings.value(LastFolderKey).toString();
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        dialog.setDirectory(lastFolder);
    if (!InitialName.empty())
        dialog.selectFile(QString::fromStdString(InitialName));

    int result = IDCANCEL;
    PathName.clear();
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        PathName = CompletePath(dialog.selectedFiles().front().toStdString());
        RememberFolder(PathName);
        result = IDOK;
    }
    if (hooks)
        hooks->Record(ModalKind::FileDialog, title, Filter, result);
    return result;
}

std::string CFileDialog::GetFileName() const
{
    return QFileInfo(QString::fromStdString(PathName)).fileName().toStdString();
}

std::string CFileDialog::GetFileExt() const
{
    return QFileInfo(QString::fromStdString(PathName)).suffix().toStdString();
}

std::string CFileDialog::GetFileTitle() const
{
    return QFileInfo(QString::fromStdString(PathName)).completeBaseName().toStdString();
}

std::string CFileDialog::GetFolderPath() const
{
    return QFileInfo(QString::fromStdString(PathName)).absolutePath().toStdString();
}

}  // namespace brevimar
