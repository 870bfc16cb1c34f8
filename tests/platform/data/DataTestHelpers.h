#pragma once

#include "tests/support/DataFixture.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QString>
#include <QStringList>

// Helpers shared by the data layer's tests.
namespace datatest {

// A value as the tests write expectations: Null "(null)", dates m/d/yyyy (with h:mm when
// there is a time), Yes/No True/False, numbers in plain decimals, text as it is.
QString show(const data::Variant& v);

// The rows of a query, read through the data layer: each row the named columns joined by '|'.
QStringList query(data::Connection& conn, const QString& sql, const QString& columns);

// A group of ten people, fourteen meetings and their attendance (the data the program's
// statements are checked against): "today" is 15 March 2024.
//  - people 1 Ann Smith ... 10 Ivy King, with a missing first name (4, Doe), placeholders in two
//    spellings (5 "New Profile", 7 "new profile"), a removed person (6), a leader (3), visitors
//    (2, 9, 10), teams and schools in mixed case and with blanks (" Red ", "blue", "central high");
//  - meetings 1-14 from 10/15/2023 to 3/24/2024, two on 3/3/2024 (11 Sunday, 12 Bible Study),
//    one typed "sunday" (10) and one without a type (13);
//  - attendance stored with Bob's 3/3/2024 row before his 1/14/2024 row.
void buildGroup(testing_support::DataFixture& db);

} // namespace datatest
