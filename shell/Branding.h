#pragma once

#include <QIcon>
#include <QString>

// The maker's name, the product's full name and the maker's web pages, as every report
// footer, the about dialog and the Help menu show them.
inline const QString kMakerName = QStringLiteral("Brantholme Technologies");
inline const QString kProductFullName = QStringLiteral("Corvessa: Group Edition");
inline const QString kMakerWebAddress = QStringLiteral("www.corvessa.example");
inline const QString kHomePageUrl = QStringLiteral("https://www.corvessa.example/");
inline const QString kSupportPageUrl = QStringLiteral("https://www.corvessa.example/support/");
inline const QString kProductPageUrl = QStringLiteral("https://www.corvessa.example/group-edition/");

// "Version " + major + "." + minor + "." + revision of the running program.
QString VersionText();
// The maker's copyright line; its year range ends with the current year.
QString CopyrightLine();

// The program's icon.
QIcon ProgramIcon();
