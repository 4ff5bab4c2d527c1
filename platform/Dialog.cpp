#include "platform/Dialog.h"

#include <QButtonGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
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

#include <algorithm>
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
    // The member keeps what it held before this pass: a value the check
    // refuses never reaches it, so no store, switch or OK can pass it on.
    if (Restore) {
        Restore();
        Restore = nullptr;
    }
    Dialog.MessageBox(message, {}, MB_OK | MB_ICONWARNING);
    Dialog.SetFocusOn(LastControl);
    Refused = true;
}

void CDataExchange::NoteNumberWidth(int characters)
{
    if (!SaveAndValidate && !Refused && LastControl != IDC_STATIC)
        Dialog.NoteFieldText(LastControl, characters, true);
}

namespace {

// Room for a fraction to be typed into a real-valued field.
constexpr int RealDigits = 5;

void ShowNumber(CDataExchange& dx, int id, const std::string& text, int fewest)
{
    dx.Dialog.SetDlgItemText(id, text);
    dx.NoteNumberWidth(std::max(fewest, static_cast<int>(text.size())));
}

// One edit and its member, as the exchange sees them. Loading shows the
// member's text. Saving leaves the member as it is while the box still shows
// exactly that text: a dialog accepts every value it holds (the document's
// own, opened with, for the squad on show, or one already accepted), and
// keeps it to the last bit, though its text carries fewer digits. Only what
// the user typed is parsed and checked, and a refused value goes back out of
// the member.
template <typename T, typename Parse>
void ExchangeNumber(CDataExchange& dx, int id, T& value, const std::string& shown, int fewest, Parse parse,
                    const char* problem)
{
    if (!dx.Begin(id))
        return;
    if (!dx.SaveAndValidate) {
        ShowNumber(dx, id, shown, fewest);
        return;
    }
    const std::string text = dx.Dialog.GetDlgItemText(id);
    if (text == shown) {
        dx.LastUntouched = true;
        return;
    }
    if (const std::optional<T> parsed = parse(text)) {
        dx.Restore = [&value, before = value] { value = before; };
        value = *parsed;
    } else {
        dx.Fail(problem);
    }
}

}  // namespace

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    ExchangeNumber(dx, id, value, std::to_string(value), 0, ParseInt, "Please enter an integer.");
}

void DDX_Text(CDataExchange& dx, int id, float& value)
{
    const auto parse = [](const std::string& text) -> std::optional<float> {
        const auto parsed = ParseReal(text);
        if (!parsed || std::fabs(*parsed) > FLT_MAX)
            return std::nullopt;
        return static_cast<float>(*parsed);
    };
    ExchangeNumber(dx, id, value, FormatReal(value, FloatDigits), RealDigits, parse, "Please enter a number.");
}

void DDX_Text(CDataExchange& dx, int id, double& value)
{
    const auto parse = [](const std::string& text) { return ParseReal(text); };
    ExchangeNumber(dx, id, value, FormatDouble(value), RealDigits, parse, "Please enter a number.");
}

void DDX_Radio(CDataExchange& dx, int firstId, int& index)
{
    if (!dx.Begin(firstId))
        return;
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
    dx.NoteNumberWidth(static_cast<int>(std::max(std::to_string(minValue).size(), std::to_string(maxValue).size())));
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter an integer between " + std::to_string(minValue) + " and " + std::to_string(maxValue) +
                ".");
}

void DDV_MinMaxFloat(CDataExchange& dx, float value, float minValue, float maxValue)
{
    dx.NoteNumberWidth(static_cast<int>(
        std::max(FormatReal(minValue, FloatDigits).size(), FormatReal(maxValue, FloatDigits).size())));
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter a number between " + FormatReal(minValue, FloatDigits) + " and " +
                FormatReal(maxValue, FloatDigits) + ".");
}

void DDV_MinMaxDouble(CDataExchange& dx, double value, double minValue, double maxValue)
{
    dx.NoteNumberWidth(static_cast<int>(
        std::max(FormatReal(minValue, DoubleDigits).size(), FormatReal(maxValue, DoubleDigits).size())));
    if (dx.SaveAndValidate && dx.Active() && !dx.LastUntouched && (value < minValue || value > maxValue))
        dx.Fail("Please enter a number between " + FormatReal(minValue, DoubleDigits) + " and " +
                FormatReal(maxValue, DoubleDigits) + ".");
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent) : QDialog(parent), Table(dialogTemplate)
{
    Build();
}

CDialog::~CDialog() = default;

