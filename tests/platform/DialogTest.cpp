#include <gtest/gtest.h>

#include <QAbstractButton>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"

namespace brevimar {
namespace {

enum : int {
    IDC_COUNT = 1001,
    IDC_RANGE = 1002,
    IDC_RATE = 1003,
    IDC_SQUAD1 = 1010,
    IDC_SQUAD2,
    IDC_SQUAD3,
    IDC_ON = 1020,
    IDC_OFF,
    IDC_TRACE = 1030,
    IDC_STORE = 1040,
};

const DialogTemplate& TestTemplate()
{
    static const DialogTemplate table{
        900,
        "Edit::Test Parameters",
        {
            {DlgItem::Group, IDC_STATIC, "SQUAD"},
            {DlgItem::Radio, IDC_SQUAD1, "1"},
            {DlgItem::Radio, IDC_SQUAD2, "2"},
            {DlgItem::Radio, IDC_SQUAD3, "3"},
            {DlgItem::EndGroup},
            {DlgItem::Label, IDC_STATIC, "Count"},
            {DlgItem::Edit, IDC_COUNT},
            {DlgItem::Label, IDC_STATIC, "Range"},
            {DlgItem::Edit, IDC_RANGE},
            {DlgItem::Label, IDC_STATIC, "Rate"},
            {DlgItem::Edit, IDC_RATE},
            {DlgItem::Radio, IDC_ON, "On"},
            {DlgItem::Radio, IDC_OFF, "Off"},
            {DlgItem::CheckBox, IDC_TRACE, "Trace"},
            {DlgItem::Button, IDC_STORE, "Store Current Squad Data"},
        },
    };
    return table;
}

// A small parameter dialog: an int, a float and a double with their range
// checks, a squad radio group, an On/Off pair, a check box and a store button.
class TestDlg : public CDialog {
public:
    explicit TestDlg(QWidget* parent) : CDialog(TestTemplate(), parent)
    {
        OnButton(IDC_TRACE, [this] { Trace = Trace == 1 ? 0 : 1; });
        OnButton(IDC_STORE, [this] {
            if (UpdateData(true))
                Stored = Count;
        });
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CheckDlgButton(IDC_TRACE, Trace);
        return true;
    }

    int Count = 5;
    float Range = 2.5f;
    double Rate = 0.1;
    int Squad = 0;
    int OnOff = 1;
    int Trace = 0;
    int Stored = -1;

protected:
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Radio(dx, IDC_SQUAD1, Squad);
        DDX_Text(dx, IDC_COUNT, Count);
        DDV_MinMaxInt(dx, Count, 1, 499);
        DDX_Text(dx, IDC_RANGE, Range);
        DDV_MinMaxFloat(dx, Range, 0.0f, 999.5f);
        DDX_Text(dx, IDC_RATE, Rate);
        DDV_MinMaxDouble(dx, Rate, 0.0, 1.0);
        DDX_Radio(dx, IDC_ON, OnOff);
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetModalHooks(Owner, &Hooks); }

    CModalHooks Hooks;
    QWidget Owner;  // the window the test's windows are opened from

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const ModalRecord& r : Hooks.Log())
            if (r.Kind == ModalKind::MessageBox)
                texts.push_back(r.Text);
        return texts;
    }
};

