#include "platform/QtHost.h"

#include <iostream>

#include "platform/FileDialog.h"
#include "platform/MessagePump.h"

namespace brevimar {

std::optional<std::string> QtHost::Choose(bool open, const FileDialogRequest& request)
{
    if (Windowless)
        return std::nullopt;
    CFileDialog dialog(open, request.DefaultExtension, request.InitialName, request.Filter,
                       Parent ? Parent.data() : nullptr);
    dialog.Title = request.Title;
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}

std::optional<std::string> QtHost::ChooseFileToOpen(const FileDialogRequest& request)
{
    return Choose(true, request);
}

std::optional<std::string> QtHost::ChooseFileToSave(const FileDialogRequest& request)
{
    return Choose(false, request);
}

int QtHost::MessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    if (Windowless) {
        std::cerr << text << '\n';
        const unsigned buttons = style & 0xFu;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
    }
    return ShowMessageBox(Parent ? Parent.data() : nullptr, text, caption, style);
}

void QtHost::Notify(const std::string& text, const std::string& caption, unsigned style)
{
    if (Windowless)
        Host::Notify(text, caption, style);
    else
        ShowNoticeBox(Parent ? Parent.data() : nullptr, text, caption, style);
}

void QtHost::Log(const std::string& text)
{
    // Without boxes the box's own text is the one said.
    if (!Windowless)
        Host::Log(text);
}

void QtHost::SetStatusText(const std::string& text)
{
    LastStatus = text;
    if (StatusSink)
        StatusSink(text);
}

void QtHost::InvalidateView()
{
    if (RepaintAll)
        RepaintAll();
    else if (View)
        View->Invalidate(false);
}

void QtHost::UpdateView()
{
    if (View)
        View->UpdateWindow();
}

void QtHost::PumpOneMessage()
{
    brevimar::PumpOneMessage();
}

bool QtHost::StartTimer(int id, int periodMs)
{
    return View && View->SetTimer(static_cast<unsigned>(id), static_cast<unsigned>(periodMs));
}

void QtHost::KillTimer(int id)
{
    if (View)
        View->KillTimer(static_cast<unsigned>(id));
}

std::time_t QtHost::Now()
{
    return std::time(nullptr);
}

}  // namespace brevimar