namespace {

// Room that the window frame, the title bar's icon and its buttons take
// beside the caption text.
constexpr int TitleBarRoom = 160;
// The most a dialog may take: a 1280 x 1024 desktop less its panel and the
// window frame. A larger screen gives no more, so dialogs read the same on
// every desktop.
constexpr int MostWidth = 1260;
constexpr int MostHeight = 960;
// Field widths in digits: room for a short number, and the most any value
// shown in a field needs.
constexpr int FewestDigits = 3;
constexpr int MostDigits = 16;
// A field that no exchange describes holds text of its own, often a name.
constexpr int TextFieldDigits = 10;
// Labels longer than this are sentences: they wrap instead of widening the
// dialog.
constexpr int SentenceLength = 70;

bool IsField(DlgItem kind)
{
    return kind == DlgItem::Edit;
}

}  // namespace

void CDialog::Build()
{
    setWindowTitle(QString::fromStdString(Table.Caption));
    auto* outer = new QVBoxLayout(this);
    Scroll = new QScrollArea(this);
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidgetResizable(true);
    // The fields take the focus, never the area around them.
    Scroll->setFocusPolicy(Qt::NoFocus);
    auto* body = new QWidget(Scroll);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BodyColumns = columns;
    Blocks.assign(1, {});

    QWidget* loose = nullptr;        // the block of the items outside any group
    QVBoxLayout* column = nullptr;   // where the next item goes outside a grid
    QGridLayout* grid = nullptr;     // the grid group being filled
    int gridColumns = 0, cell = 0;
    QHBoxLayout* row = nullptr;  // the row of the radios or buttons being laid out
    DlgItem rowKind = DlgItem::Label;
    QButtonGroup* radios = nullptr;
    QHBoxLayout* footer = nullptr;
    // Labels and the short fields they name share a row; consecutive rows
    // share a grid so their fields line up.
    QGridLayout* form = nullptr;
    int formRow = -1, formColumn = 0;
    bool inFormRow = false;

    auto endForm = [&] {
        form = nullptr;
        inFormRow = false;
    };
    auto looseColumn = [&] {
        if (column)
            return column;
        if (!loose) {
            loose = new QWidget(body);
            column = new QVBoxLayout(loose);
            column->setContentsMargins(0, 0, 0, 0);
            Blocks.back().push_back(loose);
        }
        return column;
    };

    auto add = [&](const DialogItem& item, DlgItem next) {
        if (item.Kind != DlgItem::Radio)
            radios = nullptr;
        if (row && item.Kind != rowKind)
            row = nullptr;

        QWidget* widget = nullptr;
        QWidget* owner = footer ? static_cast<QWidget*>(this) : body;
        switch (item.Kind) {
        case DlgItem::Group: {
            auto* box = new QGroupBox(QString::fromStdString(item.Text), owner);
            Blocks.back().push_back(box);
            loose = nullptr;
            grid = nullptr;
            endForm();
            if (item.Columns > 0) {
                grid = new QGridLayout(box);
                grid->setVerticalSpacing(3);
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
            loose = nullptr;
            column = nullptr;
            grid = nullptr;
            endForm();
            return;
        case DlgItem::Column:
            Blocks.emplace_back();
            loose = nullptr;
            column = nullptr;
            grid = nullptr;
            endForm();
            return;
        case DlgItem::NewRow:
            if (grid && cell % gridColumns != 0)
                cell += gridColumns - cell % gridColumns;
            return;
        case DlgItem::Label: {
            auto* label = new QLabel(QString::fromStdString(item.Text), owner);
            if (item.Text.size() > SentenceLength)
                label->setWordWrap(true);
            widget = label;
            break;
        }
        case DlgItem::Edit: widget = new QLineEdit(owner); break;
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
            const int r = cell / gridColumns, c = cell % gridColumns;
            // A cell wider than its field (for a long heading above it)
            // keeps the field under the heading's start.
            grid->addWidget(widget, r, c, Qt::AlignLeft | Qt::AlignVCenter);
            ++cell;
        } else if (footer) {
            footer->addWidget(widget);
        } else if (item.Kind == DlgItem::Group) {
        } else if (inFormRow && (IsField(item.Kind) || (item.Kind == DlgItem::Label && !IsField(next)))) {
            // A field of the row, or the unit after its last field.
            form->addWidget(widget, formRow, formColumn++, Qt::AlignLeft | Qt::AlignVCenter);
            inFormRow = IsField(item.Kind);
        } else if ((item.Kind == DlgItem::Label || item.Kind == DlgItem::CheckBox) && IsField(next)) {
            if (!form) {
                auto* holder = new QHBoxLayout;
                form = new QGridLayout;
                holder->addLayout(form);
                holder->addStretch(1);
                looseColumn()->addLayout(holder);
                formRow = -1;
            }
            form->addWidget(widget, ++formRow, 0, Qt::AlignLeft | Qt::AlignVCenter);
            formColumn = 1;
            inFormRow = true;
        } else {
            endForm();
            if (item.Kind == DlgItem::Radio || item.Kind == DlgItem::Button) {
                if (!row) {
                    row = new QHBoxLayout;
                    // The choices of a row stay together at its start.
                    row->setAlignment(Qt::AlignLeft);
                    looseColumn()->addLayout(row);
                    rowKind = item.Kind;
                }
                row->addWidget(widget);
            } else {
                looseColumn()->addWidget(widget, 0, IsField(item.Kind) ? Qt::AlignLeft : Qt::Alignment());
            }
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const int id = item.Id;
            connect(button, &QAbstractButton::clicked, this, [this, id] { Clicked(id); });
        }
        if (item.Id != IDC_STATIC)
            Controls[item.Id] = {item.Kind, widget};
    };

    for (std::size_t i = 0; i < Table.Items.size(); ++i)
        add(Table.Items[i], i + 1 < Table.Items.size() ? Table.Items[i + 1].Kind : DlgItem::NewRow);
    Scroll->setWidget(body);
    outer->addWidget(Scroll, 1);

    // OK and Cancel that the table does not place stay below the body, on a
    // row of their own.
    footer = new QHBoxLayout;
    footer->addStretch(1);
    outer->addLayout(footer);
    row = nullptr;
    grid = nullptr;
    endForm();
    if (!Controls.count(IDOK))
        add({DlgItem::Button, IDOK, "OK"}, DlgItem::NewRow);
    if (!Controls.count(IDCANCEL))
        add({DlgItem::Button, IDCANCEL, "Cancel"}, DlgItem::NewRow);

    LayOut();
}

void CDialog::NoteFieldText(int id, int characters, bool number)
{
    Field& field = Fields[id];
    field.Characters = std::max(field.Characters, characters);
    field.Number = field.Number || number;
}

void CDialog::LayOut()
{
    // Each field as wide as the values it takes: its range and what it shows.
    const QFontMetrics metrics = fontMetrics();
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const auto& [id, control] : Controls) {
        auto* edit = qobject_cast<QLineEdit*>(control.Widget);
        if (!edit)
            continue;
        const auto known = Fields.find(id);
        int characters = known == Fields.end() || !known->second.Number ? TextFieldDigits : FewestDigits;
        if (known != Fields.end())
            characters = std::max(characters, known->second.Characters);
        characters = std::max(characters, static_cast<int>(edit->text().size()));
        characters = std::min(characters, MostDigits);
        edit->setFixedWidth(digit * characters + 14);
    }
    // The fields of one grid column are as wide as its widest, so the
    // column reads as one.
    for (QGridLayout* grid : findChildren<QGridLayout*>()) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            std::vector<QLineEdit*> edits;
            int widest = 0;
            for (int r = 0; r < grid->rowCount(); ++r) {
                QLayoutItem* item = grid->itemAtPosition(r, c);
                if (auto* edit = item ? qobject_cast<QLineEdit*>(item->widget()) : nullptr) {
                    edits.push_back(edit);
                    widest = std::max(widest, edit->width());
                }
            }
            for (QLineEdit* edit : edits)
                edit->setFixedWidth(widest);
        }
    }

    QSize most(MostWidth, MostHeight);
    if (const QScreen* screen = this->screen())
        most = most.boundedTo(screen->availableGeometry().size() - QSize(20, 64));
    const int footerHeight = 56;

    // Columns of groups flow into further columns when taller than the
    // screen holds.
    while (QLayoutItem* item = BodyColumns->takeAt(0))
        delete item;
    const int room = most.height() - footerHeight;
    std::vector<std::vector<QWidget*>> flowed;
    for (const std::vector<QWidget*>& blocks : Blocks) {
        QVBoxLayout* column = nullptr;
        int height = 0;
        for (QWidget* block : blocks) {
            const int wanted = block->sizeHint().height();
            if (!column || (height > 0 && height + wanted > room)) {
                column = new QVBoxLayout;
                column->setAlignment(Qt::AlignTop);
                BodyColumns->addLayout(column);
                flowed.emplace_back();
                height = 0;
            }
            column->addWidget(block);
            flowed.back().push_back(block);
            height += wanted + column->spacing();
        }
    }
    // The groups of one column start their fields at one x: every grid's
    // first column (the names of its rows) is as wide as the widest.
    for (const std::vector<QWidget*>& blocks : flowed) {
        std::vector<QGridLayout*> grids;
        for (QWidget* block : blocks)
            for (QGridLayout* grid : block->findChildren<QGridLayout*>())
                grids.push_back(grid);
        // Only grids whose first column names rows: radios or buttons there
        // are choices of their own, spaced by their own width.
        const auto namesRows = [](QGridLayout* grid) {
            bool fields = false;
            for (int r = 0; r < grid->rowCount(); ++r) {
                for (int c = 0; c < grid->columnCount(); ++c) {
                    QLayoutItem* item = grid->itemAtPosition(r, c);
                    QWidget* widget = item ? item->widget() : nullptr;
                    if (c == 0 && widget && !qobject_cast<QLabel*>(widget))
                        return false;
                    fields = fields || (c > 0 && qobject_cast<QLineEdit*>(widget));
                }
            }
            return fields;
        };
        int widest = 0;
        std::vector<QGridLayout*> named;
        for (QGridLayout* grid : grids) {
            if (!namesRows(grid))
                continue;
            named.push_back(grid);
            for (int r = 0; r < grid->rowCount(); ++r)
                if (QLayoutItem* item = grid->itemAtPosition(r, 0))
                    widest = std::max(widest, item->sizeHint().width());
        }
        for (QGridLayout* grid : named)
            grid->setColumnMinimumWidth(0, widest);
    }

    QWidget* body = Scroll->widget();
    body->adjustSize();
    QSize wanted = body->sizeHint() + QSize(2 * layout()->contentsMargins().left() + 4, footerHeight);
    // The caption is read whole in the title bar.
    QFont titleFont = font();
    titleFont.setBold(true);
    wanted.setWidth(std::max(wanted.width(),
                             QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + TitleBarRoom));
    setMinimumWidth(std::min(wanted.width(), most.width()));
    resize(wanted.boundedTo(most));
}

