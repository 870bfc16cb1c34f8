#pragma once

#include "people/PhotoTab.h"
#include "people/RecordNavigator.h"
#include "shell/ContentForm.h"
#include "platform/data/Connection.h"
#include "platform/data/DataEnums.h"
#include "platform/data/Variant.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

class AttendanceHistory;
class BoundBoxDelegate;
class ChoiceBox;
class PersonPicker;
class QCheckBox;
class QComboBox;
class QDataWidgetMapper;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class TabFrame;

namespace data {
class DataError;
class Recordset;
class RecordsetModel;
} // namespace data

// The directory: one person at a time, members or visitors (the main window's VisitorMode at
// load), on four tabs. The boxes and check boxes are bound to one updatable list of Youth rows
// through a RecordsetModel and a QDataWidgetMapper; the boxes hand their text to the row when
// the list moves or saves. Typing sets the edit flag, Add and Clone the adding flag; while
// either is set the navigation keys do nothing, and Save or Cancel clears both. Placeholder
// people ("New Profile") are deleted whenever a directory unloads. The photo tab and the
// attendance record are parts of their own (PhotoTab, AttendanceHistory) that the screen drives.
class frmDirectory : public ContentForm, private PhotoHost {
    Q_OBJECT
public:
    explicit frmDirectory(QWidget* parent = nullptr);
    ~frmDirectory() override;

    // State that the screen shows to tests and to the user through its controls.
    bool IsEditing() const { return m_editing; }
    bool IsAdding() const { return m_adding; }

    // Controls, named as the screen's layout names them. Boxes and check boxes are kept by
    // their field index (txtFields(11) is the first-name box).
    std::map<int, QWidget*> txtFields;
    std::map<int, QCheckBox*> chkFields;
    std::map<int, QLabel*> lblLabels;
    std::array<QRadioButton*, 3> optGender{}; // 1 "M", 2 "F"
    std::array<QFrame*, 3> TabPanel{};
    TabFrame* SSTabCtl = nullptr;
    QFrame* NavPanel = nullptr;
    QFrame* FollowUpPanel = nullptr;
    QGroupBox* Frame1 = nullptr;
    PersonPicker* NavCombo = nullptr;
    QComboBox* Select_Show = nullptr;
    QComboBox* Select_Status = nullptr;
    ChoiceBox* Select_Team = nullptr;
    ChoiceBox* Select_IMService = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdCancel = nullptr;
    QToolButton* cmdAdd = nullptr;
    QToolButton* cmdClone = nullptr;
    QToolButton* cmdDelete = nullptr;
    QToolButton* cmdFirst = nullptr;
    QToolButton* cmdPrevious = nullptr;
    QToolButton* cmdNext = nullptr;
    QToolButton* cmdLast = nullptr;
    QLabel* NumRecords = nullptr;
    QLabel* lblAge = nullptr;
    QPushButton* cmdPrintProfile = nullptr;
    QPushButton* cmdEmail = nullptr;
    QListWidget* Attendance_Record = nullptr;
    QLabel* MugShot = nullptr;
    QPushButton* cmdNewPhoto = nullptr;
    QPushButton* cmdDelPhoto = nullptr;
    QLabel* PhotoLabel = nullptr;

    bool ReadyToLeave() override;

    // The layout Print Profile shows.
    static const QString kProfileLayout;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building and placing the controls (frmDirectoryControls.cpp)
    void buildControls();
    void buildNavPanel();
    void buildTabs();
    void buildContactPanel(QFrame* panel);
    void buildPersonalPanel(QFrame* panel);
    void buildTrackingPanel(QFrame* panel);
    void buildPhotoControls();
    void buildStampLine();
    void connectHandlers();
    QWidget* addBox(QWidget* panel, int index, double left, double top, double width, int limit);
    QCheckBox* addCheck(QWidget* panel, int index, const char* caption, double left, double top,
                        double width);
    QLabel* addCaption(QWidget* panel, int index, const char* caption, double left, double top,
                       double width);
    void applyColours();
    void bindFields();

    // Records, editing and saving (the checks, Add, Save, Cancel and Remove are in
    // frmDirectoryEditing.cpp)
    void openList();
    void adoPrimaryRS_MoveComplete();
    void AddRecord(bool clone);
    bool cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void chkFields_Click();
    void SSTabCtl_Click();
    void cmdPrintProfile_Click();
    void cmdEmail_Click();
    // Saves the person shown before a photo is added or the profile printed, with the checks
    // of Save; the edit and adding flags stay as they are. False, after telling the user, when
    // the person could not be saved.
    bool saveKeepingFlags();
    // PhotoHost
    data::Recordset* PhotoRow() override;
    bool SaveForPhoto() override;
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Form_Resize();

