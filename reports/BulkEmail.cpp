#include "reports/BulkEmail.h"

#include "reports/ReportData.h"
#include "shell/ProgramState.h"
#include "shell/TryStep.h"
#include "shell/frmMessage.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"

#include <exception>

namespace bulkemail {

QString QueryText(const QString& reportFilter)
{
    QString sql = QStringLiteral("SELECT DISTINCT Youth_Email From Youth ") +
                  QStringLiteral("WHERE Youth_Email <> '' and Youth_Email IS NOT NULL AND "
                                 "Youth_Deleted = False ");
    if (!reportFilter.isEmpty())
        sql += QStringLiteral(" AND ") + reportFilter;
    return sql + QLatin1Char(';');
}

namespace {

void showList(const QString& list, QWidget* owner)
{
    program().BulkEmailList = list;
    frmMessage::ShowMessage(owner);
}

} // namespace

void Deliver(const QString& list, QWidget* owner)
{
    program().BulkEmailList.clear();
    if (list.isEmpty()) {
        ui::critical(QStringLiteral("No one matching your criteria has an e-mail address in "
                                    "their member profile."),
                     QStringLiteral("No matching e-mail addresses"));
        return;
    }
    if (list.size() >= kLinkLimit) {
        showList(list, owner);
        return;
    }
    bool started = false;
    TryStep("Starting the e-mail message",
            [&] { started = ui::shell().openUrl(ui::mailtoLink(list)); });
    if (!started)
        showList(list, owner);
}

} // namespace bulkemail

void SendBulkEmail(QWidget* owner)
{
    QString list;
    QString failure;
    bool failed = false;
    {
        ui::Hourglass hourglass;
        try {
            for (const QString& address :
                 ReadColumnTexts(bulkemail::QueryText(program().ReportFilter), false))
                list += address + QStringLiteral("; ");
        } catch (const std::exception& e) {
            failed = true;
            failure = QString::fromUtf8(e.what());
        }
    }
    if (failed) {
        program().BulkEmailList.clear();
        ui::critical(QStringLiteral("The e-mail addresses could not be read from the data "
                                    "file.\n\n") +
                     failure);
        return;
    }
    bulkemail::Deliver(list, owner);
}
