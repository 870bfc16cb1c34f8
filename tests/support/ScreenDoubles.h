#pragma once

#include "shell/ContentForm.h"
#include "shell/ScreenRegistry.h"
#include "platform/report/Report.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class frmMainMDI;

namespace testing_support {

// What happened to the test screens, in order: "load frmDefault#1", "unload frmDefault#1", ...
struct ScreenLog {
    QStringList events;
    int created = 0;
};

// A screen that records its load and unload, and can run a test's code at load.
class RecordingScreen : public ContentForm {
    Q_OBJECT
public:
    RecordingScreen(const QString& formName, ScreenLog& log);
    ~RecordingScreen() override;

    QString tag() const { return m_tag; }
    std::function<void(RecordingScreen&)> onLoad;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    ScreenLog& m_log;
    QString m_tag;
};

// A preview that records the report it was given and returns through ShowReport when the
// user closes it, as the real preview does.
class RecordingPreview : public PreviewForm {
    Q_OBJECT
public:
    explicit RecordingPreview(ScreenLog& log);
    void SetReport(std::shared_ptr<report::Report> report) override;
    std::shared_ptr<report::Report> report() const { return m_report; }
    // The user's Close command.
    void CloseByUser();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    ScreenLog& m_log;
    std::shared_ptr<report::Report> m_report;
    bool m_closingByUser = false;
};

// Registers recording screens under the five screen names and the preview name for the
// lifetime of the object.
class RecordingScreens {
public:
    RecordingScreens();
    ~RecordingScreens();
    ScreenLog log;
    // Runs at the load of every screen created from now on.
    std::function<void(RecordingScreen&)> onLoad;
};

// Clicks the navigation tree's node with this text, as the user does with the mouse.
void clickTreeNode(frmMainMDI& main, const QString& text);
// The text of the node the tree highlights.
QString highlightedNode(frmMainMDI& main);

// A report with a caption and nothing else.
class CaptionOnlyReport : public report::Report {
public:
    explicit CaptionOnlyReport(const QString& caption) { setCaption(caption); }
};

} // namespace testing_support
