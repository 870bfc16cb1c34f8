#pragma once

#include <QMainWindow>

// The program's main window.
class frmMainMDI : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMainMDI(QWidget* parent = nullptr);
    ~frmMainMDI() override;

    void Load();
    void Show();
};
