#include "platform/Wnd.h"

#include <algorithm>

#include <QDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "platform/TestHooks.h"

namespace brevimar {

namespace {

unsigned KeyFlags(const QMouseEvent& event)
{
    unsigned flags = 0;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (event.modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

int DefaultAnswer(unsigned style)
{
    const unsigned buttons = style & 0xFu;
    return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & 0xF0u) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned style)
{
    const std::string title = caption.empty() ? std::string(AppTitle) : caption;
    CModalHooks* hooks = ModalHooksOf(parent);
    if (auto answer = hooks ? hooks->Take(ModalKind::MessageBox, DefaultAnswer(style)) : std::nullopt) {
        hooks->Record(ModalKind::MessageBox, title, text, answer->Result);
        return answer->Result;
    }

    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    box.setIcon(IconOf(style));
    switch (style & 0xFu) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    int result = IDCANCEL;
    switch (box.exec()) {
    case QMessageBox::Ok: result = IDOK; break;
    case QMessageBox::Yes: result = IDYES; break;
    case QMessageBox::No: result = IDNO; break;
    default:
        // Closing a box that has no Cancel button answers its only button.
        if ((style & 0xFu) == MB_OK)
            result = IDOK;
        else if ((style & 0xFu) == MB_YESNO)
            result = IDNO;
        break;
    }
    if (hooks)
        hooks->Record(ModalKind::MessageBox, title, text, result);
    return result;
}

void ShowNoticeBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned style)
{
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowTitle(QString::fromStdString(caption.empty() ? std::string(AppTitle) : caption));
    box->setText(QString::fromStdString(text));
    box->setIcon(IconOf(style));
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
}

int RunModal(QDialog& dialog)
{
    const std::string title = dialog.windowTitle().toStdString();
    CModalHooks* hooks = ModalHooksOf(&dialog);
    if (auto answer = hooks ? hooks->Take(ModalKind::Dialog, IDCANCEL) : std::nullopt) {
        hooks->Record(ModalKind::Dialog, title, {}, answer->Result);
        return answer->Result;
    }
    const int result = dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    if (hooks)
        hooks->Record(ModalKind::Dialog, title, {}, result);
    return result;
}

CWnd::CWnd(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    // Without erase the picture is painted over what is already there.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CWnd::~CWnd()
{
    for (const auto& [id, qtId] : Timers)
        killTimer(qtId);
}

bool CWnd::SetTimer(unsigned id, unsigned periodMs)
{
    if (const CModalHooks* hooks = ModalHooksOf(this); hooks && !hooks->TimersAvailable())
        return false;
    // Setting a timer that runs already restarts it with the new period.
    if (auto it = Timers.find(id); it != Timers.end()) {
        killTimer(it->second);
        Timers.erase(it);
        Periods.erase(id);
    }
    const unsigned period = std::max(periodMs, MinTimerPeriodMs);
    const int qtId = startTimer(static_cast<int>(period), Qt::PreciseTimer);
    if (qtId == 0)
        return false;
    Timers[id] = qtId;
    Periods[id] = period;
    return true;
}

unsigned CWnd::TimerPeriod(unsigned id) const
{
    const auto it = Periods.find(id);
    return it == Periods.end() ? 0 : it->second;
}

bool CWnd::KillTimer(unsigned id)
{
    auto it = Timers.find(id);
    if (it == Timers.end())
        return false;
    killTimer(it->second);
    Timers.erase(it);
    Periods.erase(id);
    return true;
}

void CWnd::Invalidate(bool erase)
{
    ++Invalidations;
    EraseNext = EraseNext || erase;
    update();
}

void CWnd::UpdateWindow()
{
    repaint();
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return ShowMessageBox(this, text, caption, style);
}

void CWnd::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : Timers) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QWidget::timerEvent(event);
}

void CWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (EraseNext)
        painter.fillRect(rect(), palette().color(backgroundRole()));
    EraseNext = false;
    OnDraw(painter);
}

void CWnd::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(KeyFlags(*event), point);
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(KeyFlags(*event), point);
    else
        QWidget::mouseReleaseEvent(event);
}

}  // namespace brevimar
