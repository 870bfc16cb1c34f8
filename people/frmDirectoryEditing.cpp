// Saving, checking and leaving a person: Add, Clone, Save, Cancel and Remove, the checks a
// box makes when it is left, and what becomes of a changed person before it is left. The rest
// of the directory's logic is in frmDirectory.cpp.
#include "people/frmDirectory.h"

#include "people/Beep.h"
#include "people/BoundBoxDelegate.h"
#include "people/DirectoryLists.h"
#include "people/PersonPicker.h"
#include "people/SendEmail.h"
#include "people/TabFrame.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/TryStep.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/data/RecordsetModel.h"
#include "platform/ui/Services.h"

#include <QCheckBox>
#include <QDataWidgetMapper>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

const QString kDeleteQuestion = QStringLiteral(
    "Are you sure you want to delete this person from the directory?  You might consider "
    "marking them as 'Inactive' so that you keep their information on file.  To delete the "
    "record, click Yes.  To cancel, click No.");
const QString kInvalidValueTitle = QStringLiteral("Invalid Value");
const QString kLeaveWithoutSaving = QStringLiteral(
    "Click Yes to go on without saving the changes to this person, or No to stay and correct "
    "them.");
const QString kPersonNotSaved = QStringLiteral(
    "The changes to this person could not be saved. What you typed is still on the screen.");
const QString kDropOrKeep = QStringLiteral(
    "Click Yes to go on without saving the changes to this person, or No to keep them on the "
    "screen.");

// What the user is told when a person could not be saved: that, and the data layer's reason.
QString notSavedText(const data::DataError& e)
{
    return kPersonNotSaved + QStringLiteral("\n\n") + e.description();
}

// The boxes with a check of their own when they are left: birth date, e-mail, grade.
constexpr int kCheckedBoxes[] = {3, 8, 24};

} // namespace

// Checks before a person is saved or left ------------------------------------------------------

bool frmDirectory::boxChanged(int index) const
{
    QWidget* box = txtFields.at(index);
    const int column = m_mapper->mappedSection(box);
    if (column < 0)
        return false;
    return boxText(index) !=
           BoundBoxDelegate::shownText(box, m_model->index(m_model->currentRow(), column));
}

std::optional<frmDirectory::Refusal> frmDirectory::refusal()
{
    if (!m_mapper || !hasCurrentRow())
        return std::nullopt;
    // The checks made when a box is left, for the boxes that hold new text.
    for (int index : kCheckedBoxes) {
        if (!boxChanged(index))
            continue;
        const QString reason = entryRefusal(index);
        if (!reason.isEmpty())
            return Refusal{index, reason, true};
    }
    // Text a field cannot take; the rest goes into the row.
    m_delegate->clearFailures();
    m_mapper->submit();
    if (m_delegate->failures().empty())
        return std::nullopt;
    const BoundBoxDelegate::Failure failure = m_delegate->failures().front();
    m_delegate->clearFailures();
    return Refusal{boxIndexOf(failure.editor),
                   QStringLiteral("\"%1\" is not a valid value for %2.")
                       .arg(failure.text, boxCaption(failure.editor)),
                   false};
}

void frmDirectory::showRefusedBox(const Refusal& r)
{
    QWidget* box = txtFields.at(r.index);
    for (int tab = 0; tab < 3; ++tab) {
        if (TabPanel[static_cast<std::size_t>(tab)]->isAncestorOf(box))
            SSTabCtl->setCurrentIndex(tab);
    }
    if (box->isVisible())
        box->setFocus();
}

void frmDirectory::tell(const Refusal& r)
{
    if (r.entryCheck) {
        m_validating = true;
        validateBox(r.index);
        m_validating = false;
    } else {
        ui::critical(r.reason + QStringLiteral(" Please correct it before the person is saved."));
    }
    showRefusedBox(r);
}

bool frmDirectory::settleBeforeLeaving()
{
    commitChoiceBoxes();
    const auto refused = refusal();
    if (!refused)
        return true;
    m_validating = true;
    const bool leave = ui::askCriticalYesNo(
        refused->reason + QStringLiteral("\n\n") + kLeaveWithoutSaving, kInvalidValueTitle);
    m_validating = false;
    if (!leave) {
        showRefusedBox(*refused);
        return false;
    }
    cmdCancel_Click();
    return true;
}

bool frmDirectory::ReadyToLeave()
{
    if (m_loadFailed || !isOpen() || !hasCurrentRow())
        return true;
    if (!settleBeforeLeaving())
        return false;
    if (adoPrimaryRS->EditMode() == data::adEditNone)
        return true;
    // Saved here rather than as the screen goes, so that a failure can still keep the user.
    try {
        storePerson();
        return true;
    } catch (const data::DataError& e) {
        if (ui::askCriticalYesNo(notSavedText(e) + QStringLiteral("\n\n") + kLeaveWithoutSaving)) {
            cmdCancel_Click();
            return true;
        }
        return false;
    }
}

// Add, Clone, Save, Cancel, Remove ---------------------------------------------------------------

