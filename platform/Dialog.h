// The base of the modal parameter dialogs: a dialog built from a declarative
// template, whose controls exchange values with the dialog's own members
// through DoDataExchange, with range checks that keep the dialog open.
//
// Layout: items are laid out in template order, which is also the tab order.
// A Group with Columns > 0 is a grid: its items fill the cells row by row
// (NewRow ends a row early, an empty Label leaves a cell blank). Column starts
// a new column of groups beside the previous ones, and a column taller than
// the screen flows on into the next. Outside grids a label or check box
// followed by fields shares their row, and consecutive such rows line their
// fields up. Each field is as wide as the values it takes (its range and
// what it shows when the dialog opens); the dialog is at least as wide as its
// caption and opens with the first field's text selected. Only a body that
// still does not fit on the screen scrolls; OK and Cancel stay in view below
// it.
#pragma once

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Host.h"

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QScrollArea;

namespace brevimar {

// The id of controls that are never addressed (labels, group boxes).
inline constexpr int IDC_STATIC = -1;

enum class DlgItem {
    Label,     // static text
    Group,     // a titled box; the items after it sit inside, up to EndGroup or the next Group
    EndGroup,
    Edit,      // one-line text box
    CheckBox,  // ticks and unticks itself when clicked
    Radio,     // a run of consecutive radios is one exclusive group
    Button,    // push button; IDOK and IDCANCEL are the frame's own
    Column,    // the next groups go into a new column to the right
    NewRow,    // inside a grid group: the next item starts a new row
};

struct DialogItem {
    DialogItem(DlgItem kind, int id = IDC_STATIC, std::string text = {}, int columns = 0)
        : Kind(kind), Id(id), Text(std::move(text)), Columns(columns)
    {
    }

    DlgItem Kind;
    int Id;
    std::string Text;
    int Columns;  // a Group: cells per row of its grid; 0 lays it out as one column
};

struct DialogTemplate {
    unsigned Id = 0;
    std::string Caption;
    // Laid out top to bottom; consecutive radios and consecutive push buttons
    // share a row. "OK" and "Cancel" are added at the bottom unless listed.
    std::vector<DialogItem> Items;
};

class CDialog;

// The width a window needs for its whole caption to show in its title bar:
// the text in the title font, with room for the icon and the buttons.
int CaptionFitWidth(const std::string& caption);

// One pass of DoDataExchange. Saving (controls to members) stops at the
// first refused value: the later exchanges and checks of the pass do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : Dialog(dialog), SaveAndValidate(saveAndValidate) {}

    // Tells the user `message`, puts the focus back on the last control
    // exchanged, and refuses the pass.
    void Fail(const std::string& message);
    bool Failed() const { return Refused; }
    // Whether an exchange or check should still act.
    bool Active() const { return !Refused; }
    // Starts the exchange of control `id`, so that the checks after it see
    // this control alone; false once the pass is refused.
    bool Begin(int id)
    {
        if (!Active())
            return false;
        LastControl = id;
        LastUntouched = false;
        Restore = nullptr;
        return true;
    }
    // While loading: the last control exchanged shows a number of up to
    // `characters` characters.
    void NoteNumberWidth(int characters);

    CDialog& Dialog;
    const bool SaveAndValidate;
    int LastControl = IDC_STATIC;
    // The last edit exchanged still shows its member's own value: the range
    // check lets it pass.
    bool LastUntouched = false;
    // Puts back the member the last edit exchanged wrote, when its check
    // refuses the value.
    std::function<void()> Restore;

private:
    bool Refused = false;
};

// Members of type int, float and double shown in edit controls. Numbers are
// written and read in the C locale; a float is shown with 6 significant
// digits, a double with 15.
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, float& value);
void DDX_Text(CDataExchange& dx, int id, double& value);
// The index of the marked radio of the group whose first radio is `firstId`;
// -1 when none is marked (and, when loading, marks none).
void DDX_Radio(CDataExchange& dx, int firstId, int& index);
// Range checks of the value just exchanged; they act only when saving, and
// only on a value the user typed: a box that still shows its member's value
// is accepted as it is. A refused value is taken back out of the member.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
void DDV_MinMaxFloat(CDataExchange& dx, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange& dx, double value, double minValue, double maxValue);

