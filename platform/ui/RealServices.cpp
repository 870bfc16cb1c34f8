#include "platform/ui/RealServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QUrl>

namespace ui {

QWidget* messageParent()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() &&
            (type == Qt::Window || type == Qt::SplashScreen || type == Qt::Dialog))
            shown = w;
    }
    return shown;
}

Answer WidgetMessageBoxes::show(MessageKind kind, const QString& text, const QString& title)
{
    QWidget* parent = messageParent();
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(parent, title, text);
        return Answer::Ok;
    case MessageKind::Critical:
        QMessageBox::critical(parent, title, text);
        return Answer::Ok;
    case MessageKind::Plain: {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
        return Answer::Ok;
    }
    case MessageKind::Question:
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes
                   ? Answer::Yes
                   : Answer::No;
    case MessageKind::CriticalYesNo:
        return QMessageBox::critical(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes
                   ? Answer::Yes
                   : Answer::No;
    case MessageKind::QuestionYesNoCancel:
        switch (QMessageBox::question(parent, title, text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    case MessageKind::QuestionOkCancel:
        return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok
                   ? Answer::Ok
                   : Answer::Cancel;
    }
    return Answer::Ok;
}

QString qtFilterFromPipes(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shown = QStringLiteral("(%1)").arg(patterns.simplified());
        if (!description.endsWith(shown))
            description += QLatin1Char(' ') + shown;
        out << description;
    }
    return out.join(QStringLiteral(";;"));
}

QString WidgetFileDialogs::saveFileName(const QString& title, const QString& folder,
                                        const QString& filter, const QString& defaultSuffix)
{
    const FileDialogStart start = fileDialogStart(folder);
    QFileDialog dialog(QApplication::activeWindow(), title, start.folder,
                       qtFilterFromPipes(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!start.fileName.isEmpty())
        dialog.selectFile(start.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString WidgetFileDialogs::openFileName(const QString& title, const QString& folder,
                                        const QString& filter, int filterIndex)
{
    const QString filters = qtFilterFromPipes(filter);
    QFileDialog dialog(QApplication::activeWindow(), title, fileDialogStart(folder).folder,
                       filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList names = filters.split(QStringLiteral(";;"));
    if (filterIndex >= 1 && filterIndex <= names.size())
        dialog.selectNameFilter(names.at(filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool WidgetPrintDialogs::choosePrinter(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopShell::openUrl(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

QSettingsStore::QSettingsStore()
{
    QSettings probe(QSettings::IniFormat, QSettings::UserScope, kAppTitle, kAppTitle);
    m_file = probe.fileName();
}

QSettingsStore::QSettingsStore(const QString& iniFile) : m_file(iniFile) {}

namespace {

// The stored spelling of a name that matches without regard to case, or the name itself.
QString storedSpelling(const QStringList& names, const QString& wanted)
{
    for (const QString& name : names)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return wanted;
}

} // namespace

namespace {

// The files found damaged, with the size and time they had then: the settings library reads a
// file once and answers later readers from memory, saying nothing more of the damage.
struct Damaged {
    qint64 size;
    QDateTime modified;
};
QHash<QString, Damaged>& damagedFiles()
{
    static QHash<QString, Damaged> files;
    return files;
}

// Why the store's file cannot be read, in the system's words, or empty text when it can (or is
// not there yet: an absent file is an empty store).
QString unreadableReason(const QSettings& settings, const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return QString();
    if (info.isDir())
        return QStringLiteral("it is a folder, not a file");
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly))
        return probe.errorString();
    const Damaged stamp{info.size(), info.lastModified()};
    auto known = damagedFiles().find(file);
    if (settings.status() == QSettings::FormatError ||
        (known != damagedFiles().end() && known->size == stamp.size &&
         known->modified == stamp.modified)) {
        damagedFiles().insert(file, stamp);
        return QStringLiteral("it is damaged or is not a settings file");
    }
    if (settings.status() == QSettings::AccessError)
        return QStringLiteral("it cannot be read");
    return QString();
}

void requireReadable(const QSettings& settings, const QString& file)
{
    const QString reason = unreadableReason(settings, file);
    if (!reason.isEmpty())
        throw SettingsStoreError(QStringLiteral("The settings file %1 cannot be read: %2.")
                                     .arg(QDir::toNativeSeparators(file), reason)
                                     .toStdString());
}

} // namespace

std::optional<QString> QSettingsStore::read(const QString& section, const QString& key) const
{
    QSettings settings(m_file, QSettings::IniFormat);
    requireReadable(settings, m_file);
    const QString group = storedSpelling(settings.childGroups(), section);
    settings.beginGroup(group);
    const QString name = storedSpelling(settings.childKeys(), key);
    if (!settings.contains(name))
        return std::nullopt;
    return settings.value(name).toString();
}

void QSettingsStore::write(const QString& section, const QString& key, const QString& value)
{
    QSettings settings(m_file, QSettings::IniFormat);
    // A file that cannot be read is never written over: what it holds would be lost.
    requireReadable(settings, m_file);
    const QString group = storedSpelling(settings.childGroups(), section);
    settings.beginGroup(group);
    const QString name = storedSpelling(settings.childKeys(), key);
    settings.setValue(name, value);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw SettingsStoreError(QStringLiteral("The setting %1\\%2 could not be stored in %3.")
                                     .arg(section, key, m_file)
                                     .toStdString());
}

} // namespace ui
