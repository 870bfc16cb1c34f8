#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

class QPrinter;
class QWidget;

namespace ui {

// The application title: the settings store's application name and the default title of
// every message box.
inline const QString kAppTitle = QStringLiteral("Corvessa");

// Message boxes. The kinds the program uses: information with OK, critical with OK, question
// with Yes and No (Yes the default), critical with Yes and No (No the default), plain OK, and
// question with Yes, No and Cancel (Yes the default; closing the box is Cancel), and question
// with OK and Cancel (OK the default).
enum class MessageKind {
    Information,
    Critical,
    Question,
    CriticalYesNo,
    Plain,
    QuestionYesNoCancel,
    QuestionOkCancel
};
enum class Answer { Ok, Yes, No, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(MessageKind kind, const QString& text, const QString& title) = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Filters are given as "Description|*.a;*.b|Description|*.c". An empty result means the
    // user cancelled.
    virtual QString saveFileName(const QString& title, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // filterIndex: the filter selected when the dialog opens, 1 for the first.
    virtual QString openFileName(const QString& title, const QString& folder, const QString& filter,
                                 int filterIndex = 1) = 0;
};

class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // Lets the user choose and set up a printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent) = 0;
};

// Hands web addresses and "mailto:" links to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QString& address) = 0;
};

// The "mailto:" link for one address or a list of them. Characters that would end or change
// the link ("#", "?", "%", "&", blanks, ...) are percent-encoded.
QString mailtoLink(const QString& addresses);

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SettingsStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The per-user settings store: text values under the application title, a section and a key.
// Sections and keys match without regard to letter case.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // nullopt when the key is absent. Throws SettingsStoreError, naming the store's file and
    // the cause, when the store cannot be read (then it is never written either).
    virtual std::optional<QString> read(const QString& section, const QString& key) const = 0;
    // Throws SettingsStoreError when the value cannot be stored.
    virtual void write(const QString& section, const QString& key, const QString& value) = 0;

    // The stored text, or `fallback` when the key is absent or the store cannot be read: for
    // readers whose value only shapes what is shown.
    QString value(const QString& section, const QString& key, const QString& fallback) const
    {
        try {
            return read(section, key).value_or(fallback);
        } catch (const SettingsStoreError&) {
            return fallback;
        }
    }
};

// The services screens use instead of Qt's statics, so that tests can replace each of them.
struct Services {
    std::unique_ptr<MessageBoxes> messages;
    std::unique_ptr<FileDialogs> files;
    std::unique_ptr<PrintDialogs> printing;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<SettingsStore> settings;
    QString programFolder; // empty: the folder of the running program
};

// The installed services; real implementations are created on first use where none is set.
Services& services();
// Replaces every service with the real implementation.
void installRealServices();

// Shortcuts.
MessageBoxes& messages();
FileDialogs& fileDialogs();
PrintDialogs& printDialogs();
Shell& shell();
const Clock& clock();
SettingsStore& settingsStore();
QString programFolder();
QDate today();
QDateTime now();

// The user's documents folder, or the home folder when there is none.
QString documentsFolder();

// Where a file dialog opens and the file name it offers, for what the caller gives: a folder, or
// a suggested file (a name with an extension, in a folder). A folder that does not exist gives
// the documents folder instead; its name is never offered as a file name.
struct FileDialogStart {
    QString folder;
    QString fileName; // empty: none offered
};
FileDialogStart fileDialogStart(const QString& folderOrFile);

// A file name for a document with this caption and extension ("Mailing Labels (Avery 5260).pdf"):
// characters a file name cannot hold become blanks.
QString fileNameFor(const QString& caption, const QString& extension);

// The message box kinds by name.
void information(const QString& text, const QString& title = kAppTitle);
void critical(const QString& text, const QString& title = kAppTitle);
void plainMessage(const QString& text, const QString& title = kAppTitle);
bool askYesNo(const QString& text, const QString& title = kAppTitle);         // true for Yes
bool askCriticalYesNo(const QString& text, const QString& title = kAppTitle); // No is default
Answer askYesNoCancel(const QString& text, const QString& title = kAppTitle);
bool askOkCancel(const QString& text, const QString& title = kAppTitle); // true for OK

} // namespace ui
