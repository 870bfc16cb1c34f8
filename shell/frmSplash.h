#pragma once

#include <QWidget>

class QLabel;

// The window shown while the program starts.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* imgProduct = nullptr;

private:
    void Form_Load();
};
