#include "stats/QueryRows.h"

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"

namespace stats {

namespace {

template <class Step> QString failureOf(Step&& step)
{
    try {
        step();
        return QString();
    } catch (const data::DataError& e) {
        return e.description().isEmpty() ? QStringLiteral("The data file could not be read.")
                                         : e.description();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

} // namespace

QString OpenStatsConnection(data::Connection& connection, const QString& connectionString)
{
    return failureOf([&] {
        if (connection.State() == data::adStateOpen)
            return;
        connection.setCursorLocation(data::adUseClient);
        connection.Open(connectionString, QString(), QString(), -1);
    });
}

QString ReadQueryRows(data::Connection& connection, const QString& sql,
                      const std::function<void(data::Recordset&)>& read,
                      data::CursorTypeEnum cursorType, data::LockTypeEnum lockType)
{
    return failureOf([&] {
        data::Recordset rs;
        rs.Open(sql, connection, cursorType, lockType, -1);
        while (!rs.EOF()) {
            read(rs);
            rs.MoveNext();
        }
        rs.Close();
    });
}

} // namespace stats
