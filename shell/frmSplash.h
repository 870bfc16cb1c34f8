#pragma once

#include <QWidget>

class QLabel;

// The window shown while the program starts.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Shows the window centred on the screen and paints it now, before the long load that
    // follows gives the window system no chance to: a window manager maps a window in its own
    // time, so this waits (briefly) until the window can be drawn on.
    void ShowAndPaint();

    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* imgProduct = nullptr;

private:
    void Form_Load();
};
