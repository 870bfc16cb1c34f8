#include "shell/frmMainMDI.h"

#include "shell/Branding.h"
#include "shell/ContentForm.h"
#include "shell/frmAbout.h"
#include "shell/DataFile.h"
#include "shell/DirectoryExport.h"
#include "shell/Forms.h"
#include "shell/frmOptions.h"
#include "shell/Panel.h"
#include "shell/ProgramState.h"
#include "shell/RunMarker.h"
#include "shell/TryStep.h"
#include "shell/ScreenRegistry.h"
#include "shell/WindowHelpers.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Services.h"
#include "platform/ui/Twips.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kKeyRole = Qt::UserRole;

struct NodeInfo {
    const char* key;
    const char* text;
    const char* formName;
    const char* title;
};

// The navigation nodes in their order; a node's index is its position from 1.
constexpr std::array<NodeInfo, 5> kNodes{{
    {"Root", "Start", "frmDefault", "Your Group Today"},
    {"Visitors", "Visitors", "frmDirectory", "Visitors Directory"},
    {"Members", "Members", "frmDirectory", "Members Directory"},
    {"Weekly", "Service Info", "frmServices", "Services/Meetings"},
    {"Reports", "Reports", "frmReports", "Reports"},
}};

// Design sizes of the panels, in twips.
constexpr double kToolbarHeight = 90;
constexpr double kTreeTop = 20;
constexpr double kSplitterWidth = 75;
constexpr int kSplitterBorder = 15;
constexpr double kTitleHeight = 480;
constexpr int kTitleBorder = 15;
constexpr double kMaskLineHeight = 15;

// The working area less a twentieth of it (at least 40 pixels) on every side.
QRect RestoredGeometry(const QRect& available)
{
    const int dx = std::max(40, available.width() / 20);
    const int dy = std::max(40, available.height() / 20);
    return available.adjusted(dx, dy, -dx, -dy);
}

} // namespace

frmMainMDI::frmMainMDI(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMainMDI"));
    setWindowTitle(ui::kAppTitle);
    setWindowIcon(ProgramIcon());
    buildMenus();
    buildPanels();
    setMinimumWidth(ui::twipsToPixels(kMinWindowWidth, this));
    resize(1000, 700);
}

frmMainMDI::~frmMainMDI()
{
    Forms::remove(this);
}

void frmMainMDI::buildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        return a;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuExport = action(mnuFile, "mnuExport", "&Export Directory");
    mnuBackupData = action(mnuFile, "mnuBackupData", "&Backup Data");
    mnuFile->addSeparator();
    mnuExit = action(mnuFile, "mnuExit", "E&xit");

    mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuOptions = action(mnuTools, "mnuOptions", "&Options");

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuOnlineHelp = action(mnuHelp, "mnuOnlineHelp", "&Online Help");
    mnuWebsite = action(mnuHelp, "mnuWebsite", "&Corvessa Website");
    mnuHelp->addSeparator();
    mnuAbout = action(mnuHelp, "mnuAbout", "&About");

    connect(mnuExport, &QAction::triggered, this, [this] { mnuExport_Click(); });
    connect(mnuBackupData, &QAction::triggered, this, [this] { mnuBackupData_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });
    connect(mnuOnlineHelp, &QAction::triggered, this, [] {
        TryStep("Opening the support page", [] { ui::shell().openUrl(kSupportPageUrl); });
    });
    connect(mnuWebsite, &QAction::triggered, this,
            [] { TryStep("Opening the home page", [] { ui::shell().openUrl(kHomePageUrl); }); });
    connect(mnuOptions, &QAction::triggered, this, [this] { mnuOptions_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { frmAbout::ShowAbout(this); });
}

