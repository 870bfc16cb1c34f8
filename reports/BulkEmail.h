#pragma once

#include <QString>

class QWidget;

// Bulk e-mail: one new message to everyone who matches the report filter text.
namespace bulkemail {

// A list of this many characters or more is too long for a link and goes to the message
// window instead.
inline constexpr int kLinkLimit = 1020;

// The query for the distinct addresses of the people the filter text selects.
QString QueryText(const QString& reportFilter);

// Hands an address list read for a bulk e-mail on: a critical message when it is empty, the
// message window when it is too long for a link or the mail program cannot be started,
// otherwise the "mailto:" link to the shell. Sets BulkEmailList.
void Deliver(const QString& list, QWidget* owner);

} // namespace bulkemail

// Reads the addresses of the people who match ReportFilter and hands them on (Deliver). When
// the data file cannot be read, says so and does nothing else.
void SendBulkEmail(QWidget* owner);
