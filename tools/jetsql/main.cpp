// jetsql: runs statements in the Jet dialect against a data file and prints the rows.
//
//   jetsql [--translate] DATAFILE [STATEMENT]
//
// Without STATEMENT, reads the statements from standard input, separated by lines that start
// with "-- " (the separator lines are echoed). Rows are printed tab-separated under a header
// row; Null is an empty field, dates are m/d/yyyy (with the time when there is one), Yes/No is
// True/False. --translate prints the SQLite text of each statement instead of running it.
// Exits 1 at the first failing statement, with the error on standard error.
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/LocaleText.h"
#include "platform/data/Recordset.h"
#include "platform/data/Session.h"
#include "platform/data/Translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <vector>

namespace {

struct Block {
    QString separator; // the "-- " line before it, if any
    QString statement;
};

std::vector<Block> splitInput(const QString& input)
{
    std::vector<Block> blocks(1);
    const QStringList lines = input.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1String("-- ")) || line == QLatin1String("--")) {
            blocks.push_back({line, QString()});
            continue;
        }
        blocks.back().statement += line + QLatin1Char('\n');
    }
    std::vector<Block> out;
    for (Block& b : blocks) {
        b.statement = b.statement.trimmed();
        if (!b.statement.isEmpty())
            out.push_back(std::move(b));
    }
    return out;
}

QString cellText(const data::Variant& v)
{
    using T = data::Variant::Type;
    switch (v.type()) {
    case T::Empty:
    case T::Null:
        return QString();
    case T::Boolean:
        return v.number() != 0.0 ? QStringLiteral("True") : QStringLiteral("False");
    case T::Date: {
        const QDateTime dt = v.toQDateTime();
        QString text = data::text::formatUsDate(dt.date());
        if (data::jetdate::hasTime(v.number()))
            text +=
                QLatin1Char(' ') + QLocale::c().toString(dt.time(), QStringLiteral("h:mm:ss AP"));
        return text;
    }
    case T::String: {
        QString t = v.text();
        t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        t.replace(QLatin1Char('\t'), QLatin1String("\\t"));
        t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        t.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        return t;
    }
    default:
        return QLocale::c().toString(v.number(), 'g', 15);
    }
}

void run(data::Connection& conn, const QString& statement, bool translateOnly, QTextStream& out)
{
    const auto translation = data::Translator::translate(conn.session()->catalog(), statement);
    if (translateOnly) {
        out << translation->sql << '\n';
        return;
    }
    if (translation->kind != data::Translation::Kind::Select) {
        const long changed = conn.Execute(statement);
        out << changed << " row(s) affected\n";
        return;
    }
    data::Recordset rs;
    rs.Open(statement, conn, data::adOpenStatic, data::adLockReadOnly);
    const int fields = rs.Fields().Count();
    QStringList header;
    for (int f = 0; f < fields; ++f)
        header << rs.Fields(f).Name();
    out << header.join(QLatin1Char('\t')) << '\n';
    while (!rs.EOF()) {
        QStringList cells;
        for (int f = 0; f < fields; ++f)
            cells << cellText(rs.Fields(f).Value());
        out << cells.join(QLatin1Char('\t')) << '\n';
        rs.MoveNext();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool translateOnly = args.removeAll(QStringLiteral("--translate")) > 0;
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.size() > 2 || args.first().startsWith(QLatin1Char('-'))) {
        err << "usage: jetsql [--translate] DATAFILE [STATEMENT]\n"
               "Without STATEMENT, the statements are read from standard input, separated by\n"
               "lines that start with \"-- \".\n";
        return 2;
    }
    std::vector<Block> blocks;
    if (args.size() == 2) {
        blocks.push_back({QString(), args[1]});
    } else {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            err << "jetsql: cannot read standard input\n";
            return 1;
        }
        blocks = splitInput(QString::fromUtf8(in.readAll()));
    }

    data::Connection conn;
    try {
        conn.Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                  QFileInfo(args[0]).absoluteFilePath() + QLatin1Char(';'));
    } catch (const data::DataError& e) {
        err << "jetsql: " << e.what() << '\n';
        return 1;
    }
    for (const Block& b : blocks) {
        if (!b.separator.isEmpty())
            out << b.separator << '\n';
        try {
            run(conn, b.statement, translateOnly, out);
        } catch (const data::DataError& e) {
            out.flush();
            err << "jetsql: " << e.what() << '\n';
            return 1;
        }
        out.flush();
    }
    return 0;
}
