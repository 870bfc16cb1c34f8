#pragma once

#include "shell/ContentForm.h"
#include "shell/ShellLayout.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

class Panel;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

// The program's main window: the navigation tree on the left, the hosted screen on the right
// under its title, the File, Tools and Help menus. It installs or upgrades the data file when
// it loads, and unloads everything and backs up the data file when it closes.
class frmMainMDI : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMainMDI(QWidget* parent = nullptr);
    ~frmMainMDI() override;

    // The public members screens reach the shell through.
    bool VisitorMode() const { return m_visitorMode; }
    ContentForm* CurrentForm() const { return m_currentForm; }
    void setCurrentForm(ContentForm* form) { m_currentForm = form; }
    bool EvalsDone() const { return m_evalsDone; }
    void setEvalsDone(bool done) { m_evalsDone = done; }
    std::int16_t CurrentNodeIndex() const { return m_currentNodeIndex; }
    void SizeControls(float& x);
    void ClickNode(std::int16_t index);
    void NewContentForm(const QString& title);

    // Loads the window (installs or upgrades the data file, builds the tree, shows the Start
    // page) and shows it.
    void Load();
    void Show();

    // Hosts the report preview over the current screen, which stays loaded but hidden until
    // the preview goes.
    void CoverWithPreview(PreviewForm* preview);
    // The preview hosted now, if any.
    PreviewForm* Preview() const { return m_preview; }

    // The node index for a node key ("Root", "Visitors", ...); 0 for an unknown key.
    static std::int16_t NodeIndexOf(const QString& key);

    // Controls, named as the layout names them.
    QWidget* Toolbar = nullptr;
    QWidget* MDIPanel = nullptr;
    QTreeWidget* SSTree1 = nullptr;
    Panel* SplitterPanel = nullptr;
    Panel* TitlePanel = nullptr;
    Panel* TitlePanelInner = nullptr;
    Panel* ContentPanel = nullptr;
    Panel* MaskPanel = nullptr;
    Panel* MaskLine = nullptr;
    QStatusBar* sbStatusBar = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuTools = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuBackupData = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuOnlineHelp = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuAbout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildPanels();
    void addNodes();
    // False when the node was not opened (the current screen asked to stay).
    bool SSTree1_NodeClick(QTreeWidgetItem* node);
    QTreeWidgetItem* nodeAt(std::int16_t index) const;
    // Highlights the node of the screen shown.
    void showCurrentNode();
    void MDIForm_Resize();
    void MDIPanel_Resize();
    void TitlePanel_Resize();
    void MDIForm_Unload();
    void mnuExport_Click();
    void mnuBackupData_Click();
    void mnuOptions_Click();
    void unloadHostedScreens();
    void fitHostedScreen();
    ShellMetrics metrics() const;
    void applyLayout(const ShellLayout& layout);
    double twips(int pixels) const;

    ContentForm* m_currentForm = nullptr;
    QPointer<ContentForm> m_coveredForm;
    QPointer<PreviewForm> m_preview;
    bool m_visitorMode = false;
    bool m_evalsDone = false;
    bool m_dragging = false;
    bool m_unloaded = false;
    std::int16_t m_currentNodeIndex = 0;
    double m_splitterLeft = 1650; // twips
};
