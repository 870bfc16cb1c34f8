#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

// The directory's "Show:" choices (item data of Select_Show).
enum class DirectoryShowFilter : int { All = 0, ActiveOnly = 1, InactiveOnly = 3 };

// The filter text that the directory's list gets for a Show choice; empty text (no filter) for
// any other code.
QString ShowFilterText(int code);

// Fixed entries of the directory's drop-down lists.
void FillShowList(QComboBox* list);      // "All" 0, "Active Only" 1, "Inactive Only" 3
void FillStatusList(QComboBox* list);    // "(Unassigned)" 0 ... "Inactive" 3
void FillIMServiceList(QComboBox* list); // "", "AIM", ... "Other"

// The team names in use: every team of people not removed, trimmed, each once without regard to
// case, in alphabetical order. Opens its own connection. Throws data::DataError.
QStringList ReadTeamNames(const QString& connectionString);

// A value typed into a drop-down with a limit: cut to the limit, then trimmed.
QString LimitedChoice(const QString& text, int limit);

// A drop-down whose text can also be typed (team, IM service): it reports the user's pick from
// its list (picked; typed text that happens to equal an entry is not a pick), each key release in
// its text, the moment before its list opens, and leaving it for another control (opening its
// own list or another window is not leaving).
class ChoiceBox : public QComboBox {
    Q_OBJECT
public:
    ChoiceBox(int limit, QWidget* parent = nullptr);
    int limit() const { return m_limit; }

signals:
    void picked();
    void aboutToDropDown();
    void keyReleased();
    void left();

protected:
    void showPopup() override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_limit;
    bool m_leaving = false;
};