void CDialog::FocusFirstField()
{
    for (const DialogItem& item : Table.Items) {
        if (item.Kind != DlgItem::Edit)
            continue;
        auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(item.Id));
        if (edit && edit->isEnabled() && !edit->isReadOnly() && !edit->isHidden()) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return;
        }
    }
}

void CDialog::setVisible(bool visible)
{
    if (visible && !isVisible() && !Shown) {
        Shown = true;
        LayOut();
        FocusFirstField();
    }
    QDialog::setVisible(visible);
}

int CaptionFitWidth(const std::string& caption)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);  // many title bars draw their caption bold
    return QFontMetrics(font).horizontalAdvance(QString::fromStdString(caption)) + 160;
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
        const auto control = Controls.find(id);
        const bool choice = control != Controls.end() &&
                            (control->second.Kind == DlgItem::Radio || control->second.Kind == DlgItem::CheckBox);
        const auto sw = Switches.find(id);
        const bool switchesAll = sw != Switches.end() && !sw->second;
        if (!choice || switchesAll) {
            handler();
            return;
        }
        // A choice redisplays the members; what was typed over a member the
        // handler left as it was is put back, unless the switch clicked
        // shows that edit another value.
        struct Typed {
            std::string Text, Shown;
        };
        std::map<int, Typed> typed;
        for (const auto& [edit, shown] : ShownTexts)
            if (std::string text = GetDlgItemText(edit); text != shown)
                if (sw == Switches.end() || !sw->second(edit))
                    typed[edit] = {std::move(text), shown};
        handler();
        for (const auto& [edit, t] : typed)
            if (ShownTexts[edit] == t.Shown)
                SetDlgItemText(edit, t.Text);
    }
}

