#include "people/SendEmail.h"

#include "shell/Helpers.h"
#include "shell/TryStep.h"
#include "platform/ui/Services.h"

void SendEmailTo(const QString& address)
{
    if (!IsValidEmail(address)) {
        ui::critical(QStringLiteral("This is not a valid e-mail address in the form '") +
                         kExampleEmailAddress + QStringLiteral("'.  No message can be sent."),
                     QStringLiteral("Invalid E-mail Address"));
        return;
    }
    if (address.isEmpty())
        return;
    TryStep("Starting the e-mail message", [&] { ui::shell().openUrl(ui::mailtoLink(address)); });
}