TEST_F(DialogTest, ExchangesIntFloatAndDoubleInTheCLocale)
{
    TestDlg dlg(&Owner);
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Edit::Test Parameters");
    dlg.Range = 1.23456789f;
    dlg.Rate = 1.0 / 3.0;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COUNT), "5");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RANGE), "1.23457");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RATE), "0.333333333333333");
    dlg.Range = 0.1f;  // the float's own digits, not the double it widens to
    dlg.Rate = 0.25;
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RANGE), "0.1");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RATE), "0.25");
    // A double member holding a scenario float shows the float's digits:
    // 0.45f widens to 0.449999988079071.
    dlg.Rate = 0.45f;
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RATE), "0.45");

    dlg.SetDlgItemText(IDC_COUNT, " +42 ");
    dlg.SetDlgItemText(IDC_RANGE, "7.9");
    dlg.SetDlgItemText(IDC_RATE, "1e-3");
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Count, 42);
    EXPECT_EQ(dlg.Range, 7.9f);
    EXPECT_EQ(dlg.Rate, 0.001);
    EXPECT_TRUE(Messages().empty());

    // Text that is not wholly a number of the member's kind is refused.
    for (const char* bad : {"7.9", "12abc", "", "3000000000"}) {
        dlg.SetDlgItemText(IDC_COUNT, bad);
        EXPECT_FALSE(dlg.UpdateData(true)) << bad;
    }
    dlg.SetDlgItemText(IDC_COUNT, "8");
    dlg.SetDlgItemText(IDC_RANGE, "1,5");
    EXPECT_FALSE(dlg.UpdateData(true));
    dlg.SetDlgItemText(IDC_RANGE, "1e39");  // beyond a float
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Range, 7.9f);
    const auto texts = Messages();
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Please enter an integer.");
    EXPECT_EQ(texts[5], "Please enter a number.");
}

TEST_F(DialogTest, RefusedValueKeepsTheDialogOpenWithTheFocusOnIt)
{
    TestDlg dlg(&Owner);
    // Count out of range: the message names the range, the later members are
    // not read, and OK does not end the dialog; the next answer does.
    Hooks.AnswerDialog(IDOK, {{IDC_COUNT, "500"}, {IDC_RANGE, "9"}});
    Hooks.AnswerDialog(IDOK, {{IDC_COUNT, "499"}, {IDC_RANGE, "999.6"}});
    Hooks.AnswerDialog(IDOK, {{IDC_RANGE, "999.5"}, {IDC_RATE, "1.5"}});
    Hooks.AnswerDialog(IDOK, {{IDC_RATE, "0"}});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(Hooks.Pending(ModalKind::Dialog), 0u);
    const auto texts = Messages();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Please enter an integer between 1 and 499.");
    EXPECT_EQ(texts[1], "Please enter a number between 0 and 999.5.");
    EXPECT_EQ(texts[2], "Please enter a number between 0 and 1.");
    EXPECT_EQ(dlg.FocusedControl(), IDC_RATE);
    EXPECT_EQ(dlg.Count, 499);
    EXPECT_EQ(dlg.Range, 999.5f);
    EXPECT_EQ(dlg.Rate, 0.0);
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::Dialog);
    EXPECT_EQ(Hooks.Log().back().Title, "Edit::Test Parameters");
    EXPECT_EQ(Hooks.Log().back().Result, IDOK);

    // Refused with nothing more queued: the dialog is given up as cancelled.
    TestDlg second(&Owner);
    Hooks.AnswerDialog(IDOK, {{IDC_COUNT, "0"}});
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(second.FocusedControl(), IDC_COUNT);
}

// A refused value is taken back out of its member; a box that still shows
// its member's value keeps the member to the last bit, out of range or not.
TEST_F(DialogTest, RefusedValueLeavesItsMemberAndShownValuesKeepEveryDigit)
{
    TestDlg dlg(&Owner);
    dlg.Count = 600;  // above 499, as a file may hold it
    dlg.Range = 1.23456789f;  // shown as 1.23457
    dlg.Rate = 1.0 / 3.0;     // shown with 15 digits
    ASSERT_TRUE(dlg.UpdateData(false));
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Count, 600);
    EXPECT_EQ(dlg.Range, 1.23456789f);
    EXPECT_EQ(dlg.Rate, 1.0 / 3.0);

    dlg.SetDlgItemText(IDC_COUNT, "500");
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Count, 600);
    dlg.SetDlgItemText(IDC_COUNT, "600");  // typed back: the member's own value
    dlg.SetDlgItemText(IDC_RANGE, "1000");
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Count, 600);
    EXPECT_EQ(dlg.Range, 1.23456789f);
    ASSERT_EQ(Messages().size(), 2u);
}