void frmMainMDI::buildPanels()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MDIFormClient"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* toolbar = new Panel(QStringLiteral("Toolbar"), central);
    toolbar->setCaption(QStringLiteral("Toolbar"));
    toolbar->setFixedHeight(ui::twipsToPixels(kToolbarHeight, this));
    Toolbar = toolbar;
    column->addWidget(Toolbar);

    MDIPanel = new QWidget(central);
    MDIPanel->setObjectName(QStringLiteral("MDIPanel"));
    MDIPanel->installEventFilter(this);
    column->addWidget(MDIPanel, 1);
    setCentralWidget(central);

    SSTree1 = new QTreeWidget(MDIPanel);
    SSTree1->setObjectName(QStringLiteral("SSTree1"));
    SSTree1->setHeaderHidden(true);
    SSTree1->setColumnCount(1);
    SSTree1->setRootIsDecorated(true);
    connect(SSTree1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { SSTree1_NodeClick(item); });
    connect(SSTree1, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { SSTree1_NodeClick(item); });

    SplitterPanel = new Panel(QStringLiteral("SplitterPanel"), MDIPanel);
    SplitterPanel->setBorderWidth(kSplitterBorder);
    SplitterPanel->setCursor(Qt::SplitHCursor);
    SplitterPanel->installEventFilter(this);

    TitlePanel = new Panel(QStringLiteral("TitlePanel"), MDIPanel);
    TitlePanel->setBorderWidth(kTitleBorder);
    TitlePanelInner = new Panel(QStringLiteral("TitlePanelInner"), TitlePanel);
    TitlePanelInner->setFrameShape(QFrame::NoFrame);
    TitlePanelInner->setCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont titleFont = TitlePanelInner->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    TitlePanelInner->setFont(titleFont);
    connect(TitlePanel, &Panel::resized, this, [this] { TitlePanel_Resize(); });

    ContentPanel = new Panel(QStringLiteral("ContentPanel"), MDIPanel);
    ContentPanel->setFrameShape(QFrame::NoFrame);
    ContentPanel->setCaption(QStringLiteral("Please Wait..."));
    connect(ContentPanel, &Panel::resized, this, [this] { fitHostedScreen(); });

    MaskPanel = new Panel(QStringLiteral("MaskPanel"), MDIPanel);
    MaskPanel->setFrameShape(QFrame::NoFrame);
    MaskPanel->setAutoFillBackground(true);
    MaskLine = new Panel(QStringLiteral("MaskLine"), MDIPanel);
    MaskLine->setFrameShape(QFrame::NoFrame);
    MaskLine->setAutoFillBackground(true);

    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
}

double frmMainMDI::twips(int pixels) const
{
    return ui::pixelsToTwips(pixels, this);
}

std::int16_t frmMainMDI::NodeIndexOf(const QString& key)
{
    for (std::size_t i = 0; i < kNodes.size(); ++i)
        if (key.compare(QLatin1String(kNodes[i].key), Qt::CaseInsensitive) == 0)
            return static_cast<std::int16_t>(i + 1);
    return 0;
}

void frmMainMDI::Load()
{
    Forms::add(this);
    TryStep("Sizing the main window", [this] {
        setWindowState(windowState() | Qt::WindowMaximized);
        static_cast<Panel*>(Toolbar)->setCaption(QString());
    });
    TryStep("Installing or upgrading the data file", [] {
        program().ThisRun = RunMarker::create();
        UpgradeDataFile();
    });
    TryStep("Building the navigation tree", [this] { addNodes(); });
    TryStep("Expanding the navigation tree", [this] {
        if (QTreeWidgetItem* root = SSTree1->topLevelItem(0))
            root->setExpanded(true);
    });
    TryStep("Opening the Start page", [this] {
        if (QTreeWidgetItem* root = SSTree1->topLevelItem(0))
            SSTree1_NodeClick(root);
    });
    m_splitterLeft = 1650;
}

void frmMainMDI::Show()
{
    // The size the window returns to when it is no longer maximised: inside the screen's
    // working area with room for the frame and title bar a window manager adds, so that the
    // title bar can still be grabbed. The position counts the frame in.
    if (QScreen* s = screen()) {
        const QRect restored = RestoredGeometry(s->availableGeometry());
        resize(restored.size());
        move(restored.topLeft());
    }
    showMaximized();
    float x = static_cast<float>(m_splitterLeft);
    SizeControls(x);
}

void frmMainMDI::addNodes()
{
    SSTree1->clear();
    QTreeWidgetItem* root = nullptr;
    for (const NodeInfo& node : kNodes) {
        QTreeWidgetItem* item = root ? new QTreeWidgetItem(root) : new QTreeWidgetItem(SSTree1);
        item->setText(0, QString::fromUtf8(node.text));
        item->setData(0, kKeyRole, QString::fromUtf8(node.key));
        if (!root)
            root = item;
    }
}