namespace {

constexpr const char* StepNoteProperty = "brevimarDialogStepNote";

}  // namespace

void SetDialogStepNote(QWidget& window, const std::string& note)
{
    window.setProperty(StepNoteProperty, note.empty() ? QVariant() : QVariant(QString::fromStdString(note)));
}

int CDialog::DoModal()
{
    Ended = false;
    Result = IDCANCEL;
    FocusId = IDC_STATIC;
    std::string caption = Table.Caption;
    if (const QWidget* parent = parentWidget()) {
        const QVariant note = parent->property(StepNoteProperty);
        if (note.isValid()) {
            caption += " " + note.toString().toStdString();
            setWindowTitle(QString::fromStdString(caption));
        }
    }
    OnInitDialog();
    // The values shown decide the fields' widths.
    LayOut();
    Shown = true;
    FocusFirstField();

    CModalHooks* hooks = ModalHooksOf(this);
    if (hooks)
        hooks->Inspect(*this);
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
        hooks->Record(ModalKind::Dialog, caption, {}, Result);
    Shown = false;
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
    if (!saveAndValidate)
        for (const auto& [id, control] : Controls)
            if (control.Kind == DlgItem::Edit)
                ShownTexts[id] = GetDlgItemText(id);
    return !dx.Failed();
}

void CDialog::OnButton(int id, std::function<void()> handler)
{
    Handlers[id] = std::move(handler);
}

void CDialog::OnSwitch(int id, std::function<void()> handler, std::function<bool(int edit)> shows)
{
    Switches[id] = std::move(shows);
    OnButton(id, std::move(handler));
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

std::optional<int> CDialog::GetDlgItemInt(int id) const
{
    return ParseInt(GetDlgItemText(id));
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