TEST_F(DialogTest, CancelHandsNothingBack)
{
    TestDlg dlg(&Owner);
    Hooks.AnswerDialog(IDCANCEL, {{IDC_COUNT, "77"}, {IDC_RATE, "0.5"}, {IDC_OFF, "1"}});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.Count, 5);
    EXPECT_EQ(dlg.Rate, 0.1);
    EXPECT_EQ(dlg.OnOff, 1);
    // Nothing queued: Cancel, and the controls show the members again.
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COUNT), "5");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DialogTest, RadiosCheckBoxesAndButtonHandlers)
{
    TestDlg dlg(&Owner);
    dlg.Squad = 2;
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD3), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD1) + dlg.IsDlgButtonChecked(IDC_SQUAD2), 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_OFF), 1);  // index 1 of the On/Off pair
    // Index -1 marks no radio, and reads back as -1.
    dlg.OnOff = -1;
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_ON) + dlg.IsDlgButtonChecked(IDC_OFF), 0);
    dlg.OnOff = 5;
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.OnOff, -1);

    // The two groups are separate: marking one leaves the other alone.
    dlg.CheckRadioButton(IDC_ON, IDC_OFF, IDC_ON);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_ON), 1);
    dlg.CheckRadioButton(IDC_ON, IDC_OFF, IDC_OFF);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_ON), 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD3), 1);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.OnOff, 1);
    EXPECT_EQ(dlg.Squad, 2);

    dlg.CheckDlgButton(IDC_TRACE, 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_TRACE), 1);
    dlg.CheckDlgButton(IDC_TRACE, 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_TRACE), 0);

    // A queued answer clicks marks first, types, then presses the store
    // button, whose handler reads what was typed; a tick runs its toggle.
    Hooks.AnswerDialog(IDOK, {{IDC_COUNT, "12"}, {IDC_SQUAD1, "1"}, {IDC_TRACE, "1"}, {IDC_STORE, ""}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Stored, 12);
    EXPECT_EQ(dlg.Trace, 1);
    EXPECT_EQ(dlg.Squad, 0);
    // Unticking the box runs the toggle back.
    Hooks.AnswerDialog(IDOK, {{IDC_TRACE, "0"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Trace, 0);
}

// A choice clicked keeps what was typed, even text its range check refuses
// (checked at OK, not by the click), except where the handler shows the
// member with another value; a radio that switches what the edits show
// takes the typing with it, even over an equal value.
TEST_F(DialogTest, ChoiceClickKeepsTypingThatASwitchDiscards)
{
    TestDlg dlg(&Owner);
    SetModalHooks(dlg, &Hooks);
    dlg.OnButton(IDC_OFF, [&dlg] {
        dlg.OnOff = 1;
        dlg.Rate = 0.5;  // a choice that sets a shown value too
        dlg.OnInitDialog();
    });
    dlg.OnSwitch(IDC_SQUAD2, [&dlg] {
        dlg.Squad = 1;
        dlg.Range = 7.0f;  // squad 2's range; its count is squad 1's
        dlg.OnInitDialog();
    });
    dlg.OnOff = 0;
    dlg.OnInitDialog();
    const auto click = [&dlg](int id) { qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id))->click(); };
    const auto type = [&dlg] {
        dlg.SetDlgItemText(IDC_COUNT, "12");
        dlg.SetDlgItemText(IDC_RANGE, "abc");
        dlg.SetDlgItemText(IDC_RATE, "0.7");
    };
    type();
    click(IDC_SQUAD2);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COUNT), "5");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RANGE), "7");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RATE), "0.1");

    type();
    click(IDC_OFF);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COUNT), "12");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RANGE), "abc");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_RATE), "0.5");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_OFF), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.Count, 12);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Please enter a number."});
}

}  // namespace
}  // namespace brevimar
