#include "tests/platform/data/DataTestHelpers.h"

#include "platform/data/LocaleText.h"

using data::Variant;
using testing_support::day;
using testing_support::FieldValues;

namespace datatest {

QString show(const Variant& v)
{
    switch (v.type()) {
    case Variant::Type::Empty:
        return QStringLiteral("(empty)");
    case Variant::Type::Null:
        return QStringLiteral("(null)");
    case Variant::Type::String:
        return v.text();
    case Variant::Type::Boolean:
        return v.number() != 0.0 ? QStringLiteral("True") : QStringLiteral("False");
    case Variant::Type::Date: {
        const QDateTime dt = v.toQDateTime();
        QString text = data::text::formatUsDate(dt.date());
        if (data::jetdate::hasTime(v.number()))
            text += dt.time().toString(QStringLiteral(" h:mm"));
        return text;
    }
    default:
        return QString::number(v.number(), 'g', 15);
    }
}

QStringList query(data::Connection& conn, const QString& sql, const QString& columns)
{
    data::Recordset rs;
    rs.Open(sql, conn, data::adOpenStatic, data::adLockReadOnly);
    const QStringList names = columns.split(QLatin1Char(','), Qt::SkipEmptyParts);
    QStringList rows;
    while (!rs.EOF()) {
        QStringList cells;
        for (const QString& name : names)
            cells << show(rs[name.trimmed()]);
        rows << cells.join(QLatin1Char('|'));
        rs.MoveNext();
    }
    return rows;
}

void buildGroup(testing_support::DataFixture& db)
{
    struct Person {
        Variant first, last;
        bool visitor;
        Variant status, team, school, grade, sex;
        bool mail, leader;
        Variant address, city, state, zip, birthday, email, phone, lastAttended;
        bool removed, letter, call;
    };
    const Variant null = Variant::null();
    auto n = [](int v) { return Variant(static_cast<std::int32_t>(v)); };
    const Person people[] = {
        {"Ann",
         "Smith",
         false,
         n(1),
         "Blue",
         "Central High",
         n(9),
         n(2),
         true,
         false,
         "12 Oak Street",
         "Lexington",
         "ky",
         "40502",
         day(2008, 3, 20),
         "ann@x.org",
         "555-0101",
         day(2024, 3, 10),
         false,
         false,
         false},
        {"Bob",
         "Jones",
         true,
         n(1),
         "blue",
         "central high",
         n(10),
         n(1),
         true,
         false,
         "12 OAK STREET",
         "Lexington",
         "KY",
         "40502",
         day(2009, 11, 2),
         "ANN@X.ORG",
         "555-0102",
         day(2024, 3, 3),
         false,
         true,
         false},
        {"Cara", "O'Neil", false,   n(1), " Red ", null, null, n(2), false,
         true,   null,     "Paris", "KY", "40361", null, null, null, day(2024, 3, 10),
         false,  false,    false},
        {null,
         "Doe",
         false,
         n(2),
         null,
         "",
         n(11),
         n(0),
         true,
         false,
         "9 Court Street",
         "Lexington",
         "KY",
         "40503",
         day(2006, 7, 4),
         "",
         "555-0104",
         null,
         false,
         false,
         false},
        {"New Profile", null, false, null, null, null, null, null,  false, false, null,
         null,          null, null,  null, null, null, null, false, false, false},
        {"Eve",       "Gray",       false,
         n(1),        "Blue",       "Central High",
         n(9),        n(2),         true,
         false,       "4 Elm Road", "Lexington",
         "KY",        "40502",      day(2008, 5, 1),
         "eve@x.org", "555-0106",   day(2024, 2, 18),
         true,        false,        false},
        {"new profile", "abbot",    false, n(0),        "red", null,  null,
         null,          false,      false, "1 Main St", null,  null,  null,
         null,          "nb@x.org", null,  null,        false, false, false},
        {"Gus", "Hill",         false,
         n(3),  "Red",          "Central High",
         n(12), n(1),           true,
         false, "77 Pine Lane", "Lexington",
         "KY",  "40505",        day(2007, 1, 15),
         null,  "555-0108",     day(2023, 12, 17),
         false, false,          false},
        {"Hal", "Ives", true, null, null, "Eastside",      n(8), n(1), false,
         false, null,   null, null, null, day(2010, 9, 9), null, null, null,
         false, false,  false},
        {"Ivy",       "King",        true,
         n(1),        null,          "Eastside",
         n(8),        n(2),          false,
         false,       "5 Ash Court", "Versailles",
         "KY",        "40383",       day(2009, 3, 12),
         "ivy@x.org", "555-0110",    day(2024, 3, 24),
         false,       true,          true},
    };
    for (const Person& p : people) {
        db.addPerson({{"Youth_FName", p.first},
                      {"Youth_LName", p.last},
                      {"Youth_Visitor", Variant(p.visitor)},
                      {"Youth_Status", p.status},
                      {"Youth_Team", p.team},
                      {"Youth_School", p.school},
                      {"Youth_School_Grade", p.grade},
                      {"Youth_Sex", p.sex},
                      {"Youth_Mail_List", Variant(p.mail)},
                      {"Youth_Leader", Variant(p.leader)},
                      {"Youth_Address1", p.address},
                      {"Youth_City", p.city},
                      {"Youth_State", p.state},
                      {"Youth_Zip", p.zip},
                      {"Youth_Bday", p.birthday},
                      {"Youth_Email", p.email},
                      {"Youth_HomePhone", p.phone},
                      {"Youth_Last_Attended", p.lastAttended},
                      {"Youth_Deleted", Variant(p.removed)},
                      {"Youth_VLetter", Variant(p.letter)},
                      {"Youth_VCall", Variant(p.call)},
                      {"Youth_Created", testing_support::moment(2024, 1, 2, 10, 30)}});
    }
    struct Meeting {
        QDate date;
        Variant type;
        Variant offering;
    };
    auto money = [](double v) { return Variant::currency(v); };
    const Meeting meetings[] = {
        {QDate(2023, 10, 15), "Sunday", money(50)},   {QDate(2023, 10, 22), "Sunday", money(40)},
        {QDate(2023, 10, 29), "Sunday", null},        {QDate(2023, 11, 5), "Sunday", money(30)},
        {QDate(2023, 11, 12), "Sunday", money(30)},   {QDate(2023, 11, 19), "Sunday", money(30)},
        {QDate(2023, 12, 17), "Sunday", money(60)},   {QDate(2024, 1, 7), "Sunday", money(100)},
        {QDate(2024, 1, 14), "Sunday", money(80.5)},  {QDate(2024, 2, 18), "sunday", money(25)},
        {QDate(2024, 3, 3), "Sunday", money(120.25)}, {QDate(2024, 3, 3), "Bible Study", money(0)},
        {QDate(2024, 3, 10), null, money(45.1)},      {QDate(2024, 3, 24), "Sunday", null},
    };
    int topic = 0;
    for (const Meeting& m : meetings) {
        db.addMeeting(m.date, {{"Wk_Mtg_Type", m.type},
                               {"Wk_Offering", m.offering},
                               {"Wk_Topic", QStringLiteral("Topic %1").arg(++topic)}});
    }
    const std::pair<int, int> attendance[] = {
        {1, 1},  {1, 2},  {1, 3},  {1, 4},  {1, 5},   {1, 6},   {1, 7},   {1, 8},   {1, 9},
        {1, 10}, {1, 11}, {1, 13}, {2, 12}, {2, 9},   {2, 11},  {3, 11},  {3, 13},  {6, 10},
        {6, 13}, {8, 1},  {8, 7},  {9, 13}, {10, 10}, {10, 11}, {10, 13}, {10, 14},
    };
    for (const auto& [person, meeting] : attendance)
        db.addAttendance(person, meeting);
}

} // namespace datatest
