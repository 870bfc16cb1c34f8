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
    bool started = false;
    TryStep("Starting the e-mail message",
            [&] { started = ui::shell().openUrl(ui::mailtoLink(address)); });
    if (!started)
        ui::critical(QStringLiteral("Corvessa was unable to start a new e-mail message for you: "
                                    "no e-mail program could be opened.  You can copy the "
                                    "address into your e-mail program instead:\n\n") +
                     address);
}
