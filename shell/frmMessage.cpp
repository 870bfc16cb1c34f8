#include "shell/frmMessage.h"

#include "shell/Forms.h"
#include "shell/ProgramState.h"
#include "platform/ui/Services.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmMessage::frmMessage(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(ui::kAppTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setText(QStringLiteral(
        "Corvessa was unable to startup a new e-mail message for you.  Instead, here is a list of "
        "matching recipients you can copy to your e-mail program using Copy (Ctrl+C) and Paste "
        "(Ctrl+V)."));
    txtContent = new QPlainTextEdit(this);
    txtContent->setObjectName(QStringLiteral("txtContent"));
    txtContent->setReadOnly(true);
    txtContent->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDescription);
    layout->addWidget(txtContent, 1);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    resize(520, 360);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        Forms::remove(this);
        close();
    });
    Form_Load();
}

frmMessage::~frmMessage()
{
    Forms::remove(this);
}

void frmMessage::reject()
{
    Forms::remove(this);
    QDialog::reject();
}

void frmMessage::Form_Load()
{
    txtContent->setPlainText(program().BulkEmailList);
}

frmMessage* frmMessage::ShowMessage(QWidget* owner)
{
    static QPointer<frmMessage> instance;
    if (!instance) {
        instance = new frmMessage(owner);
        Forms::add(instance);
    } else {
        // Already open from an earlier e-mail: show the list of this one.
        instance->Form_Load();
    }
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}