void frmDirectory::AddRecord(bool clone)
{
    if (!isOpen() || !cmdUpdate_Click())
        return;
    try {
        QStringList kept;
        if (clone && hasCurrentRow()) {
            for (const char* field : {"Youth_LName", "Youth_Address1", "Youth_City", "Youth_State",
                                      "Youth_Zip", "Youth_HomePhone", "Youth_ParentName"})
                kept << fieldText(field);
        }
        if (hasCurrentRow())
            m_remembered = adoPrimaryRS->Bookmark();
        else
            m_remembered.reset();
        adoPrimaryRS->Move(0);
        adoPrimaryRS->AddNew();
        (*adoPrimaryRS)["Youth_FName"] = kPlaceholderName;
        (*adoPrimaryRS)["Youth_Visitor"] = m_visitorMode;
        if (!kept.isEmpty()) {
            const int boxes[] = {18, 0, 4, 27, 34, 13, 22};
            for (int i = 0; i < kept.size(); ++i)
                setBoxText(boxes[i], kept[i]);
        }
        chkFields[32]->setChecked(m_visitorMode);
        // The first tab and the first-name box before the adding flag, so that leaving a box
        // on another tab does not hop to the tab after it.
        SSTabCtl->setCurrentIndex(0);
        auto* first = static_cast<QLineEdit*>(txtFields[11]);
        first->setFocus();
        first->selectAll();
        m_adding = true;
        AddNavComboItem(kPlaceholderName, QString(), data::Variant::null());
        NavCombo->selectEntry(NavCombo->count() - 1);
        if (!clone)
            setBoxText(27, m_defaultState);
    } catch (const data::DataError& e) {
        ui::critical(e.description());
    }
}

bool frmDirectory::cmdUpdate_Click()
{
    if (!isOpen())
        return false;
    if (!hasCurrentRow()) {
        m_editing = false;
        m_adding = false;
        return true;
    }
    commitChoiceBoxes();
    if (const auto refused = refusal()) {
        tell(*refused);
        return false;
    }
    try {
        storePerson();
    } catch (const data::DataError& e) {
        // Nothing is lost: the flags and the changed row stay for another try or Cancel.
        tellNotSaved(e);
        return false;
    }
    return true;
}

bool frmDirectory::tellNotSaved(const data::DataError& e)
{
    if (!e.removedByAnotherUser()) {
        ui::critical(notSavedText(e));
        return false;
    }
    if (!ui::askCriticalYesNo(notSavedText(e) + QStringLiteral("\n\n") + kDropOrKeep))
        return false;
    cmdCancel_Click();
    return true;
}

void frmDirectory::storePerson()
{
    (*adoPrimaryRS)["Youth_Updated"] = data::Variant::dateTime(ui::now());
    writeRow();
    if (m_adding)
        adoPrimaryRS->MoveLast();
    m_editing = false;
    m_adding = false;
}

void frmDirectory::writeRow()
{
    try {
        adoPrimaryRS->Move(0);
        if (adoPrimaryRS->EditMode() != data::adEditNone)
            adoPrimaryRS->Update();
    } catch (const data::DataError&) {
        if (adoPrimaryRS->EditMode() != data::adEditNone)
            showStoredChangeTime();
        throw;
    }
}

void frmDirectory::showStoredChangeTime()
{
    TryStep("Showing the stored change time", [this] {
        data::Field updated = adoPrimaryRS->Fields(QStringLiteral("Youth_Updated"));
        updated = updated.OriginalValue();
    });
}

void frmDirectory::cmdCancel_Click()
{
    if (!isOpen())
        return;
    const bool wasAdding = adoPrimaryRS->EditMode() == data::adEditAdd;
    const QString key = QLatin1Char('Y') + currentIdText();
    m_editing = false;
    m_adding = false;
    TryStep("Discarding the changes", [this] { adoPrimaryRS->CancelUpdate(); });
    if (m_mapper && hasCurrentRow())
        m_mapper->revert();
    if (wasAdding)
        NavCombo->entries().remove(QStringLiteral("Y"));
    else
        restoreEntryText(key);
    bool back = false;
    if (m_remembered && m_remembered->number() > 0)
        back = TryStep("Returning to the remembered person",
                       [this] { adoPrimaryRS->setBookmark(*m_remembered); });
    if (!back)
        TryStep("Returning to the first person", [this] { adoPrimaryRS->MoveFirst(); });
    SyncNavCombo();
}

