#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The options dialog: the thirteen settings the user edits (the group's name and country,
// what a visitor needs before counting as contacted, when a visitor becomes a member, the
// reminder switches and the week counts of the status rules), on four tabs. It reads its keys
// straight from the settings store when it opens and writes them back on OK or Apply, then has
// the settings object forget its cached week counts. It never blocks the main window.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);
    ~frmOptions() override;

    // Shows the one options dialog; a new one, reading the store afresh, when none is open.
    static frmOptions* ShowOptions(QWidget* owner);

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 4> picOptions{};

    QLineEdit* txtGroupName = nullptr;
    QComboBox* Select_Country = nullptr;
    QCheckBox* chkVisReqLetter = nullptr;
    QCheckBox* chkVisReqCall = nullptr;
    QCheckBox* chkVisReqVisit = nullptr;
    QComboBox* Select_AutoGradWeeks = nullptr;
    QCheckBox* chkAutoGradVisitor = nullptr;
    QCheckBox* chkRmndGrads = nullptr;
    QCheckBox* chkRmndInactiveBday = nullptr;
    QCheckBox* chkRmndBackup = nullptr;
    QComboBox* Select_MIAWeeks = nullptr;
    QComboBox* Select_InactiveWeeks = nullptr;
    QCheckBox* chkAutoGradSchool = nullptr;

    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

protected:
    // The dialog sees every key before its controls do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void FillOptionLists();
    void LoadOptions();
    // False when a key could not be stored (the user has been told why).
    bool SaveOptions();
    void tbsOptions_Click();
    bool Form_KeyDown(const QKeyEvent& key);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();

    // The control that edits each key of keys::kOptionKeys, in the same order.
    std::array<QWidget*, 13> m_editors{};
};
