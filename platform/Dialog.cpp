#include "platform/Dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/TestHooks.h"
#include "platform/Wnd.h"

namespace brevimar {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    // A leading plus sign is a number's own; from_chars does not take it.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

// The whole text must be the number, apart from surrounding blanks.
std::optional<int> ParseInt(std::string_view text)
{
    text = Trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text)
{
    text = Trimmed(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Locale-free "%.*g": a float keeps 6 significant digits, a double 15.
template <typename T>
std::string FormatReal(T value, int digits)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

constexpr int FloatDigits = FLT_DIG;
constexpr int DoubleDigits = DBL_DIG;

// Many dialog fields are doubles that hold a single-precision scenario
// value: 0.45f widened would show as 0.449999988079071. Such a value is
// shown as the shortest text that reads back to the same float, which is
// what the user typed, and reads back to the same float.
std::string FormatDouble(double value)
{
    const float narrow = static_cast<float>(value);
    if (std::isfinite(value) && static_cast<double>(narrow) == value) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, narrow);
        return std::string(buffer, result.ptr);
    }
    return FormatReal(value, DoubleDigits);
}

void SetMark(QAbstractButton* button, bool on)
{
    if (!button || button->isChecked() == on)
        return;
    // An exclusive group will not let its marked radio be cleared directly.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !on)
        group->setExclusive(false);
    button->setChecked(on);
    if (exclusive && !on)
        group->setExclusive(true);
}

}  // namespace

void CDataExchange::Fail(const std::string& message)
{
    Dialog.RefusedText[LastControl] = Dialog.GetDlgItemText(LastControl);
    Dialog.ShownText.erase(LastControl);
    Dialog.MessageBox(message, {}, MB_OK | MB_ICONWARNING);
    Dialog.SetFocusOn(LastControl);
    Refused = true;
}

void CDataExchange::Shown(int id, const std::string& text)
{
    Dialog.SetDlgItemText(id, text);
    const auto refused = Dialog.RefusedText.find(id);
    if (refused != Dialog.RefusedText.end() && refused->second == text)
        return;
    if (refused != Dialog.RefusedText.end())
        Dialog.RefusedText.erase(refused);
    Dialog.ShownText[id] = text;
}

bool CDataExchange::Untouched(int id) const
{
    const auto it = Dialog.ShownText.find(id);
    return it != Dialog.ShownText.end() && it->second == Dialog.GetDlgItemText(id);
}

namespace {

// Saving: whether the control holds what the dialog itself showed there, so
// that the range check lets it pass. A dialog accepts every value it was
// opened with; only what the user typed is checked.
void NoteControl(CDataExchange& dx, int id)
{
    dx.LastControl = id;
    dx.LastUntouched = dx.SaveAndValidate && dx.Untouched(id);
}

}  // namespace

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (!dx.Active())
        return;
    NoteControl(dx, id);
    if (!dx.SaveAndValidate) {
        dx.Shown(id, std::to_string(value));
        return;
    }
    if (const auto parsed = ParseInt(dx.Dialog.GetDlgItemText(id)))
        value = *parsed;
    else
        dx.Fail("Please enter an integer.");
}

void DDX_Text(CDataExchange& dx, int id, float& value)
{
    if (!dx.Active())
        return;
    NoteControl(dx, id);
    if (!dx.SaveAndValidate) {
        dx.Shown(id, FormatReal(value, FloatDigits));
        return;
    }
    const auto parsed = ParseReal(dx.Dialog.GetDlgItemText(id));
    if (parsed && std::fabs(*parsed) <= FLT_MAX)
        value = static_cast<float>(*parsed);
    else
        dx.Fail("Please enter a number.");
}

void DDX_Text(CDataExchange& dx, int id, double& value)
{
    if (!dx.Active())
        return;
    NoteControl(dx, id);
    if (!dx.SaveAndValidate) {
        dx.Shown(id, FormatDouble(value));
        return;
    }
    if (const auto parsed = ParseReal(dx.Dialog.GetDlgItemText(id)))
        value = *parsed;
    else
        dx.Fail("Please enter a number.");
}

void DDX_Radio(CDataExchange& dx, int firstId, int& index)
{
    if (!dx.Active())
        return;
    dx.LastControl = firstId;
    dx.LastUntouched = false;
    const auto group = dx.Dialog.RadioGroups.find(firstId);
    if (group == dx.Dialog.RadioGroups.end())
        return;
    const QList<QAbstractButton*> buttons = group->second->buttons();
    if (dx.SaveAndValidate) {
        index = -1;
        for (qsizetype i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                index = static_cast<int>(i);
        return;
    }
    for (qsizetype i = 0; i < buttons.size(); ++i)
        SetMark(buttons[i], i == index);
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter an integer between " + std::to_string(minValue) + " and " + std::to_string(maxValue) +
                ".");
}

