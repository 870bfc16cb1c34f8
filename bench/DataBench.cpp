// The data layer against plain SQLite on the bench data (the sample data: 2,000 people, 1,040
// meetings, 200,000 attendance rows; or as CORVESSA_BENCH_SCALE and CORVESSA_BENCH_DATA make it,
// see BenchSupport.h). Each query runs twice: through the layer (Jet text, translated,
// every row read into typed values) and as the equivalent SQLite text through the C API in the
// same binary (every row read into plain C++ values). Compare the pairs' times.
#include "bench/BenchSupport.h"
#include "bench/SampleData.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"
#include "platform/data/Variant.h"

#include <sqlite3.h>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const sample::Options kSample; // last meeting 12/29/2024

const QString& samplePath()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString p = folder.filePath(QStringLiteral("CorvessaData.mdb"));
        bench::writeBenchData(p, kSample);
        return p;
    }();
    return path;
}

QString connectionString()
{
    return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + samplePath() +
           QLatin1Char(';');
}

QString dayNumberText(const QDate& d)
{
    return QString::number(static_cast<qint64>(data::jetdate::fromDate(d)));
}

// The plain SQLite side: a connection, and a query read row by row into C++ values.
class RawDatabase {
public:
    RawDatabase()
    {
        const QByteArray file = samplePath().toUtf8();
        sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~RawDatabase() { sqlite3_close(m_db); }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    struct Cell {
        int type = SQLITE_NULL;
        sqlite3_int64 integer = 0;
        double real = 0.0;
        std::string text;
    };
    using Rows = std::vector<std::vector<Cell>>;

    Rows read(const std::string& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr);
        Rows rows;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<Cell> row(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                Cell& cell = row[static_cast<std::size_t>(c)];
                cell.type = sqlite3_column_type(stmt, c);
                if (cell.type == SQLITE_INTEGER)
                    cell.integer = sqlite3_column_int64(stmt, c);
                else if (cell.type == SQLITE_FLOAT)
                    cell.real = sqlite3_column_double(stmt, c);
                else if (cell.type == SQLITE_TEXT)
                    cell.text.assign(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

private:
    sqlite3* m_db = nullptr;
};

// 1. Every person not removed, as the Start page opens them (static, updatable).
const QString kAllPeopleJet =
    QStringLiteral("SELECT Youth.*, Youth_LName & ', ' & Youth_FName AS YouthName From Youth WHERE "
                   "Youth_Deleted = False ORDER by Youth_LName, Youth_FName;");
const std::string kAllPeopleSqlite =
    "SELECT Youth.*, COALESCE(Youth_LName, '') || ', ' || COALESCE(Youth_FName, '') AS YouthName "
    "FROM Youth WHERE Youth_Deleted = 0 ORDER BY Youth_LName, Youth_FName";

void LayerOpenAllPeople(benchmark::State& state)
{
    data::Connection conn;
    conn.Open(connectionString());
    for (auto _ : state) {
        data::Recordset rs;
        rs.Open(kAllPeopleJet, conn, data::adOpenStatic, data::adLockOptimistic);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(LayerOpenAllPeople)->Unit(benchmark::kMicrosecond);

void SqliteOpenAllPeople(benchmark::State& state)
{
    RawDatabase db;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.read(kAllPeopleSqlite).size());
}
BENCHMARK(SqliteOpenAllPeople)->Unit(benchmark::kMicrosecond);

// 2. Whether a visitor qualifies as a member: the attendance rows since eight weeks ago,
// counted for one person.
const QDate kCutoff = kSample.lastMeeting.addDays(-56);
const int kVisitorId = 1234;

void LayerMemberQualification(benchmark::State& state)
{
    data::Connection conn;
    conn.Open(connectionString());
    const QString sql = QStringLiteral("SELECT Attend_Youth_ID FROM Weeks INNER JOIN Attendance ON "
                                       "Weeks.Wk_ID = Attendance.Attend_Wk_ID WHERE Wk_Date>=#") +
                        kCutoff.toString(QStringLiteral("M/d/yyyy")) + QStringLiteral("#;");
    for (auto _ : state) {
        data::Recordset rs;
        rs.Open(sql, conn, data::adOpenForwardOnly, data::adLockReadOnly);
        int count = 0;
        for (; !rs.EOF(); rs.MoveNext()) {
            if (rs.Fields(0).Value().number() == kVisitorId)
                ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(LayerMemberQualification)->Unit(benchmark::kMicrosecond);

void SqliteMemberQualification(benchmark::State& state)
{
    RawDatabase db;
    const std::string sql = "SELECT Attend_Youth_ID FROM Weeks INNER JOIN Attendance ON "
                            "Weeks.Wk_ID = Attendance.Attend_Wk_ID WHERE Wk_Date >= " +
                            dayNumberText(kCutoff).toStdString();
    for (auto _ : state) {
        int count = 0;
        for (const auto& row : db.read(sql)) {
            if (row[0].integer == kVisitorId)
                ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(SqliteMemberQualification)->Unit(benchmark::kMicrosecond);

// 3. Attendance per meeting through one year (GROUP BY over the three-table join).
const int kYear = kSample.lastMeeting.year();

void LayerWeeklyAttendance(benchmark::State& state)
{
    data::Connection conn;
    conn.Open(connectionString());
    const QString sql =
        QStringLiteral("SELECT Wk_Date, Count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER "
                       "JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = "
                       "Attendance.Attend_Wk_ID) ON Youth.Youth_ID = Attendance.Attend_Youth_ID "
                       "WHERE Year([Wk_Date])=%1 AND Youth_Leader = False GROUP BY Wk_Date ORDER "
                       "BY Wk_Date;")
            .arg(kYear);
    for (auto _ : state) {
        data::Recordset rs;
        rs.Open(sql, conn, data::adOpenForwardOnly, data::adLockReadOnly);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(LayerWeeklyAttendance)->Unit(benchmark::kMicrosecond);

void SqliteWeeklyAttendance(benchmark::State& state)
{
    RawDatabase db;
    const std::string sql =
        "SELECT Wk_Date, count(Attend_Youth_ID) AS TotAttendance FROM Youth INNER JOIN Weeks "
        "INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID AND Youth.Youth_ID = "
        "Attendance.Attend_Youth_ID WHERE Wk_Date >= " +
        dayNumberText(QDate(kYear, 1, 1)).toStdString() + " AND Wk_Date < " +
        dayNumberText(QDate(kYear + 1, 1, 1)).toStdString() +
        " AND Youth_Leader = 0 GROUP BY Wk_Date ORDER BY Wk_Date";
    for (auto _ : state)
        benchmark::DoNotOptimize(db.read(sql).size());
}
BENCHMARK(SqliteWeeklyAttendance)->Unit(benchmark::kMicrosecond);

// 4. Translating one statement: the longest the program sends, and a typical one; first
// sight (parsed and written anew) and seen before (from the cache).
const QString kLongest = QStringLiteral(
    "SELECT DISTINCTROW Youth_LName, Youth_FName, Youth_Last_Attended, First(Wk_Date) AS "
    "FirstOfWk_Date, Youth_Address1, Youth_City, Youth_State, Youth_Zip, Youth_EMail, "
    "Youth_HomePhone, Youth_Contact, Youth_VLetter, Youth_VCall, Youth_VHousecall FROM Youth "
    "INNER JOIN (Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID) ON "
    "Youth.Youth_ID = Attendance.Attend_Youth_ID WHERE (Youth_Visitor = True And Youth_Deleted = "
    "False) GROUP BY Youth_LName, Youth_FName, Youth_Last_Attended, Youth_Address1, Youth_City, "
    "Youth_State, Youth_Zip, Youth_EMail, Youth_HomePhone, Youth_Contact, Youth_VLetter, "
    "Youth_VCall, Youth_VHousecall HAVING First(Wk_Date)=#1/14/2024# ORDER BY Youth_LName, "
    "Youth_FName;");

void TranslateFirstSight(benchmark::State& state, const QString& sql)
{
    data::Connection conn;
    conn.Open(connectionString());
    const data::Catalog& catalog = conn.session()->catalog();
    for (auto _ : state)
        benchmark::DoNotOptimize(data::Translator::translateUncached(catalog, sql));
}
BENCHMARK_CAPTURE(TranslateFirstSight, longest, kLongest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TranslateFirstSight, all_people, kAllPeopleJet)->Unit(benchmark::kMicrosecond);

void TranslateSeenBefore(benchmark::State& state)
{
    data::Connection conn;
    conn.Open(connectionString());
    const data::Catalog& catalog = conn.session()->catalog();
    for (auto _ : state)
        benchmark::DoNotOptimize(data::Translator::translate(catalog, kLongest));
}
BENCHMARK(TranslateSeenBefore)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
