#include "shell/frmSplash.h"

#include "shell/Branding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

frmSplash::frmSplash(QWidget* parent)
    // Not kept on top: a message shown during the start-up must come in front of it.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xF4, 0xF1, 0xE8));
    setPalette(pal);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    imgProduct = new QLabel(QStringLiteral("Corvessa"), frame);
    imgProduct->setObjectName(QStringLiteral("imgProduct"));
    QFont big = imgProduct->font();
    big.setPointSize(36);
    big.setBold(true);
    imgProduct->setFont(big);
    imgProduct->setAlignment(Qt::AlignCenter);
    imgProduct->setStyleSheet(QStringLiteral("color: #1f4e79;"));

    auto* subtitle = new QLabel(kProductFullName, frame);
    subtitle->setAlignment(Qt::AlignCenter);

    lblVersion = new QLabel(frame);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblCopyright = new QLabel(frame);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblWarning = new QLabel(frame);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setWordWrap(true);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 24, 24, 18);
    layout->addWidget(imgProduct);
    layout->addWidget(subtitle);
    layout->addSpacing(18);
    layout->addWidget(lblVersion);
    layout->addWidget(lblCopyright);
    layout->addWidget(lblWarning);

    Form_Load();
    setFixedSize(480, 300);
}

void frmSplash::Form_Load()
{
    for (QLabel* label : {lblVersion, lblCopyright, lblWarning})
        label->setFrameShape(QFrame::NoFrame);
    lblVersion->setText(VersionText());
    lblCopyright->setText(CopyrightLine());
    lblWarning->setText(QStringLiteral(
        "All rights reserved. This program is protected by copyright law. Unauthorized "
        "reproduction or distribution of this program, or any portion of it, is prohibited."));
}

void frmSplash::ShowAndPaint()
{
    if (QScreen* s = screen()) {
        QRect area(QPoint(0, 0), size());
        area.moveCenter(s->availableGeometry().center());
        move(area.topLeft());
    }
    show();
    constexpr int kMostWaitMs = 2000;
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kMostWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
