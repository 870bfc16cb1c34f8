#include "tools/render-report/RenderReport.h"

#include "platform/data/ConnectionString.h"
#include "platform/report/Engine.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "shell/ProgramState.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace tools {

namespace {

// Message boxes written to a stream; every question gets its default answer.
class StreamMessageBoxes final : public ui::MessageBoxes {
public:
    explicit StreamMessageBoxes(QTextStream& out) : m_out(out) {}

    ui::Answer show(ui::MessageKind kind, const QString& text, const QString& title) override
    {
        m_out << "[" << title << "] " << text << Qt::endl;
        switch (kind) {
        case ui::MessageKind::Question:
            return ui::Answer::Yes;
        case ui::MessageKind::CriticalYesNo:
            return ui::Answer::No;
        default:
            return ui::Answer::Ok;
        }
    }

private:
    QTextStream& m_out;
};

bool readNumber(const QCommandLineParser& parser, const QString& option, std::int32_t& out,
                QTextStream& err)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok) {
        err << "--" << option << " needs a whole number, not \"" << parser.value(option) << "\""
            << Qt::endl;
        return false;
    }
    out = value;
    return true;
}

} // namespace

int renderReport(const QStringList& arguments, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a report layout on the data file of a program folder and writes "
                       "its pages to a PDF file."));
    parser.addPositionalArgument(QStringLiteral("LAYOUT"),
                                 QStringLiteral("The layout's name, e.g. rptDirectory."));
    parser.addPositionalArgument(QStringLiteral("PROGRAMFOLDER"),
                                 QStringLiteral("The folder holding CorvessaData.mdb."));
    parser.addPositionalArgument(QStringLiteral("OUT.pdf"), QStringLiteral("The PDF to write."));
    const QCommandLineOption filter(
        QStringLiteral("filter"), QStringLiteral("The report condition."), QStringLiteral("TEXT"));
    const QCommandLineOption sort(QStringLiteral("sort"), QStringLiteral("The sort list."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption option(QStringLiteral("option"),
                                    QStringLiteral("The option word (MIA, SCHOOL, BARCODE)."),
                                    QStringLiteral("WORD"));
    const QCommandLineOption line1(QStringLiteral("line1"), QStringLiteral("Free text line 1."),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption line2(QStringLiteral("line2"), QStringLiteral("Free text line 2."),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption combine(QStringLiteral("combine"),
                                     QStringLiteral("One mailing label per address."));
    const QCommandLineOption weekId(QStringLiteral("week-id"),
                                    QStringLiteral("The meeting for the roll sheet."),
                                    QStringLiteral("N"));
    const QCommandLineOption youthId(QStringLiteral("youth-id"),
                                     QStringLiteral("The person for the profile sheet."),
                                     QStringLiteral("N"));
    parser.addOptions({filter, sort, option, line1, line2, combine, weekId, youthId});
    const QCommandLineOption help = parser.addHelpOption();

    if (!parser.parse(arguments)) {
        err << parser.errorText() << Qt::endl;
        return BadArguments;
    }
    if (parser.isSet(help)) {
        err << parser.helpText();
        return BadArguments;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 3) {
        err << "Usage: render-report LAYOUT PROGRAMFOLDER OUT.pdf [options]" << Qt::endl;
        return BadArguments;
    }
    const QString layoutName = positional[0];
    const QString folder = QDir(positional[1]).absolutePath();
    const QString output = positional[2];

    ProgramState& state = program();
    if (!readNumber(parser, weekId.names().first(), state.ReportWeekID, err) ||
        !readNumber(parser, youthId.names().first(), state.SelectedYouthID, err))
        return BadArguments;
    state.ReportFilter = parser.value(filter);
    state.ReportSort = parser.value(sort);
    state.ReportOption = parser.value(option);
    state.ReportLine1 = parser.value(line1);
    state.ReportLine2 = parser.value(line2);
    state.ReportCombineAddresses = parser.isSet(combine);
    state.ConnectionString =
        data::buildConnectionString(folder, QStringLiteral("CorvessaData.mdb"));
    ui::services().programFolder = folder;
    ui::services().messages = std::make_unique<StreamMessageBoxes>(err);

    std::shared_ptr<report::Report> layout;
    try {
        layout = report::createLayout(layoutName);
    } catch (const std::exception& e) {
        err << layoutName << " could not be created: " << e.what() << Qt::endl;
        return LayoutFailed;
    }
    if (!layout) {
        err << "No layout is named \"" << layoutName
            << "\". Known layouts: " << report::registeredLayouts().join(QStringLiteral(", "))
            << Qt::endl;
        return UnknownLayout;
    }

    std::shared_ptr<const report::Document> document;
    try {
        document = report::run(*layout);
    } catch (const std::exception& e) {
        err << layoutName << " could not run: " << e.what() << Qt::endl;
        return LayoutFailed;
    }
    for (const report::RunError& e : document->errors())
        err << layoutName << ": " << e.handler << " failed on page " << e.page << ": " << e.message
            << Qt::endl;

    QString error;
    if (!document->exportPdf(output, &error)) {
        err << error << Qt::endl;
        return NotWritten;
    }
    return document->errors().empty() ? Rendered : RanWithErrors;
}

} // namespace tools
