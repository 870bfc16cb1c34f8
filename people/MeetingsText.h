#pragma once

#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"

#include <QString>

#include <exception>
#include <optional>

// The messages and captions of the meetings screen, word for word.
namespace meetings_text {

inline const QString kPrefillInstructions = QStringLiteral(
    "The attendance list has been filled with all your active members, but no one is checked as "
    "present.  Check off those who actually attended and add any other names.  Then click the "
    "Save List button.");
inline const QString kNormalInstructions = QStringLiteral(
    "The list at the right shows all those who attended on the date selected above.  Use the "
    "drop-down list and Add button below to add someone to the list.");
inline const QString kSaveListQuestion = QStringLiteral(
    "The list of attendees has changed since you last clicked the Save List button.  If you move "
    "off this record before you Save it, you will loose any changes you made.  Do you want to "
    "Save the list now?");
inline const QString kDeleteQuestion = QStringLiteral(
    "Are you sure you want to delete the information for this week?  All attendance recorded for "
    "this week will also be deleted?");
inline const QString kEndOfRecords = QStringLiteral(
    "You have reached the end of the records.  To add information on a new service, click the "
    "Add button.");
inline const QString kBeginningOfRecords =
    QStringLiteral("You have reached the beginning of the records.");
inline const QString kAlreadyListed =
    QStringLiteral("This person is already in the attendance list.");
inline const QString kNotFound = QStringLiteral(
    "The ID you scanned () does not match anyone in the database.  It's possible this person has "
    "been deleted since your barcode was printed.");
inline const QString kScanIdleText = QStringLiteral("Click Here to Scan Barcodes");

// Refused entries: what is wrong, and what the box shows instead once refused.
inline const QString kDateInvalid = QStringLiteral("Please enter a valid date for this meeting.");
inline const QString kDateRefused =
    kDateInvalid + QStringLiteral(" The date shown before has been put back.");
inline const QString kOfferingInvalid =
    QStringLiteral("Please enter the offering as an amount of money, such as 125.50.");
inline const QString kOfferingRefused =
    kOfferingInvalid + QStringLiteral(" The amount shown before has been put back.");
inline const QString kAttendanceInvalid =
    QStringLiteral("Please enter the attendance as a whole number.");
inline const QString kAttendanceRefused =
    kAttendanceInvalid + QStringLiteral(" The number shown before has been put back.");
inline const QString kValueInvalid = QStringLiteral("This entry could not be taken.");
inline const QString kValueRefused =
    kValueInvalid + QStringLiteral(" The text shown before has been put back.");
// Asked when the meeting shown is left with an entry refused.
inline const QString kLeaveWithoutEntry = QStringLiteral(
    "Click Yes to go on with the value shown before put back, or No to stay and correct it.");

// Lists and meetings that cannot be saved.
inline const QString kListNotSaved = QStringLiteral(
    "The list of attendees could not be saved. The attendance stored before is unchanged, and "
    "your changes are still in the list.");
inline const QString kNoMeetingForList = QStringLiteral(
    "The list of attendees could not be saved: this meeting has no date of its own to save it "
    "under.");

// Asked by Print Meeting Summary while the list holds changes not saved.
inline const QString kSaveBeforePrinting = QStringLiteral(
    "The list of attendees has changed since you last clicked the Save List button.  Do you want "
    "to save the list before printing it?\n\nYes saves the list and prints it.  No prints the "
    "list as it was last saved.  Cancel prints nothing.");
inline const QString kSaveBeforePrintingTitle = QStringLiteral("Print Meeting Summary");

inline const QString kMeetingNotStored =
    QStringLiteral("The changes to this meeting could not be saved.");
inline const QString kTypingKept = QStringLiteral("What you typed is still on the screen.");
inline const QString kLeaveWithoutStoring =
    QStringLiteral("Click Yes to leave without saving them, or No to stay on this meeting.");
inline const QString kDropOrKeep = QStringLiteral(
    "Click Yes to go on without saving the changes to this meeting, or No to keep them on the "
    "screen.");

// Told when the screen comes back from a report preview to a list whose unsaved ticks were
// kept, and another user deleted the meeting meanwhile.
inline QString keptListLostText(std::optional<double> meetingDay)
{
    const QString meeting =
        meetingDay ? QStringLiteral("The meeting of ") + data::text::formatGeneralDate(*meetingDay)
                   : QStringLiteral("The meeting");
    return meeting + QStringLiteral(" was deleted by another user while the report was shown, so "
                                    "the changes to its list of attendees that were not saved "
                                    "could not be kept.");
}

using data::describe;

// What the user is told when the meeting's changes could not be saved: that, and the reason.
inline QString meetingNotSavedText(const std::exception& e)
{
    return kMeetingNotStored + QLatin1Char(' ') + kTypingKept + QStringLiteral("\n\n") +
           describe(e);
}

} // namespace meetings_text
