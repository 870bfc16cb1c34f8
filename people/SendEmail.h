#pragma once

#include <QString>

// The example address that the directory's e-mail messages show.
inline const QString kExampleEmailAddress = QStringLiteral("someone@mail.example");

// "Send E-mail" of the directory: an address that is not valid (IsValidEmail) is answered
// with a message and nothing else; an empty one does nothing; any other is handed to the
// desktop as a "mailto:" link for a new message. When the desktop cannot hand the link to a
// mail program, the user is told so, with the address.
void SendEmailTo(const QString& address);
