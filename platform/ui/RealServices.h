#pragma once

#include "platform/ui/Services.h"

#include <QString>

namespace ui {

// The window a message box belongs to, and stands in front of: the active window or, when none
// is active (a splash during the start-up, another program active), a window of the program on
// screen; nullptr when none is.
QWidget* messageParent();

class WidgetMessageBoxes final : public MessageBoxes {
public:
    Answer show(MessageKind kind, const QString& text, const QString& title) override;
};

class WidgetFileDialogs final : public FileDialogs {
public:
    QString saveFileName(const QString& title, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter,
                         int filterIndex = 1) override;
};

class WidgetPrintDialogs final : public PrintDialogs {
public:
    bool choosePrinter(QPrinter& printer, QWidget* parent) override;
};

class DesktopShell final : public Shell {
public:
    bool openUrl(const QString& address) override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

// The settings store over an INI file of QSettings. By default the per-user file of the
// application title (~/.config/Corvessa/Corvessa.ini on Linux).
class QSettingsStore final : public SettingsStore {
public:
    QSettingsStore();
    explicit QSettingsStore(const QString& iniFile);

    std::optional<QString> read(const QString& section, const QString& key) const override;
    void write(const QString& section, const QString& key, const QString& value) override;

    QString fileName() const { return m_file; }

private:
    QString m_file;
};

// "Text (*.txt)|*.txt|All|*.*" as Qt's "Text (*.txt);;All (*.*)". A description whose own
// parentheses are not the patterns ("Pictures (*.gif, *.jpg, etc.)") is followed by them, so
// that the dialog filters by the patterns.
QString qtFilterFromPipes(const QString& filter);

} // namespace ui