void DDV_MinMaxFloat(CDataExchange& dx, float value, float minValue, float maxValue)
{
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter a number between " + FormatReal(minValue, FloatDigits) + " and " +
                FormatReal(maxValue, FloatDigits) + ".");
}

void DDV_MinMaxDouble(CDataExchange& dx, double value, double minValue, double maxValue)
{
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter a number between " + FormatReal(minValue, DoubleDigits) + " and " +
                FormatReal(maxValue, DoubleDigits) + ".");
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent) : QDialog(parent), Table(dialogTemplate)
{
    Build();
}

CDialog::~CDialog() = default;

void CDialog::Build()
{
    setWindowTitle(QString::fromStdString(Table.Caption));
    auto* outer = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* body = new QWidget(scroll);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* firstColumn = new QVBoxLayout;
    columns->addLayout(firstColumn, 1);
    QVBoxLayout* top = firstColumn;  // the dialog column groups go into
    QVBoxLayout* column = top;       // where the next item goes outside a grid
    QGridLayout* grid = nullptr;     // the grid group being filled
    int gridColumns = 0, cell = 0;
    QHBoxLayout* row = nullptr;  // the row of the radios or buttons being laid out
    DlgItem rowKind = DlgItem::Label;
    QButtonGroup* radios = nullptr;
    QHBoxLayout* footer = nullptr;

    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("-0.000000000")) + 12;
    auto add = [&](const DialogItem& item) {
        if (item.Kind != DlgItem::Radio)
            radios = nullptr;
        if (row && item.Kind != rowKind)
            row = nullptr;

        QWidget* widget = nullptr;
        QWidget* owner = footer ? static_cast<QWidget*>(this) : body;
        switch (item.Kind) {
        case DlgItem::Group: {
            auto* box = new QGroupBox(QString::fromStdString(item.Text), owner);
            top->addWidget(box);
            grid = nullptr;
            if (item.Columns > 0) {
                grid = new QGridLayout(box);
                // Spare width goes to an empty column on the right, so the
                // cells stay next to their labels.
                grid->setColumnStretch(item.Columns, 1);
                gridColumns = item.Columns;
                cell = 0;
                column = nullptr;
            } else {
                column = new QVBoxLayout(box);
            }
            widget = box;
            break;
        }
        case DlgItem::EndGroup:
            column = top;
            grid = nullptr;
            return;
        case DlgItem::Column: {
            top->addStretch(1);
            top = new QVBoxLayout;
            columns->addLayout(top, 1);
            column = top;
            grid = nullptr;
            return;
        }
        case DlgItem::NewRow:
            if (grid && cell % gridColumns != 0)
                cell += gridColumns - cell % gridColumns;
            return;
        case DlgItem::Label: widget = new QLabel(QString::fromStdString(item.Text), owner); break;
        case DlgItem::Edit: {
            auto* edit = new QLineEdit(owner);
            edit->setMinimumWidth(editWidth);
            if (grid)
                edit->setMaximumWidth(editWidth);
            widget = edit;
            break;
        }
        case DlgItem::CheckBox: widget = new QCheckBox(QString::fromStdString(item.Text), owner); break;
        case DlgItem::Radio: {
            auto* radio = new QRadioButton(QString::fromStdString(item.Text), owner);
            if (!radios) {
                radios = new QButtonGroup(this);
                RadioGroups[item.Id] = radios;
            }
            radios->addButton(radio);
            widget = radio;
            break;
        }
        case DlgItem::Button: {
            auto* button = new QPushButton(QString::fromStdString(item.Text), owner);
            button->setDefault(item.Id == IDOK);
            button->setAutoDefault(false);
            widget = button;
            break;
        }
        }

        if (grid && item.Kind != DlgItem::Group) {
            grid->addWidget(widget, cell / gridColumns, cell % gridColumns);
            ++cell;
        } else if (footer) {
            footer->addWidget(widget);
        } else if (item.Kind == DlgItem::Radio || item.Kind == DlgItem::Button) {
            if (!row) {
                row = new QHBoxLayout;
                column->addLayout(row);
                rowKind = item.Kind;
            }
            row->addWidget(widget);
        } else if (item.Kind != DlgItem::Group) {
            column->addWidget(widget);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const int id = item.Id;
            connect(button, &QAbstractButton::clicked, this, [this, id] { Clicked(id); });
        }
        if (item.Id != IDC_STATIC)
            Controls[item.Id] = {item.Kind, widget};
    };

    for (const DialogItem& item : Table.Items)
        add(item);
    top->addStretch(1);
    scroll->setWidget(body);
    outer->addWidget(scroll, 1);

    // OK and Cancel that the table does not place stay below the scrolling
    // body, on a row of their own.
    footer = new QHBoxLayout;
    footer->addStretch(1);
    outer->addLayout(footer);
    row = nullptr;
    grid = nullptr;
    if (!Controls.count(IDOK))
        add({DlgItem::Button, IDOK, "OK"});
    if (!Controls.count(IDCANCEL))
        add({DlgItem::Button, IDCANCEL, "Cancel"});

    // As large as the body wants, but never larger than the screen: beyond
    // that the body scrolls.
    body->adjustSize();
    QSize wanted = body->sizeHint() + QSize(2 * outer->contentsMargins().left() + 4,
                                           outer->contentsMargins().top() * 3 + 48);
    if (const QScreen* screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
    resize(wanted);
}

