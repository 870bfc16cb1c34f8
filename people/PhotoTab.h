#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <cstdint>
#include <stdexcept>

class QLabel;
class QPushButton;
class QWidget;

namespace data {
class Recordset;
}

// A photo that could not be copied into the photo folder or removed from it; description() is
// fit for a message box.
class PhotoFileError : public std::runtime_error {
public:
    explicit PhotoFileError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {}
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

// The file work of the photo folder.
namespace photos {

// Copies a picked picture into the photo folder (made when it is missing) as the person's id,
// "." and the picked file's extension, replacing an earlier copy of that name, and clears the
// copy's read-only attribute. Returns the copy's full path. The earlier copy stays as it was
// when the picked file is not a picture that can be read or the copy fails: PhotoFileError.
QString CopyIntoPhotoFolder(const QString& picked, std::int32_t id);

// Deletes the copy that a stored photo path leads to (see ResolvePhotoPath), also when it is
// read-only. A file that is missing, or that lies outside the photo folder (a path that was
// not written by this program), is left alone. Returns false when a copy was there and could
// not be deleted.
bool DeletePhotoCopy(const QString& stored);

// Reads the picture in a file at no more than the given size, in proportion; a null image
// when the file is not a picture that can be read.
QImage ReadPictureWithin(const QString& file, const QSize& most);

} // namespace photos

// What the photo tab needs of the screen that shows it.
class PhotoHost {
public:
    virtual ~PhotoHost() = default;
    // The bound list, standing on the person shown; nullptr while nobody is shown.
    virtual data::Recordset* PhotoRow() = 0;
    // Saves the person shown as the first step of adding a photo, so that a new person gets
    // its id. False when it could not be saved; the screen has said why.
    virtual bool SaveForPhoto() = 0;
};

// The "Photo" tab of the directory: the person's picture (MugShot), "Add New Photo", "Remove
// Photo" and the advice on picture sizes. The controls are made as children of the given
// parent; the screen places them and shows them with the tab.
class PhotoTab : public QObject {
    Q_OBJECT
public:
    PhotoTab(QWidget* parent, PhotoHost& host);

    QLabel* MugShot = nullptr;
    QPushButton* cmdNewPhoto = nullptr;
    QPushButton* cmdDelPhoto = nullptr;
    QLabel* PhotoLabel = nullptr;

    // Shows the picture a stored path leads to, made to fit the picture box in proportion; a
    // blank picture when nothing is stored or the file is missing or not a picture. False
    // when a stored path led to no picture.
    bool ShowPhoto(const QString& stored);
    // Shows the photo of the person the list stands on (blank when none).
    void ShowCurrentPhoto();
    // The controls that act on the person; off while nobody is shown.
    void setEnabled(bool enabled);

    void cmdNewPhoto_Click();
    void cmdDelPhoto_Click();

    static const QString kAdvice;
    static const QString kDialogTitle;
    static const QString kDialogFilter;
    static const QString kRemoveQuestion;
    static const QString kRemoveTitle;

private:
    QString storedPath() const;

    PhotoHost& m_host;
};

// True when the bound list has the photo column (older data files may not).
bool HasPhotoField(const data::Recordset& list);
