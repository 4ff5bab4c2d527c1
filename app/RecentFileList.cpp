#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace brevimar {

namespace {

QString Key(std::size_t index)
{
    return QString("Recent File List/File%1").arg(index + 1);
}

std::string Canonical(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    return info.absoluteFilePath().toStdString();
}

}  // namespace

void CRecentFileList::ReadList()
{
    QSettings settings(ProfileName, ApplicationName);
    Entries.clear();
    for (std::size_t i = 0; i < Size; ++i) {
        const QString value = settings.value(Key(i)).toString();
        if (!value.isEmpty())
            Entries.push_back(value.toStdString());
    }
}

void CRecentFileList::WriteList() const
{
    WriteSettings([this](QSettings& settings) {
        for (std::size_t i = 0; i < Size; ++i) {
            if (i < Entries.size())
                settings.setValue(Key(i), QString::fromStdString(Entries[i]));
            else
                settings.remove(Key(i));
        }
    });
}

void CRecentFileList::Add(const std::string& path)
{
    const std::string full = Canonical(path);
    Entries.erase(std::remove(Entries.begin(), Entries.end(), full), Entries.end());
    Entries.insert(Entries.begin(), full);
    if (Entries.size() > Size)
        Entries.resize(Size);
}

void CRecentFileList::Remove(std::size_t index)
{
    if (index < Entries.size())
        Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace brevimar