void CDialog::Clicked(int id)
{
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else if (const auto it = Handlers.find(id); it != Handlers.end()) {
        // A handler may register handlers of its own; keep this one alive.
        const std::function<void()> handler = it->second;
        handler();
    }
}

int CDialog::DoModal()
{
    Ended = false;
    Result = IDCANCEL;
    FocusId = IDC_STATIC;
    OnInitDialog();

    CModalHooks* hooks = ModalHooksOf(this);
    std::optional<ModalAnswer> answer = hooks ? hooks->Take(ModalKind::Dialog, IDCANCEL) : std::nullopt;
    if (!answer) {
        exec();
    } else {
        // Each queued answer is one attempt at the open dialog; the default
        // answer of an empty queue is Cancel, so the attempts end.
        for (;;) {
            ApplyAnswer(answer->Values);
            if (answer->Result == IDOK)
                OnOK();
            else if (answer->Result != CModalHooks::KeepOpen)
                OnCancel();
            if (!Ended && answer->Result != IDOK && answer->Result != CModalHooks::KeepOpen)
                EndDialog(IDCANCEL);
            if (Ended)
                break;
            answer = hooks->Take(ModalKind::Dialog, IDCANCEL);
        }
    }
    if (hooks)
        hooks->Record(ModalKind::Dialog, Table.Caption, {}, Result);
    return Result;
}

void CDialog::EndDialog(int result)
{
    Result = result;
    Ended = true;
    done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::OnButton(int id, std::function<void()> handler)
{
    Handlers[id] = std::move(handler);
}

void CDialog::ApplyAnswer(const std::map<int, std::string>& values)
{
    // Marks first (their handlers may reload the edits), then typing, then
    // the push buttons that act on what was typed.
    for (const DlgItem pass : {DlgItem::CheckBox, DlgItem::Edit, DlgItem::Button}) {
        for (const auto& [id, text] : values) {
            const auto it = Controls.find(id);
            if (it == Controls.end()) {
                if (pass == DlgItem::CheckBox)
                    qWarning("Dialog \"%s\" has no control %d for the queued value", Table.Caption.c_str(), id);
                continue;
            }
            const DlgItem kind = it->second.Kind;
            if (pass == DlgItem::CheckBox && (kind == DlgItem::CheckBox || kind == DlgItem::Radio)) {
                const auto mark = ParseInt(text);
                const bool on = mark && *mark != 0;
                QAbstractButton* button = Button(id);
                // A click marks a radio but cannot clear it.
                if (button->isChecked() != on && (kind == DlgItem::CheckBox || on))
                    button->click();
            } else if (pass == DlgItem::Edit && kind == DlgItem::Edit) {
                SetDlgItemText(id, text);
            } else if (pass == DlgItem::Button && kind == DlgItem::Button && id != IDOK && id != IDCANCEL) {
                Button(id)->click();
            }
        }
    }
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = Controls.find(id);
    return it == Controls.end() ? nullptr : it->second.Widget;
}

QAbstractButton* CDialog::Button(int id) const
{
    return qobject_cast<QAbstractButton*>(GetDlgItem(id));
}

std::string CDialog::GetDlgItemText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdString();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title().toStdString();
    return {};
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(value);
}

void CDialog::CheckDlgButton(int id, int check)
{
    SetMark(Button(id), check != 0);
}

void CDialog::CheckRadioButton(int firstId, int lastId, int checkId)
{
    SetMark(Button(checkId), true);
    for (auto it = Controls.lower_bound(firstId); it != Controls.end() && it->first <= lastId; ++it)
        if (it->first != checkId)
            SetMark(qobject_cast<QAbstractButton*>(it->second.Widget), false);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    const QAbstractButton* button = Button(id);
    return button && button->isChecked() ? 1 : 0;
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* widget = GetDlgItem(id))
        widget->setEnabled(enable);
}

void CDialog::Invalidate(bool)
{
    // Qt fills a dialog's background on every paint: erasing is implied.
    update();
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return ShowMessageBox(this, text, caption, style);
}

void CDialog::SetFocusOn(int id)
{
    FocusId = id;
    QWidget* widget = GetDlgItem(id);
    if (!widget)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
}

}  // namespace brevimar
