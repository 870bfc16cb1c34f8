#include "shell/frmMainMDI.h"

frmMainMDI::frmMainMDI(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMainMDI"));
    setWindowTitle(QStringLiteral("Corvessa"));
}

frmMainMDI::~frmMainMDI() = default;

void frmMainMDI::Load() {}

void frmMainMDI::Show()
{
    showMaximized();
}
