#include "bench/SampleData.h"

#include "platform/data/DataError.h"
#include "platform/data/Schema.h"
#include "platform/data/Variant.h"

#include <sqlite3.h>

#include <QTime>

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace sample {

namespace {

// A small generator of its own (splitmix64), so the same seed gives the same file with any
// compiler and library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    int below(int n) { return std::min(n - 1, static_cast<int>(unit() * n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return unit() < p; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N])
    {
        return items[below(static_cast<int>(N))];
    }

private:
    std::uint64_t m_state;
};

// Invented names and places.
const char* const kGirls[] = {"Abigail", "Ava",    "Bella",  "Brooke", "Chloe",  "Claire", "Dana",
                              "Elena",   "Emma",   "Faith",  "Grace",  "Hannah", "Iris",   "Jade",
                              "Julia",   "Kayla",  "Lauren", "Leah",   "Lily",   "Maya",   "Mia",
                              "Nora",    "Olivia", "Paige",  "Quinn",  "Rachel", "Ruby",   "Sara",
                              "Tessa",   "Violet", "Wren",   "Zoe"};
const char* const kBoys[] = {"Aaron", "Adam",   "Ben",   "Caleb", "Cody",  "Daniel", "Dylan",
                             "Eli",   "Ethan",  "Finn",  "Gabe",  "Grant", "Henry",  "Isaac",
                             "Jack",  "Jonah",  "Kyle",  "Liam",  "Logan", "Luke",   "Mason",
                             "Micah", "Nathan", "Noah",  "Owen",  "Pete",  "Ryan",   "Sam",
                             "Seth",  "Toby",   "Wyatt", "Zack"};
const char* const kSurnameStarts[] = {"Ash", "Bell", "Brook", "Cal", "Dal", "Fen",  "Gar",
                                      "Hal", "Kel",  "Lind",  "Mar", "Nor", "Pen",  "Quill",
                                      "Ros", "Sel",  "Tam",   "Wes", "Yar", "Thorn"};
const char* const kSurnameEnds[] = {"by",  "den",   "ford", "ham", "ley",  "low",  "man",  "more",
                                    "ner", "ridge", "son",  "ton", "ward", "well", "wick", "wood"};
const char* const kStreets[] = {"Maple",    "Cedar",    "Birch",   "Willow", "Juniper",
                                "Hawthorn", "Sycamore", "Aspen",   "Linden", "Chestnut",
                                "Meadow",   "Orchard",  "Harvest", "Quarry", "Sparrow"};
const char* const kStreetKinds[] = {"Street", "Avenue", "Road", "Lane", "Court", "Drive", "Way"};
struct City {
    const char* name;
    const char* state;
    int zip;
};
const City kCities[] = {{"Maple Falls", "KY", 40511}, {"Brookhaven", "KY", 40356},
                        {"Cedar Bluff", "KY", 40347}, {"Fairmont Springs", "KY", 40383},
                        {"Harlow", "KY", 40324},      {"Kestrel Point", "OH", 45011},
                        {"Millbrook", "IN", 47250},   {"Pine Hollow", "TN", 37013},
                        {"Riverton", "KY", 40601},    {"Stonebridge", "MA", 1545}};
const char* const kMiddleSchools[] = {"Cedar Ridge Middle", "Hillcrest Middle",  "Westbrook Middle",
                                      "Summit Middle",      "Riverside Academy", "Home School"};
const char* const kHighSchools[] = {"Northfield High", "Lakeview High", "Maple Grove High",
                                    "Oak Hollow High", "Eastgate High", "Riverside Academy",
                                    "Home School"};
const char* const kTeams[] = {"Blue", "Red", "Green", "Gold"};
const char* const kTopics[] = {
    "Friendship",
    "Serving Others",
    "Faith in Hard Times",
    "Forgiveness",
    "Patience",
    "Courage",
    "Gratitude",
    "Honesty",
    "Prayer",
    "Kindness",
    "Making Choices",
    "Peer Pressure",
    "Family",
    "Hope",
    "Trust",
    "Joy",
    "Listening",
    "Generosity",
    "Humility",
    "Wisdom",
    "New Beginnings",
    "Loving Neighbours",
    "Doubt and Belief",
    "Rest",
    "Talents",
    "Leadership",
    "Community",
    "Identity",
};
const char* const kBooks[] = {
    "Genesis", "Exodus", "Psalms", "Proverbs", "Isaiah", "Micah",       "Matthew",    "Mark",
    "Luke",    "John",   "Acts",   "Romans",   "James",  "Philippians", "Colossians", "1 John"};
const char* const kComments[] = {"Allergic to peanuts.",          "Plays guitar.",
                                 "Likes to help set up.",         "Needs a ride on Sundays.",
                                 "Interested in the music team.", "Moved here this year.",
                                 "Asked about the summer trip."};
const char* const kIm[] = {"AIM", "MSN", "Yahoo", "ICQ"};

enum class Kind { Member, Visitor, Leader, Newcomer };

struct Person {
    Kind kind = Kind::Member;
    bool girl = false;
    QString first, middle, last;
    QString address, city, state, zip, homePhone, parents;
    int start = 0, end = -1; // meetings attended lie in [start, end]
    double chance = 0.0;
    int ageAtStart = 14;
};

QString surname(Random& r)
{
    QString s =
        QString::fromLatin1(r.pick(kSurnameStarts)) + QString::fromLatin1(r.pick(kSurnameEnds));
    if (r.chance(0.04))
        s = QStringLiteral("O'") + s;
    else if (r.chance(0.03))
        s += QLatin1Char('-') + QString::fromLatin1(r.pick(kSurnameStarts)) +
             QString::fromLatin1(r.pick(kSurnameEnds));
    return s;
}

QString phone(Random& r)
{
    return QStringLiteral("555-%1").arg(r.between(0, 9999), 4, 10, QLatin1Char('0'));
}

double dayNumber(const QDate& d)
{
    return data::jetdate::fromDate(d);
}

class Writer {
public:
    explicit Writer(const QString& path)
    {
        data::schema::createDataFile(path);
        const QByteArray file = path.toUtf8();
        if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fail("open");
        exec("PRAGMA synchronous = OFF");
        exec("BEGIN");
    }
    ~Writer() { sqlite3_close_v2(m_db); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void exec(const char* sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }

    // A prepared statement, finalized when it goes.
    class Statement {
    public:
        Statement(Writer& w, const char* sql) : m_writer(w)
        {
            if (sqlite3_prepare_v2(w.m_db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
                w.fail(sql);
        }
        ~Statement() { sqlite3_finalize(m_stmt); }
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        operator sqlite3_stmt*() const { return m_stmt; }
        void run()
        {
            if (sqlite3_step(m_stmt) != SQLITE_DONE)
                m_writer.fail(sqlite3_sql(m_stmt));
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }

    private:
        Writer& m_writer;
        sqlite3_stmt* m_stmt = nullptr;
    };

    [[noreturn]] void fail(const char* what)
    {
        throw data::DataError(QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(what));
    }

private:
    sqlite3* m_db = nullptr;
};

void bindText(sqlite3_stmt* s, int i, const QString& t)
{
    if (t.isNull()) {
        sqlite3_bind_null(s, i);
        return;
    }
    const QByteArray utf8 = t.toUtf8();
    sqlite3_bind_text(s, i, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void bindOptional(sqlite3_stmt* s, int i, bool present, double v)
{
    if (present)
        sqlite3_bind_double(s, i, v);
    else
        sqlite3_bind_null(s, i);
}

} // namespace

Summary writeSampleData(const QString& path, const Options& options)
{
    Random r(options.seed);
    const int meetings = options.meetings;
    auto meetingDate = [&](int i) {
        return options.lastMeeting.addDays(-7LL * (meetings - 1 - i));
    };

    // People, in families that share a surname, an address and a phone.
    std::vector<Person> people;
    people.reserve(static_cast<std::size_t>(options.people));
    while (static_cast<int>(people.size()) < options.people) {
        Person base;
        base.last = surname(r);
        const City& city = r.pick(kCities);
        base.address =
            QStringLiteral("%1 %2 %3")
                .arg(r.between(1, 9899))
                .arg(QLatin1String(r.pick(kStreets)), QLatin1String(r.pick(kStreetKinds)));
        base.city = QString::fromLatin1(city.name);
        base.state = QString::fromLatin1(city.state);
        base.zip = QStringLiteral("%1").arg(city.zip + r.between(0, 8), 5, 10, QLatin1Char('0'));
        base.homePhone = phone(r);
        base.parents =
            QStringLiteral("%1 and %2 %3")
                .arg(QLatin1String(r.pick(kBoys)), QLatin1String(r.pick(kGirls)), base.last);
        const double roll = r.unit();
        const Kind familyKind = roll < 0.05   ? Kind::Leader
                                : roll < 0.27 ? Kind::Visitor
                                : roll < 0.32 ? Kind::Newcomer
                                              : Kind::Member;
        const int size =
            familyKind == Kind::Leader ? 1 : (r.chance(0.6) ? 1 : (r.chance(0.75) ? 2 : 3));
        int length = 0;
        switch (familyKind) {
        case Kind::Member:
            length = r.between(60, 320);
            break;
        case Kind::Visitor:
            length = r.between(1, 8);
            break;
        case Kind::Leader:
            length = r.between(150, meetings);
            break;
        case Kind::Newcomer:
            break;
        }
        const int familyStart = r.between(-length / 2, meetings - 1);
        for (int k = 0; k < size && static_cast<int>(people.size()) < options.people; ++k) {
            Person p = base;
            p.kind = familyKind;
            p.girl = r.chance(0.5);
            p.first = QString::fromLatin1(p.girl ? r.pick(kGirls) : r.pick(kBoys));
            if (r.chance(0.3))
                p.middle = QString::fromLatin1(p.girl ? r.pick(kGirls) : r.pick(kBoys));
            if (familyKind == Kind::Leader) {
                p.parents.clear();
                p.ageAtStart = r.between(22, 50);
            } else {
                p.ageAtStart = r.between(11, 17);
            }
            if (familyKind != Kind::Newcomer) {
                const int start = familyStart + k * r.between(0, 60);
                p.start = std::max(0, start);
                p.end = std::min(meetings - 1, start + length - 1);
                p.chance = familyKind == Kind::Leader    ? 0.75 + 0.23 * r.unit()
                           : familyKind == Kind::Visitor ? 0.3 + 0.7 * r.unit()
                                                         : 0.45 + 0.5 * r.unit();
            }
            people.push_back(std::move(p));
        }
    }

    // Attendance: each person comes to the meetings of their time with their own likelihood,
    // scaled so that the total lands near the target; then exactly the target is kept.
    double expected = 0.0;
    for (const Person& p : people)
        expected += p.chance * std::max(0, p.end - p.start + 1);
    const double scale = expected > 0.0 ? options.attendanceRows / expected : 0.0;
    std::vector<std::uint64_t> rows; // meeting << 32 | person
    rows.reserve(static_cast<std::size_t>(options.attendanceRows) + 5000);
    for (std::size_t i = 0; i < people.size(); ++i) {
        const Person& p = people[i];
        const double chance = std::min(0.98, p.chance * scale);
        for (int m = p.start; m <= p.end; ++m) {
            if (r.chance(chance))
                rows.push_back(static_cast<std::uint64_t>(m) << 32 | i);
        }
    }
    if (static_cast<int>(rows.size()) > options.attendanceRows) {
        for (std::size_t i = rows.size() - 1; i > 0; --i)
            std::swap(rows[i], rows[static_cast<std::size_t>(r.below(static_cast<int>(i + 1)))]);
        rows.resize(static_cast<std::size_t>(options.attendanceRows));
    } else {
        std::unordered_set<std::uint64_t> present(rows.begin(), rows.end());
        std::vector<std::size_t> attenders;
        for (std::size_t i = 0; i < people.size(); ++i) {
            if (people[i].end >= people[i].start)
                attenders.push_back(i);
        }
        while (static_cast<int>(rows.size()) < options.attendanceRows && !attenders.empty()) {
            const std::size_t i =
                attenders[static_cast<std::size_t>(r.below(static_cast<int>(attenders.size())))];
            const int m = r.between(people[i].start, people[i].end);
            const std::uint64_t key = static_cast<std::uint64_t>(m) << 32 | i;
            if (present.insert(key).second)
                rows.push_back(key);
        }
    }
    std::sort(rows.begin(), rows.end());

    std::vector<int> attended(people.size(), 0), firstSeen(people.size(), -1),
        lastSeen(people.size(), -1), perMeeting(static_cast<std::size_t>(meetings), 0);
    for (std::uint64_t key : rows) {
        const int m = static_cast<int>(key >> 32);
        const auto i = static_cast<std::size_t>(key & 0xffffffffu);
        ++attended[i];
        ++perMeeting[static_cast<std::size_t>(m)];
        if (firstSeen[i] < 0)
            firstSeen[i] = m;
        lastSeen[i] = std::max(lastSeen[i], m);
    }

    Writer w(path);

    Writer::Statement week(
        w, "INSERT INTO Weeks (Wk_ID, Wk_Date, Wk_Topic, Wk_Scripture, Wk_Offering, Wk_Attendance, "
           "Wk_Comments, Wk_Mtg_Type) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (int m = 0; m < meetings; ++m) {
        const double typeRoll = r.unit();
        const char* type = typeRoll < 0.88   ? "Sunday"
                           : typeRoll < 0.90 ? "sunday"
                           : typeRoll < 0.94 ? "Wednesday Night"
                           : typeRoll < 0.97 ? "Retreat"
                                             : "Service Project";
        sqlite3_bind_int(week, 1, m + 1);
        sqlite3_bind_double(week, 2, dayNumber(meetingDate(m)));
        bindText(week, 3, QString::fromLatin1(r.pick(kTopics)));
        bindText(week, 4,
                 QStringLiteral("%1 %2:%3")
                     .arg(QLatin1String(r.pick(kBooks)))
                     .arg(r.between(1, 28))
                     .arg(r.between(1, 30)));
        bindOptional(week, 5, r.chance(0.95), r.between(2000, 25000) / 100.0);
        if (r.chance(0.8))
            sqlite3_bind_int(week, 6, perMeeting[static_cast<std::size_t>(m)] + r.between(0, 4));
        bindText(week, 7, r.chance(0.05) ? QString::fromLatin1(r.pick(kComments)) : QString());
        bindText(week, 8, QString::fromLatin1(type));
        week.run();
    }

    Writer::Statement person(
        w,
        "INSERT INTO Youth (Youth_ID, Youth_FName, Youth_MName, Youth_LName, Youth_Address1, "
        "Youth_City, Youth_State, Youth_Zip, Youth_Email, Youth_HomePhone, Youth_WorkPhone, "
        "Youth_CellPhone, Youth_IM_Username, Youth_IM_Service, Youth_Bday, Youth_School, "
        "Youth_School_Grade, Youth_ParentName, Youth_Comments, Youth_Last_Attended, Youth_Contact, "
        "Youth_Created, Youth_Updated, Youth_Visitor, Youth_Mail_List, Youth_Leader, "
        "Youth_VLetter, "
        "Youth_VCall, Youth_VHouseCall, Youth_Deleted, Youth_Sex, Youth_Status, Youth_Team) VALUES "
        "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, "
        "?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28, ?29, ?30, ?31, ?32, ?33)");
    const QDate today = options.lastMeeting;
    for (std::size_t i = 0; i < people.size(); ++i) {
        const Person& p = people[i];
        const int id = static_cast<int>(i) + 1;
        const bool leader = p.kind == Kind::Leader;
        const int seen = attended[i];
        const int startMeeting = p.end >= p.start ? p.start : meetings - 1 - r.between(0, 6);
        const QDate startDate = meetingDate(std::max(0, startMeeting));
        const QDate birthday =
            QDate(startDate.year() - p.ageAtStart, 1, 1).addDays(r.between(0, 364));
        const int age = today.year() - birthday.year();
        const int grade = age - 5;

        int status = 0;
        bool statusNull = false;
        if (seen == 0) {
            statusNull = r.chance(0.6);
        } else {
            const int weeksAway = meetings - 1 - lastSeen[i];
            status = weeksAway <= 3 ? 1 : weeksAway <= 8 ? (r.chance(0.3) ? 2 : 1) : 3;
            if (r.chance(0.02))
                status = 0;
        }
        const bool visitor =
            (p.kind == Kind::Visitor && seen < 4) || (p.kind == Kind::Newcomer && r.chance(0.5));
        const bool removed = status != 1 && r.chance(0.04);

        QString team;
        if (r.chance(0.7)) {
            team = QString::fromLatin1(r.pick(kTeams));
            if (r.chance(0.02))
                team = team.toLower();
            else if (r.chance(0.02))
                team = QLatin1Char(' ') + team + QLatin1Char(' ');
        }
        QString school;
        if (!leader && grade >= 6 && grade <= 12) {
            school =
                QString::fromLatin1(grade <= 8 ? r.pick(kMiddleSchools) : r.pick(kHighSchools));
            if (r.chance(0.03))
                school = school.toLower();
            else if (r.chance(0.03))
                school = QString(""); // typed and cleared
        }
        QString email;
        const double mailRoll = r.unit();
        if (mailRoll < 0.7)
            email = QStringLiteral("%1.%2%3@example.%4")
                        .arg(p.first.toLower(), QString(p.last).remove(QLatin1Char('\'')).toLower())
                        .arg(r.between(1, 99))
                        .arg(QLatin1String(r.chance(0.5) ? "org" : "net"));
        else if (mailRoll < 0.75)
            email = QString("");

        const QDateTime created(startDate.addDays(-r.between(0, 3)),
                                QTime(r.between(8, 21), r.between(0, 59), r.between(0, 59)));
        const QDateTime updated = created.addDays(
            r.between(0, std::max(1, static_cast<int>(created.date().daysTo(today)))));

        int c = 1;
        sqlite3_bind_int(person, c++, id);
        bindText(person, c++, p.first);
        bindText(person, c++, p.middle);
        bindText(person, c++, p.last);
        bindText(person, c++, r.chance(0.93) ? p.address : QString());
        bindText(person, c++, p.city);
        bindText(person, c++, p.state);
        bindText(person, c++, p.zip);
        bindText(person, c++, email);
        bindText(person, c++, r.chance(0.9) ? p.homePhone : QString());
        bindText(person, c++, leader && r.chance(0.7) ? phone(r) : QString());
        bindText(person, c++, r.chance(leader ? 0.9 : 0.4) ? phone(r) : QString());
        const bool im = r.chance(0.08);
        bindText(person, c++,
                 im ? p.first.toLower() + QString::number(r.between(10, 999)) : QString());
        bindText(person, c++, im ? QString::fromLatin1(r.pick(kIm)) : QString());
        bindOptional(person, c++, r.chance(0.93), dayNumber(birthday));
        bindText(person, c++, school);
        // The yearly raise leaves some who left school at 13 or 14.
        if (!leader && grade >= 6 && (grade <= 12 || (grade <= 14 && r.chance(0.5))))
            sqlite3_bind_int(person, c++, grade);
        else
            sqlite3_bind_null(person, c++);
        bindText(person, c++, !leader && r.chance(0.7) ? p.parents : QString());
        bindText(person, c++, r.chance(0.1) ? QString::fromLatin1(r.pick(kComments)) : QString());
        bindOptional(person, c++, seen > 0, seen > 0 ? dayNumber(meetingDate(lastSeen[i])) : 0.0);
        bindText(person, c++,
                 visitor && r.chance(0.6)
                     ? QStringLiteral("Invited by %1").arg(QLatin1String(r.pick(kGirls)))
                     : QString());
        sqlite3_bind_double(person, c++, data::jetdate::fromDateTime(created));
        sqlite3_bind_double(person, c++, data::jetdate::fromDateTime(updated));
        sqlite3_bind_int(person, c++, visitor ? -1 : 0);
        sqlite3_bind_int(person, c++, r.chance(0.6) ? -1 : 0);
        sqlite3_bind_int(person, c++, leader ? -1 : 0);
        sqlite3_bind_int(person, c++, visitor && r.chance(0.7) ? -1 : 0);
        sqlite3_bind_int(person, c++, visitor && r.chance(0.4) ? -1 : 0);
        sqlite3_bind_int(person, c++, visitor && r.chance(0.1) ? -1 : 0);
        sqlite3_bind_int(person, c++, removed ? -1 : 0);
        if (r.chance(0.03))
            sqlite3_bind_null(person, c++);
        else
            sqlite3_bind_int(person, c++, p.girl ? 2 : 1);
        if (statusNull)
            sqlite3_bind_null(person, c++);
        else
            sqlite3_bind_int(person, c++, status);
        bindText(person, c++, team);
        person.run();
    }

    Writer::Statement attendance(
        w, "INSERT INTO Attendance (Attend_Youth_ID, Attend_Wk_ID) VALUES (?1, ?2)");
    for (std::uint64_t key : rows) {
        sqlite3_bind_int(attendance, 1, static_cast<int>(key & 0xffffffffu) + 1);
        sqlite3_bind_int(attendance, 2, static_cast<int>(key >> 32) + 1);
        attendance.run();
    }
    w.exec("COMMIT");

    return Summary{static_cast<int>(people.size()), meetings, static_cast<int>(rows.size())};
}

} // namespace sample