// A note, such as "(2 of 4)", that the dialogs opened with `window` as their
// parent add to their caption while several run one after another; an empty
// note ends it.
void SetDialogStepNote(QWidget& window, const std::string& note);

class CDialog : public QDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and answers IDOK or IDCANCEL. Under the test hooks of
    // the dialog or its parent (platform/TestHooks.h) the dialog is not shown: the queued control values are applied (check
    // boxes and radios clicked first, then edit texts typed, then push
    // buttons pressed, each in id order) and OK or Cancel pressed. An OK that
    // a range check refuses leaves the dialog open for the next queued
    // answer; with none queued the dialog is cancelled.
    int DoModal();
    void EndDialog(int result);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Members to controls (false), or controls to members with range checks
    // (true); false when a value was refused.
    bool UpdateData(bool saveAndValidate = true);

    // Runs `handler` when the button with `id` is clicked (after a check box
    // or radio has changed its own mark). A click on a check box or radio
    // sets a choice: every edit keeps the text typed into it since the
    // exchange last showed its member, unless the handler shows that member
    // with another value. The click checks nothing itself; typing is checked
    // where it is read (a store, OK, a handler that reads the boxes).
    void OnButton(int id, std::function<void()> handler);
    // A radio that brings other values into edits (another squad, another
    // function): typing not stored in the edits `shows` names goes with the
    // values it was typed over, even where the new value reads the same;
    // every other edit keeps what was typed, as after any choice. Without
    // `shows`, the switch brings values into every edit.
    void OnSwitch(int id, std::function<void()> handler, std::function<bool(int edit)> shows = {});

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    // The box's whole text as an integer, read as the exchange reads it;
    // nothing when it is not one. A handler that goes on after a refused
    // exchange reads what was typed here, since the member keeps its value.
    std::optional<int> GetDlgItemInt(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void CheckDlgButton(int id, int check);
    // Marks `checkId` and clears every other radio or check box with an id
    // in firstId..lastId.
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int IsDlgButtonChecked(int id) const;
    void EnableDlgItem(int id, bool enable);
    void Invalidate(bool erase = true);

    int MessageBox(const std::string& text, const std::string& caption = {}, unsigned style = MB_OK);

    // The control that last took the focus by a refused value; IDC_STATIC
    // when none did since the dialog opened.
    int FocusedControl() const { return FocusId; }
    const DialogTemplate& Template() const { return Table; }

    // Sizes the fields from what they show and lays the groups out for the
    // screen; done when the dialog opens.
    void LayOut();
    void setVisible(bool visible) override;

protected:
    virtual void DoDataExchange(CDataExchange& dx) { (void)dx; }

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    friend class CDataExchange;
    friend void DDX_Radio(CDataExchange&, int, int&);

    void Build();
    void Clicked(int id);
    QAbstractButton* Button(int id) const;
    void ApplyAnswer(const std::map<int, std::string>& values);
    void SetFocusOn(int id);
    void FocusFirstField();
    void NoteFieldText(int id, int characters, bool number);

    struct Field {
        int Characters = 0;
        bool Number = false;
    };

    struct Control {
        DlgItem Kind;
        QWidget* Widget;
    };

    DialogTemplate Table;
    std::map<int, Control> Controls;
    std::map<int, QButtonGroup*> RadioGroups;  // first radio's id -> its group
    std::map<int, std::function<void()>> Handlers;
    // Radios that show other values, each with the edits it shows them in
    // (empty: all of them).
    std::map<int, std::function<bool(int)>> Switches;
    // What the last loading exchange left in each edit: text that differs
    // was typed since.
    std::map<int, std::string> ShownTexts;
    int Result = IDCANCEL;
    bool Ended = false;
    int FocusId = IDC_STATIC;
    std::map<int, Field> Fields;
    QScrollArea* Scroll = nullptr;
    QHBoxLayout* BodyColumns = nullptr;
    // The groups and loose items of each column the table starts.
    std::vector<std::vector<QWidget*>> Blocks;
    bool Shown = false;
};

}  // namespace brevimar
