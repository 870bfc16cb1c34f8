#include "platform/ui/Services.h"

#include "platform/ui/RealServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace ui {

Services& services()
{
    static Services instance;
    return instance;
}

void installRealServices()
{
    Services& s = services();
    s.messages = std::make_unique<WidgetMessageBoxes>();
    s.files = std::make_unique<WidgetFileDialogs>();
    s.printing = std::make_unique<WidgetPrintDialogs>();
    s.shell = std::make_unique<DesktopShell>();
    s.clock = std::make_unique<SystemClock>();
    s.settings = std::make_unique<QSettingsStore>();
    s.programFolder.clear();
}

MessageBoxes& messages()
{
    auto& p = services().messages;
    if (!p)
        p = std::make_unique<WidgetMessageBoxes>();
    return *p;
}

FileDialogs& fileDialogs()
{
    auto& p = services().files;
    if (!p)
        p = std::make_unique<WidgetFileDialogs>();
    return *p;
}

PrintDialogs& printDialogs()
{
    auto& p = services().printing;
    if (!p)
        p = std::make_unique<WidgetPrintDialogs>();
    return *p;
}

Shell& shell()
{
    auto& p = services().shell;
    if (!p)
        p = std::make_unique<DesktopShell>();
    return *p;
}

const Clock& clock()
{
    auto& p = services().clock;
    if (!p)
        p = std::make_unique<SystemClock>();
    return *p;
}

SettingsStore& settingsStore()
{
    auto& p = services().settings;
    if (!p)
        p = std::make_unique<QSettingsStore>();
    return *p;
}

QString programFolder()
{
    const QString& folder = services().programFolder;
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

QDate today()
{
    return clock().today();
}

QDateTime now()
{
    return clock().now();
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

FileDialogStart fileDialogStart(const QString& folderOrFile)
{
    const QString path = QDir::fromNativeSeparators(folderOrFile);
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return {path, QString()};
    const QFileInfo file(path);
    FileDialogStart start;
    if (!file.suffix().isEmpty()) {
        start.fileName = file.fileName();
        start.folder = file.path();
    } else {
        start.folder = path;
    }
    if (start.folder.isEmpty() || !QFileInfo(start.folder).isDir())
        start.folder = documentsFolder();
    return start;
}

QString fileNameFor(const QString& caption, const QString& extension)
{
    QString name = caption;
    for (QChar& c : name) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char(' ');
    }
    name = name.simplified();
    if (name.isEmpty())
        name = QStringLiteral("Report");
    return name + QLatin1Char('.') + extension;
}

void information(const QString& text, const QString& title)
{
    messages().show(MessageKind::Information, text, title);
}

void critical(const QString& text, const QString& title)
{
    messages().show(MessageKind::Critical, text, title);
}

void plainMessage(const QString& text, const QString& title)
{
    messages().show(MessageKind::Plain, text, title);
}

bool askYesNo(const QString& text, const QString& title)
{
    return messages().show(MessageKind::Question, text, title) == Answer::Yes;
}

bool askCriticalYesNo(const QString& text, const QString& title)
{
    return messages().show(MessageKind::CriticalYesNo, text, title) == Answer::Yes;
}

Answer askYesNoCancel(const QString& text, const QString& title)
{
    const Answer answer = messages().show(MessageKind::QuestionYesNoCancel, text, title);
    return answer == Answer::Yes || answer == Answer::No ? answer : Answer::Cancel;
}

bool askOkCancel(const QString& text, const QString& title)
{
    return messages().show(MessageKind::QuestionOkCancel, text, title) == Answer::Ok;
}

QString mailtoLink(const QString& addresses)
{
    return QStringLiteral("mailto:") +
           QString::fromLatin1(QUrl::toPercentEncoding(addresses, QByteArrayLiteral("@;+")));
}

} // namespace ui
