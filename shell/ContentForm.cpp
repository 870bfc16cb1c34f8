#include "shell/ContentForm.h"

#include "shell/Forms.h"
#include "shell/TryStep.h"
#include "shell/WindowHelpers.h"

ContentForm::ContentForm(const QString& formName, QWidget* parent) : QWidget(parent)
{
    setObjectName(formName);
}

ContentForm::~ContentForm()
{
    Forms::remove(this);
}

void ContentForm::Load()
{
    if (m_loaded || m_unloaded)
        return;
    m_loaded = true;
    m_originalParent = parentWidget();
    Forms::add(this);
    Form_Load();
}

void ContentForm::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_loaded)
        TryStep("Unloading a screen", [this] { Form_Unload(); });
    hide();
    setParent(nullptr);
    Forms::remove(this);
    deleteLater();
}

void ContentForm::SetParent(QWidget* parent)
{
    Load();
    SetWindowParent(this, parent);
}

PlaceholderScreen::PlaceholderScreen(const QString& formName, QWidget* parent)
    : ContentForm(formName, parent)
{
    setAutoFillBackground(true);
}