void frmDirectory::cmdDelete_Click()
{
    if (!hasCurrentRow())
        return;
    if (!ui::askYesNo(kDeleteQuestion, QStringLiteral("Delete This Person?"))) {
        txtFields[11]->setFocus();
        return;
    }
    // Text a check refuses is not stored with the removal: the boxes show the row again.
    commitChoiceBoxes();
    if (refusal())
        m_mapper->revert();
    try {
        const bool wasAdding = adoPrimaryRS->EditMode() == data::adEditAdd;
        const int position = adoPrimaryRS->AbsolutePosition();
        (*adoPrimaryRS)["Youth_Deleted"] = true;
        adoPrimaryRS->Update();
        NavCombo->entries().remove(QLatin1Char('Y') + currentIdText());
        m_editing = false;
        m_adding = false;
        // Setting the filter again takes the removed person out of the list; the person who
        // followed is shown, or the new last one, or an empty screen when nobody is left.
        QString filter = adoPrimaryRS->Filter();
        if (filter.isEmpty())
            filter = ShowFilterText(static_cast<int>(DirectoryShowFilter::All));
        adoPrimaryRS->setFilter(filter);
        const int count = adoPrimaryRS->RecordCount();
        if (count > 0) {
            if (!wasAdding && position > 0)
                adoPrimaryRS->setAbsolutePosition(std::min(position, count));
            else if (m_remembered)
                TryStep("Returning to the remembered person",
                        [this] { adoPrimaryRS->setBookmark(*m_remembered); });
        }
        SyncNavCombo();
        SSTabCtl->setCurrentIndex(0);
    } catch (const data::DataError& e) {
        ui::critical(e.description());
    }
}

bool frmDirectory::saveKeepingFlags()
{
    if (!hasCurrentRow())
        return false;
    commitChoiceBoxes();
    if (const auto refused = refusal()) {
        tell(*refused);
        return false;
    }
    try {
        writeRow();
        if (m_adding)
            adoPrimaryRS->MoveLast();
    } catch (const data::DataError& e) {
        ui::critical(notSavedText(e));
        return false;
    }
    return true;
}

// Checking a box when it is left -----------------------------------------------------------------

// Why the text of a box with a check is refused when the box is left; empty when it is taken.
QString frmDirectory::entryRefusal(int index) const
{
    const QString text = boxText(index);
    if (text.isEmpty())
        return QString();
    if (index == 3 && !convert::toDate(data::Variant(text)))
        return QStringLiteral("Birthdate must be entered as in date format (MM/DD/YYYY).");
    if (index == 8 && !IsValidEmail(text))
        return text +
               QStringLiteral(" is not a valid e-mail address.  Please enter a full address in the "
                              "form '") +
               kExampleEmailAddress +
               QStringLiteral("', otherwise you will not be able to e-mail this person.");
    if (index == 24 && !data::text::parseNumber(text))
        return QStringLiteral(
            "Grade must be entered as a numerical value from 1 to 16 (or left blank).");
    return QString();
}

// The checks made when a box is left; false after a message when the text is refused.
bool frmDirectory::validateBox(int index)
{
    const QString reason = entryRefusal(index);
    if (reason.isEmpty())
        return true;
    if (index == 8)
        people::Beep();
    ui::critical(reason, kInvalidValueTitle);
    if (index == 24)
        setBoxText(24, QString());
    return false;
}

void frmDirectory::txtFields_LostFocus(int index, bool checked)
{
    if (m_validating || m_unloading || !hasCurrentRow())
        return;
    QWidget* box = txtFields.at(index);
    if (!checked) {
        // Left for a command that makes the checks itself: only the box's own steps.
        if (entryRefusal(index).isEmpty())
            afterLeavingBox(index);
        return;
    }
    m_validating = true;
    const bool valid = validateBox(index);
    m_validating = false;
    if (!valid) {
        box->setFocus();
        // A message box gives the focus back to where it was when it closes: take it again.
        QTimer::singleShot(0, box, [box] { box->setFocus(); });
        return;
    }
    afterLeavingBox(index);
}

// Whether leaving a box for `to` makes the box's check: not when the focus leaves the screen
// (the screen is then asked whether it may go) nor when it goes to a command that checks the
// boxes itself, or discards them (Cancel). "Send E-mail" checks the address itself when it is
// clicked; reached with the keyboard, the box's check runs as for any control.
bool frmDirectory::checksWhenLeftFor(const QWidget* to, Qt::FocusReason reason) const
{
    if (!to || !isAncestorOf(to))
        return false;
    if (to == cmdEmail && reason == Qt::MouseFocusReason)
        return false;
    for (const QWidget* command : std::initializer_list<const QWidget*>{
             cmdUpdate, cmdCancel, cmdAdd, cmdClone, cmdDelete, cmdFirst, cmdPrevious, cmdNext,
             cmdLast, NavCombo, Select_Show, cmdPrintProfile}) {
        if (to == command || command->isAncestorOf(to))
            return false;
    }
    return true;
}

void frmDirectory::afterLeavingBox(int index)
{
    switch (index) {
    case 2:
        if (!txtFields[3]->isVisible() && m_adding) {
            SSTabCtl->setCurrentIndex(1);
            txtFields[3]->setFocus();
        }
        break;
    case 3:
        lblAge->setText(boxText(3).isEmpty() ? QStringLiteral("0")
                                             : QString::number(GetAge(data::Variant(boxText(3)))));
        break;
    case 5:
        if (!txtFields[16]->isVisible() && m_adding) {
            SSTabCtl->setCurrentIndex(2);
            txtFields[16]->setFocus();
        }
        break;
    default:
        break;
    }
}
