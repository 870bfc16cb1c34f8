#include "shell/frmAbout.h"

#include "shell/Branding.h"
#include "shell/Forms.h"
#include "shell/TryStep.h"
#include "platform/ui/Services.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Corvessa"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromUtf8(name));
        return l;
    };
    picIcon = label("picIcon");
    picIcon->setPixmap(ProgramIcon().pixmap(48, 48));
    lblTitle = label("lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    lblAuthor = label("lblAuthor");
    lblVersion = label("lblVersion");
    lblDescription = label("lblDescription");
    lblDisclaimer = label("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdWeb = new QPushButton(QStringLiteral("Visit our web site for the latest help and upgrades"),
                             this);
    cmdWeb->setObjectName(QStringLiteral("cmdWeb"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblAuthor, 1, 1);
    grid->addWidget(lblVersion, 2, 1);
    grid->addWidget(lblDescription, 3, 1);
    grid->addWidget(lblDisclaimer, 4, 1);
    grid->addWidget(cmdWeb, 5, 0, 1, 2);
    grid->addWidget(cmdOK, 6, 1, Qt::AlignRight);
    // Nothing in it grows: the window keeps the size of its contents.
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdWeb, &QPushButton::clicked, this, [this] { cmdWeb_Click(); });
    Form_Load();
}

frmAbout::~frmAbout()
{
    Forms::remove(this);
}

void frmAbout::reject()
{
    Forms::remove(this);
    QDialog::reject();
}

frmAbout* frmAbout::ShowAbout(QWidget* owner)
{
    static QPointer<frmAbout> instance;
    if (!instance) {
        instance = new frmAbout(owner);
        Forms::add(instance);
    }
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}

void frmAbout::Form_Load()
{
    lblTitle->setText(ui::kAppTitle);
    lblAuthor->setText(kMakerName);
    lblVersion->setText(VersionText());
    lblDescription->setText(
        QStringLiteral("Helping youth leaders keep track of the people who matter."));
    lblDisclaimer->setText(CopyrightLine());
}

void frmAbout::cmdOK_Click()
{
    Forms::remove(this);
    close();
}

void frmAbout::cmdWeb_Click()
{
    TryStep("Opening the product page", [] { ui::shell().openUrl(kProductPageUrl); });
    cmdOK_Click();
}
