#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about dialog: title, maker, version, motto and copyright, with a button that opens the
// product page of the maker's web site.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // Escape, the window's close button and OK all unload the window.
    void reject() override;

    // Shows the one about dialog, creating it when none is open.
    static frmAbout* ShowAbout(QWidget* owner);

    QLabel* lblTitle = nullptr;
    QLabel* lblAuthor = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* picIcon = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdWeb = nullptr;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdWeb_Click();
};