bool frmMainMDI::SSTree1_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return false;
    // The screen shown settles first; when the user stays there, the tree goes on naming it.
    if (m_currentForm && !m_currentForm->ReadyToLeave()) {
        showCurrentNode();
        return false;
    }
    ui::Hourglass hourglass;
    TryStep("Unloading the current screen", [this] { unloadHostedScreens(); });
    m_currentForm = nullptr;
    m_visitorMode = false;

    const QString key = node->data(0, kKeyRole).toString();
    const std::int16_t index = NodeIndexOf(key);
    if (index == 0)
        return false;
    const NodeInfo& info = kNodes[static_cast<std::size_t>(index - 1)];
    m_currentNodeIndex = index;
    const bool opened = TryStep("Opening a screen", [&] {
        m_currentForm = ScreenRegistry::createScreen(QString::fromUtf8(info.formName));
        if (key.toUpper() == QLatin1String("VISITORS"))
            m_visitorMode = true;
        NewContentForm(QString::fromUtf8(info.title));
    });
    // A screen that failed to load leaves the panel showing "Please Wait...", never the
    // title of the screen that was there before.
    if (!opened)
        TitlePanelInner->setCaption(QString());
    return true;
}

QTreeWidgetItem* frmMainMDI::nodeAt(std::int16_t index) const
{
    QTreeWidgetItem* root = SSTree1->topLevelItem(0);
    if (index == 1 || !root)
        return root;
    return index > 1 ? root->child(index - 2) : nullptr;
}

void frmMainMDI::showCurrentNode()
{
    const QSignalBlocker blocker(SSTree1);
    if (QTreeWidgetItem* node = nodeAt(m_currentNodeIndex)) {
        SSTree1->setCurrentItem(node);
        node->setSelected(true);
    }
}

void frmMainMDI::unloadHostedScreens()
{
    QPointer<ContentForm> current = m_currentForm;
    QPointer<ContentForm> covered = m_coveredForm;
    m_coveredForm = nullptr;
    if (current)
        current->Unload();
    if (current == m_preview)
        m_preview = nullptr;
    // The screen a report preview covered goes with the preview.
    if (covered)
        covered->Unload();
}

void frmMainMDI::NewContentForm(const QString& title)
{
    ContentForm* form = m_currentForm;
    if (!form)
        return;
    form->SetParent(ContentPanel);
    form->Load();
    TitlePanelInner->setCaption(QStringLiteral("  ") + title);
    FitWindowToContainer(form, ContentPanel, true, 0);
    form->show();
    form->raise();
}

void frmMainMDI::ClickNode(std::int16_t index)
{
    QTreeWidgetItem* node = nodeAt(index);
    if (!node)
        throw std::out_of_range("There is no navigation node " + std::to_string(index) + ".");
    if (SSTree1_NodeClick(node))
        showCurrentNode();
}

void frmMainMDI::CoverWithPreview(PreviewForm* preview)
{
    if (!preview)
        return;
    if (m_currentForm && m_currentForm != preview) {
        m_coveredForm = m_currentForm;
        m_coveredForm->hide();
    }
    m_preview = preview;
    m_currentForm = preview;
}

void frmMainMDI::fitHostedScreen()
{
    if (QWidget* hosted = GetFirstChildWindow(ContentPanel))
        FitWindowToContainer(hosted, ContentPanel, true, 0);
}

void frmMainMDI::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    MDIForm_Resize();
}

void frmMainMDI::MDIForm_Resize()
{
    if (isMinimized())
        return;
    // The narrowest width (3000 twips) is held by the window's minimum width.
    TryStep("Laying out the main window", [this] { MDIPanel_Resize(); });
    TryStep("Fitting the hosted screen", [this] { fitHostedScreen(); });
}

void frmMainMDI::MDIPanel_Resize()
{
    float x = static_cast<float>(m_splitterLeft);
    SizeControls(x);
}

