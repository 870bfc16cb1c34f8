#pragma once

#include "people/RecordNavigator.h"
#include "shell/ContentForm.h"
#include "platform/data/DataEnums.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MeetingFieldDelegate;
struct KeptAttendanceList;
class QComboBox;
class QDataWidgetMapper;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace data {
class Connection;
class Recordset;
class RecordsetModel;
} // namespace data

// The meetings screen: one meeting at a time in bound boxes, browsed in date order, with its
// attendance list beside it. The list is ticked by hand, added to from a drop-down of everyone
// or by scanning a person's barcode, and written to the data file with Save List.
class frmServices : public ContentForm {
    Q_OBJECT
public:
    explicit frmServices(QWidget* parent = nullptr);
    ~frmServices() override;

    // The name of the roll sheet layout that "Print Meeting Summary" prints; the command is
    // available while a layout of that name is registered.
    static const QString kRollSheetLayout;

    bool ReadyToLeave() override;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void bindFields();
    void Form_Resize();

    // The meeting
    bool IsOldMeeting();
    void FillMeetingTypes();
    // Before another meeting is shown or the screen is left. A box holding text that would be
    // refused asks: go on with the stored value put back, or stay and correct it. A changed list
    // asks to be saved; when saving fails, the list stays as it was and so does the meeting.
    bool settleBoxes();
    bool settleList();
    bool settleBeforeMoving();
    // A move that failed: when it was the save of the meeting's changes, says why; a meeting
    // another user removed can never be saved, so the user may drop the changes and move on.
    void moveFailed(const std::exception& e, const std::function<void()>& move);
    void adoPrimaryRS_WillMove();
    void adoPrimaryRS_MoveComplete();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void Select_Type_Click();
    void Select_Type_KeyUp();
    void Select_Type_LostFocus();
    void txtFields_Change();
    void addMeetingRow(double dayNumber);
    void showNoMeeting();
    bool hasMeeting() const;
    void updateCommands();

    // The attendance list
    void LoadAttendanceList();
    void FillPeopleList(bool sortByFirst);
    void ShowAttendeeCount();
    void AddAttendee(std::int32_t id, const QString& name, bool showDuplicate);
    bool ConfirmOldListChange();
    void cmdSet_Click();
    bool SaveList();
    void AttendedList_ItemCheck(QListWidgetItem* item);
    void cmdNewAttendee_Click();
    void cmdResort_Click();
    void cmdPrintWeekRoll_Click();
    // The unsaved list the user chose to keep when printing, handed to the screen made when
    // the preview closes, which shows it again on its meeting (false when that meeting is gone).
    void keepUnsavedList();
    bool showKeptList(const KeptAttendanceList& kept);
    void bc_Entry_GotFocus();
    void bc_Entry_LostFocus();
    bool bc_Entry_KeyPress(QKeyEvent* event);
    void bc_Entry_Enter();
    void addListEntry(std::int32_t id, const QString& text, bool ticked);
    void setSaveListShown(bool shown);
    // The meeting's id for its attendance: Wk_ID, or for a row without one the only meeting
    // stored on its date; nullopt when there is none or the date is shared.
    std::optional<std::int32_t> attendanceMeetingId();
    std::optional<double> meetingDay();

public:
    // Controls, named as the screen's layout names them.
    std::vector<QWidget*> txtFields; // Wk_Date, Wk_Topic, Wk_Scripture, Wk_Offering,
                                     // Wk_Attendance, Wk_Comments
    QComboBox* Select_Type = nullptr;
    QFrame* NavPanel = nullptr;
    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdLast = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QFrame* MainPanel = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* AttendedList = nullptr;
    QLabel* lblItemCount = nullptr;
    QPushButton* cmdSet = nullptr;
    QComboBox* Select_Youth = nullptr;
    QPushButton* cmdNewAttendee = nullptr;
    QPushButton* cmdResort = nullptr;
    QLineEdit* bc_Entry = nullptr;
    QLabel* bc_ReadyImage = nullptr;
    QPushButton* cmdPrintWeekRoll = nullptr;
    QLabel* lblInstructions = nullptr;

private:
    std::unique_ptr<data::Connection> m_connection;
    std::unique_ptr<data::Recordset> adoPrimaryRS;
    data::RecordsetModel* m_model = nullptr;
    QDataWidgetMapper* m_mapper = nullptr;
    MeetingFieldDelegate* m_delegate = nullptr;
    RecordNavigator m_navigator;

    bool FillWithActive = false;
    bool RecordChanged = false;
    bool ListChanged = false;
    bool SuppressLoad = false;
    bool Loading = false;
    bool OldListConfirmed = false;
    bool SortByFirst = false;
    QString MeetingType;
    // The roll sheet may be printed (false from Add Meeting to the next Save List or move).
    bool m_printAllowed = true;
    // A report preview covers the screen while its list holds ticks the user chose not to save
    // before printing: they are not asked about again when the screen goes with the preview.
    bool m_listKeptBehindPreview = false;
    // The attendance of the meeting as it was stored when the list was read (ids in order),
    // which Save List finds unchanged unless another user saved the list meanwhile.
    std::vector<std::int32_t> m_storedAttendance;
};