    // The first name under which a person added but not yet named is kept (and listed).
    static const QString kPlaceholderName;

    bool isOpen() const;
    bool hasCurrentRow() const;
    // Text a box holds that Save would refuse: a box with a check of its own (birth date,
    // e-mail, grade) whose new text fails it, or text its field cannot take. Boxes whose text is
    // taken hand it to the row.
    struct Refusal {
        int index;      // the box
        QString reason; // what is wrong, as the user is told
        bool entryCheck;
    };
    std::optional<Refusal> refusal();
    bool boxChanged(int index) const;
    // Tells why, as Save does, and puts the user in the box.
    void tell(const Refusal& r);
    void showRefusedBox(const Refusal& r);
    // Before the person shown is left (a move, another screen): the checks of Save. When one
    // fails, the user chooses to stay and correct it (false) or to go on without saving the
    // person's changes, which are discarded (true).
    bool settleBeforeLeaving();
    // Writes the row (stamped with the time), and takes a new person to the end of the list.
    // Throws data::DataError.
    void storePerson();
    // Hands the boxes' text to the row and writes the row when it has changes. Throws
    // data::DataError, after showing the change time the file holds.
    void writeRow();
    // After a save that failed: the change time shown is the one the file holds, not one that
    // was never stored.
    void showStoredChangeTime();
    // Tells why the person shown could not be saved. A person another user removed can never
    // be saved: the user may drop the changes (true, after Cancel) or keep them on screen.
    bool tellNotSaved(const data::DataError& e);
    // Runs a move of the list after the boxes have handed over their text; a failure (such as
    // the implicit save of a changed row) is shown and leaves the screen where it was.
    template <class Move> bool tryMove(Move&& move);
    void showNoPerson();
    void setFormEnabled(bool enabled);
    void updateCounter();
    data::Variant fieldValue(const char* field) const;
    QString fieldText(const char* field) const;
    QString currentIdText() const;
    QString boxText(int index) const;
    void setBoxText(int index, const QString& text);
    int boxIndexOf(const QObject* widget) const;
    QString boxCaption(const QWidget* box) const;

    // Person picker
    void LoadNavCombo(int selectIndex);
    void AddNavComboItem(const QString& firstName, const QString& lastName,
                         const data::Variant& id);
    bool GotoYouthID(const QString& id);
    void SyncNavCombo();
    void NavCombo_Click();
    void NavCombo_Enter();
    void EchoName();
    void rekeyAddedEntry();
    void restoreEntryText(const QString& key);

    // Show filter, choice lists and gender
    void LoadShowList();
    void Select_Show_Click();
    void ApplyShowFilter(int code);
    void LoadStatusList();
    void LoadIMServiceList();
    void LoadTeamList();
    void Select_Status_Click();
    void choiceClicked(ChoiceBox* box, const char* field, QString& current);
    void choiceKeyReleased(ChoiceBox* box);
    bool choiceLeft(ChoiceBox* box, const char* field, QString& current);
    bool commitChoiceBoxes();
    void Select_Team_DropDown();
    void optGender_Click(int index);
    void optGender_KeyUp(int index, int key);
    void ShowGender();
    void showStatus();

    // Field entry
    void txtFields_GotFocus(int index);
    void txtFields_KeyUp(int index);
    QString entryRefusal(int index) const;
    bool validateBox(int index);
    bool checksWhenLeftFor(const QWidget* to, Qt::FocusReason reason) const;
    void txtFields_LostFocus(int index, bool checked);
    void afterLeavingBox(int index);

    // The bound list and its binding.
    data::Connection m_connection;
    std::unique_ptr<data::Recordset> adoPrimaryRS;
    data::RecordsetModel* m_model = nullptr;
    QDataWidgetMapper* m_mapper = nullptr;
    BoundBoxDelegate* m_delegate = nullptr;
    RecordNavigator m_navigator;
    PhotoTab* m_photoTab = nullptr;
    std::unique_ptr<AttendanceHistory> m_history;

    bool m_visitorMode = false;
    bool m_editing = false;
    bool m_adding = false;
    std::optional<data::Variant> m_remembered; // bookmark to return to on Cancel
    QString m_defaultState;
    std::int16_t m_currentGender = 0;
    std::int16_t m_currentStatus = 0;
    QString m_currentTeam;
    QString m_currentIMService;
    bool m_teamHelpShown = false;
    int m_showCode = 0;
    bool m_loadFailed = false;
    bool m_unloading = false;
    bool m_savingAdd = false;
    bool m_validating = false;
    double m_listHeight = 0; // twips; the attendance list only shrinks

    // Keys the screen acted on (their releases are not typing), and where each key still held
    // down was pressed.
    QSet<int> m_consumedKeys;
    QHash<int, const QObject*> m_pressedIn;
};
