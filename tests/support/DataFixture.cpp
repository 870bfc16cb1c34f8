#include "tests/support/DataFixture.h"

#include "tests/support/TestEnvironment.h"

#include "platform/data/ConnectionString.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"

#include <sqlite3.h>

#include <QStringList>

namespace testing_support {

namespace {

const QString kDataFileName = QStringLiteral("CorvessaData.mdb");

[[noreturn]] void fail(sqlite3* db, const QString& sql)
{
    throw data::DataError(QString::fromUtf8(sqlite3_errmsg(db)), sql);
}

class Statement {
public:
    Statement(sqlite3* db, const QString& sql) : m_db(db), m_sql(sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
            fail(db, sql);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const data::Variant& v)
    {
        using T = data::Variant::Type;
        switch (v.type()) {
        case T::Empty:
        case T::Null:
            sqlite3_bind_null(m_stmt, index);
            break;
        case T::String: {
            const QByteArray utf8 = v.text().toUtf8();
            sqlite3_bind_text(m_stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        case T::Boolean:
        case T::Integer:
        case T::Long:
            sqlite3_bind_int64(m_stmt, index, static_cast<sqlite3_int64>(v.number()));
            break;
        default:
            sqlite3_bind_double(m_stmt, index, v.number());
            break;
        }
    }

    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail(m_db, m_sql);
        return false;
    }

    std::vector<data::Variant> row() const
    {
        std::vector<data::Variant> values;
        const int n = sqlite3_column_count(m_stmt);
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(m_stmt, c)) {
            case SQLITE_NULL:
                values.push_back(data::Variant::null());
                break;
            case SQLITE_INTEGER:
                values.push_back(data::Variant::fromInt64(sqlite3_column_int64(m_stmt, c)));
                break;
            case SQLITE_FLOAT:
                values.push_back(data::Variant(sqlite3_column_double(m_stmt, c)));
                break;
            default:
                values.push_back(data::Variant(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c)),
                                      sqlite3_column_bytes(m_stmt, c))));
                break;
            }
        }
        return values;
    }

private:
    sqlite3* m_db;
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace

data::Variant day(int year, int month, int dayOfMonth)
{
    return data::Variant::date(QDate(year, month, dayOfMonth));
}

data::Variant moment(int year, int month, int dayOfMonth, int hour, int minute, int second)
{
    return data::Variant::dateTime(
        QDateTime(QDate(year, month, dayOfMonth), QTime(hour, minute, second)));
}

DataFixture::DataFixture() : m_path(testenv::programFile(kDataFileName))
{
    data::schema::createDataFile(m_path);
    const QByteArray file = m_path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail(m_db, m_path);
    sqlite3_busy_timeout(m_db, 5000);
    // Test data need not survive a power cut: skip the waits for the disk.
    sqlite3_exec(m_db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    if (testenv::hooks().dataFileMade)
        testenv::hooks().dataFileMade(connectionString());
}

DataFixture::~DataFixture()
{
    sqlite3_close_v2(m_db);
}

QString DataFixture::connectionString() const
{
    return data::buildConnectionString(testenv::programFolder(), kDataFileName);
}

int DataFixture::insert(const QString& table, const FieldValues& values)
{
    QStringList names;
    QStringList marks;
    for (std::size_t i = 0; i < values.size(); ++i) {
        names << values[i].first;
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    const QString sql = values.empty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                             .arg(table, names.join(QLatin1String(", ")),
                                                  marks.join(QLatin1String(", ")));
    Statement stmt(m_db, sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        stmt.bind(static_cast<int>(i + 1), values[i].second);
    stmt.step();
    return static_cast<int>(sqlite3_last_insert_rowid(m_db));
}

int DataFixture::addPerson(const QString& firstName, const QString& lastName,
                           const FieldValues& more)
{
    FieldValues values{{QStringLiteral("Youth_FName"), data::Variant(firstName)},
                       {QStringLiteral("Youth_LName"), data::Variant(lastName)}};
    values.insert(values.end(), more.begin(), more.end());
    return insert(QStringLiteral("Youth"), values);
}

int DataFixture::addPerson(const FieldValues& values)
{
    return insert(QStringLiteral("Youth"), values);
}

int DataFixture::addMeeting(const QDate& date, const FieldValues& more)
{
    FieldValues values{{QStringLiteral("Wk_Date"), data::Variant::date(date)}};
    values.insert(values.end(), more.begin(), more.end());
    return insert(QStringLiteral("Weeks"), values);
}

void DataFixture::addAttendance(int personId, int meetingId)
{
    insert(QStringLiteral("Attendance"),
           {{QStringLiteral("Attend_Youth_ID"), data::Variant(static_cast<std::int32_t>(personId))},
            {QStringLiteral("Attend_Wk_ID"), data::Variant(static_cast<std::int32_t>(meetingId))}});
}

void DataFixture::attend(int meetingId, std::initializer_list<int> personIds)
{
    for (int id : personIds)
        addAttendance(id, meetingId);
}

data::Variant DataFixture::value(const QString& sql)
{
    Statement stmt(m_db, sql);
    if (!stmt.step())
        return data::Variant();
    return stmt.row().front();
}

std::vector<std::vector<data::Variant>> DataFixture::rows(const QString& sql)
{
    Statement stmt(m_db, sql);
    std::vector<std::vector<data::Variant>> out;
    while (stmt.step())
        out.push_back(stmt.row());
    return out;
}

long long DataFixture::count(const QString& table, const QString& where)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return static_cast<long long>(value(sql).number());
}

void DataFixture::exec(const QString& sql)
{
    Statement stmt(m_db, sql);
    while (stmt.step()) {
    }
}

} // namespace testing_support
