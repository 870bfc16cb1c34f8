#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Shows the list of e-mail addresses of a bulk e-mail for copying, when no e-mail message
// could be started for it.
class frmMessage : public QDialog {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* parent = nullptr);
    ~frmMessage() override;

    // Escape, the window's close button and OK all unload the window.
    void reject() override;

    // Shows the one message window with the current list, creating it when none is open.
    static frmMessage* ShowMessage(QWidget* owner);

    QLabel* lblDescription = nullptr;
    QPlainTextEdit* txtContent = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    void Form_Load();
};
