#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

namespace report {
class Report;
}

// A screen the main window hosts in its content panel. A screen is loaded once (Form_Load
// runs, the parent at that moment is kept as OriginalParent) and unloaded once (Form_Unload
// runs, the window is hidden, taken out of its parent and deleted when control returns to the
// event loop, so a screen may be unloaded from inside one of its own handlers).
class ContentForm : public QWidget {
    Q_OBJECT
public:
    explicit ContentForm(const QString& formName, QWidget* parent = nullptr);
    ~ContentForm() override;

    // Runs Form_Load the first time; nothing more afterwards.
    void Load();
    // Runs Form_Unload and releases the window. A second call does nothing. Errors of
    // Form_Unload are logged and go no further: an unload always completes.
    void Unload();

    bool IsLoaded() const { return m_loaded; }
    bool IsUnloaded() const { return m_unloaded; }

    // Asked before the screen is left (another node, the program's exit): settles what the
    // screen holds, with the same checks as its own Save. True when the screen may go; false
    // when the user chose to stay, for instance to correct a value a check refused or to keep
    // changes that could not be saved.
    virtual bool ReadyToLeave() { return true; }

    // The parent window found when the screen loaded.
    QWidget* OriginalParent() const { return m_originalParent; }
    // The current parent window; setting it loads the screen first, then re-parents it.
    QWidget* Parent() const { return parentWidget(); }
    void SetParent(QWidget* parent);

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}

private:
    QPointer<QWidget> m_originalParent;
    bool m_loaded = false;
    bool m_unloaded = false;
};

// The report preview screen: shows one report and hands control back through ShowReport when
// the user closes it.
class PreviewForm : public ContentForm {
    Q_OBJECT
public:
    using ContentForm::ContentForm;
    // Takes the report to show (the viewer's report source).
    virtual void SetReport(std::shared_ptr<report::Report> report) = 0;
};

// The empty screen a node hosts until its real screen is registered.
class PlaceholderScreen final : public ContentForm {
    Q_OBJECT
public:
    explicit PlaceholderScreen(const QString& formName, QWidget* parent = nullptr);
};