ShellMetrics frmMainMDI::metrics() const
{
    ShellMetrics m;
    m.mdiPanelWidth = twips(MDIPanel->width());
    // Measured as the working area below the menu bar, toolbar and status bar included; the
    // layout takes both off again for the tree.
    const bool statusVisible = sbStatusBar && sbStatusBar->isVisibleTo(this);
    m.toolbarHeight = twips(Toolbar->height());
    m.statusBarHeight = statusVisible ? twips(sbStatusBar->height()) : 0;
    m.statusBarVisible = statusVisible;
    m.mdiPanelHeight = twips(MDIPanel->height()) + m.toolbarHeight + m.statusBarHeight;
    m.treeTop = kTreeTop;
    m.splitterWidth = kSplitterWidth;
    m.splitterBorder = SplitterPanel->BorderWidth();
    m.splitterBevel = SplitterPanel->BevelWidth();
    m.titleHeight = kTitleHeight;
    m.titleBorder = TitlePanel->BorderWidth();
    m.titleBevel = TitlePanel->BevelWidth();
    m.titleInnerLeft = 90;
    m.titleInnerBevel = TitlePanelInner->BevelWidth();
    m.maskLineHeight = kMaskLineHeight;
    return m;
}

void frmMainMDI::SizeControls(float& x)
{
    double width = x;
    const ShellLayout layout = ComputeShellLayout(width, metrics());
    x = static_cast<float>(width);
    m_splitterLeft = width;
    applyLayout(layout);
}

void frmMainMDI::applyLayout(const ShellLayout& l)
{
    ui::place(SSTree1, l.tree);
    ui::place(SplitterPanel, l.splitter);
    ui::place(TitlePanel, l.title);
    ui::place(ContentPanel, l.content);
    ui::place(MaskPanel, l.mask);
    ui::place(MaskLine, l.maskLine);
    MaskPanel->raise();
    MaskLine->raise();
}

void frmMainMDI::TitlePanel_Resize()
{
    ui::place(TitlePanelInner,
              TitleInnerRect(twips(TitlePanel->width()), twips(TitlePanel->height())));
}

bool frmMainMDI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MDIPanel && event->type() == QEvent::Resize) {
        TryStep("Laying out the main window", [this] { MDIPanel_Resize(); });
    } else if (watched == SplitterPanel) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_dragging = true;
            return true;
        case QEvent::MouseMove:
            if (m_dragging) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const double left = DraggedSplitterLeft(
                    m_splitterLeft, twips(mouse->position().toPoint().x()), twips(width()));
                m_splitterLeft = left;
                SplitterPanel->move(ui::twipsToPixels(left, this), SplitterPanel->y());
            }
            return true;
        case QEvent::MouseButtonRelease: {
            float x = static_cast<float>(m_splitterLeft);
            TryStep("Laying out the main window", [&] { SizeControls(x); });
            m_dragging = false;
            return true;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMDI::closeEvent(QCloseEvent* event)
{
    // The screen shown settles first; the user may choose to stay in it.
    if (!m_unloaded && m_currentForm && !m_currentForm->ReadyToLeave()) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

void frmMainMDI::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    TryStep("Unloading the current screen", [this] { unloadHostedScreens(); });
    TryStep("Unloading the open windows", [this] {
        const QList<QWidget*> windows = Forms::all();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            QWidget* window = *it;
            if (window == this)
                continue;
            window->hide();
            Forms::unload(window);
        }
    });
    TryStep("Backing up the data file", [] { AutomaticBackupAtExit(); });
    m_currentForm = nullptr;
    program().ThisRun.reset();
}

void frmMainMDI::mnuBackupData_Click()
{
    BackupResult result = BackupResult::Failed;
    QString cause;
    const QString name = BackupDataFile(&result, &cause);
    if (result == BackupResult::DataFileDamaged) {
        ui::critical(DamagedDataFileText(false));
        return;
    }
    if (name.isEmpty()) {
        ui::critical(BackupFailedText(cause));
        return;
    }
    ui::information(
        QStringLiteral("Data backed up to ") + DataFilePath(name) +
        QStringLiteral(". You can manually copy this file elsewhere (such as a floppy) for "
                       "safe keeping."));
}

void frmMainMDI::mnuExport_Click()
{
    ExportDirectory();
}

void frmMainMDI::mnuOptions_Click()
{
    frmOptions::ShowOptions(this);
}
