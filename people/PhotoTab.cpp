#include "people/PhotoTab.h"

#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/PhotoPath.h"
#include "shell/TryStep.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/ui/FileWrites.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

const QString PhotoTab::kAdvice = QStringLiteral(
    "RECOMMENDATION:  For best results, resize or crop your photos to approximately  215 pixels "
    "wide x 160 pixels tall (at 150 dpi or lower) before adding to Corvessa.  It doesn't need to "
    "be exact, but the closer the better. The reduction helps avoid memory problems with large "
    "files.");
const QString PhotoTab::kDialogTitle = QStringLiteral("Select a Picture File to Submit");
const QString PhotoTab::kDialogFilter =
    QStringLiteral("All Files (*.*)|*.*|Graphics Files (*.gif, *.jpg, etc.)|*.gif; *.jpg; "
                   "*.tif; *.bmp");
const QString PhotoTab::kRemoveQuestion =
    QStringLiteral("You have chosen to remove the photo from this person's record.  Click OK to "
                   "remove the photo or cancel to abort.");
const QString PhotoTab::kRemoveTitle = QStringLiteral("Remove Photo?");

namespace photos {

namespace {

// A JPEG decoder shrinks a picture by eighths almost for free. A picture whose eighth-step
// below the size it is shown at comes within a tenth of that size is decoded at that step and
// enlarged the last bit: much quicker than decoding it larger and shrinking it. Other formats
// are decoded at the size shown.
QSize jpegDecodeSize(const QByteArray& format, const QSize& full, const QSize& fitted)
{
    if (format != "jpeg" && format != "jpg")
        return fitted;
    const int eighths = int(8.0 * fitted.width() / full.width());
    if (eighths < 1 || eighths >= 8)
        return fitted;
    const QSize step(full.width() * eighths / 8, full.height() * eighths / 8);
    return step.width() * 10 >= fitted.width() * 9 ? step : fitted;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Clears a file's read-only attribute; the other permissions stay.
void makeWritable(const QString& file)
{
    const QFile::Permissions permissions = QFile::permissions(file);
    if (!permissions.testFlag(QFile::WriteOwner))
        QFile::setPermissions(file, permissions | QFile::WriteOwner);
}

} // namespace

QString CopyIntoPhotoFolder(const QString& picked, std::int32_t id)
{
    // A file that is no picture would replace the person's photo with something that cannot
    // be shown: it is refused before anything is copied.
    QImageReader probe(picked);
    if (!probe.canRead())
        throw PhotoFileError(QStringLiteral("%1 is not a picture that can be shown (%2).")
                                 .arg(shown(picked), probe.errorString()));

    const QString folder = PhotoFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw PhotoFileError(
            QStringLiteral("The photo folder %1 could not be created.").arg(shown(folder)));

    const QString destination = QDir(folder).absoluteFilePath(
        QString::number(id) + QLatin1Char('.') + GetFileExtension(picked));

    // The copy is written beside the earlier one and takes its place only when complete, so a
    // copy that fails part-way (a full disk) keeps the earlier photo, also when the picked file
    // is that very copy.
    if (QFileInfo::exists(destination))
        makeWritable(destination);
    QString reason;
    if (!ui::copyWholeFile(picked, destination, &reason))
        throw PhotoFileError(QStringLiteral("The photo could not be copied to %1: %2")
                                 .arg(shown(destination), reason));
    makeWritable(destination);
    return shown(destination);
}

bool DeletePhotoCopy(const QString& stored)
{
    const QString file = ResolvePhotoPath(stored);
    if (file.isEmpty())
        return true;
    const QString folder = QFileInfo(PhotoFolder()).canonicalFilePath();
    if (folder.isEmpty() || QFileInfo(file).canonicalPath() != folder)
        return true;
    makeWritable(file);
    return QFile::remove(file);
}

QImage ReadPictureWithin(const QString& file, const QSize& most)
{
    if (most.isEmpty())
        return {};
    QImageReader reader(file);
    const QSize full = reader.size();
    QSize fitted;
    if (full.isValid() && (full.width() > most.width() || full.height() > most.height())) {
        // Large pictures are decoded at about the size they are shown at, which is much
        // quicker than decoding them whole.
        fitted = full.scaled(most, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        reader.setScaledSize(jpegDecodeSize(reader.format(), full, fitted));
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (fitted.isValid() && image.size() != fitted)
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else if (image.width() > most.width() || image.height() > most.height())
        image = image.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace photos

bool HasPhotoField(const data::Recordset& list)
{
    return list.fieldIndex(QStringLiteral("Youth_PhotoFile")) >= 0;
}

PhotoTab::PhotoTab(QWidget* parent, PhotoHost& host) : QObject(parent), m_host(host)
{
    MugShot = new QLabel(parent);
    MugShot->setObjectName(QStringLiteral("MugShot"));
    MugShot->setFrameShape(QFrame::Box);
    MugShot->setAlignment(Qt::AlignCenter);
    MugShot->setAutoFillBackground(true);

    cmdNewPhoto = new QPushButton(QStringLiteral("Add New Photo"), parent);
    cmdNewPhoto->setObjectName(QStringLiteral("cmdNewPhoto"));
    cmdDelPhoto = new QPushButton(QStringLiteral("Remove Photo"), parent);
    cmdDelPhoto->setObjectName(QStringLiteral("cmdDelPhoto"));

    PhotoLabel = new QLabel(kAdvice, parent);
    PhotoLabel->setObjectName(QStringLiteral("PhotoLabel"));
    PhotoLabel->setWordWrap(true);
    PhotoLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(cmdNewPhoto, &QPushButton::clicked, this, [this] { cmdNewPhoto_Click(); });
    connect(cmdDelPhoto, &QPushButton::clicked, this, [this] { cmdDelPhoto_Click(); });
}

void PhotoTab::setEnabled(bool enabled)
{
    cmdNewPhoto->setEnabled(enabled);
    cmdDelPhoto->setEnabled(enabled);
}

QString PhotoTab::storedPath() const
{
    data::Recordset* row = m_host.PhotoRow();
    if (!row || !HasPhotoField(*row))
        return QString();
    return ToString(row->Fields(QStringLiteral("Youth_PhotoFile")).Value(), QString());
}

bool PhotoTab::ShowPhoto(const QString& stored)
{
    MugShot->clear();
    const QString file = ResolvePhotoPath(stored);
    if (file.isEmpty())
        return stored.trimmed().isEmpty();
    const qreal ratio = MugShot->devicePixelRatioF();
    QImage picture = photos::ReadPictureWithin(file, MugShot->contentsRect().size() * ratio);
    if (picture.isNull())
        return false;
    QPixmap pixmap = QPixmap::fromImage(std::move(picture));
    pixmap.setDevicePixelRatio(ratio);
    MugShot->setPixmap(pixmap);
    return true;
}

void PhotoTab::ShowCurrentPhoto()
{
    QString stored;
    TryStep("Reading the photo path", [&] { stored = storedPath(); });
    ShowPhoto(stored);
}

void PhotoTab::cmdNewPhoto_Click()
{
    data::Recordset* row = m_host.PhotoRow();
    if (!row || !HasPhotoField(*row) || !m_host.SaveForPhoto())
        return;
    row = m_host.PhotoRow();
    if (!row)
        return;
    const std::int32_t id = ToLong(row->Fields(QStringLiteral("Youth_ID")).Value(), 0);
    if (id == 0)
        return;

    const QString picked =
        ui::fileDialogs().openFileName(kDialogTitle, QString(), kDialogFilter, 2);
    if (picked.size() <= 1)
        return;

    const QString before = storedPath();
    MugShot->clear();
    QString copy;
    try {
        copy = photos::CopyIntoPhotoFolder(picked, id);
    } catch (const PhotoFileError& e) {
        ShowPhoto(before);
        ui::critical(e.description());
        return;
    }
    try {
        (*row)[QStringLiteral("Youth_PhotoFile")] = copy;
        row->Update();
    } catch (const data::DataError& e) {
        // The person keeps the photo path it had.
        TryStep("Discarding the photo path", [row] { row->CancelUpdate(); });
        ShowPhoto(before);
        ui::critical(e.description());
        return;
    }
    ShowPhoto(copy);
}

void PhotoTab::cmdDelPhoto_Click()
{
    data::Recordset* row = m_host.PhotoRow();
    if (!row || !HasPhotoField(*row))
        return;
    const QString path = storedPath();
    if (path.isEmpty())
        return;
    if (!ui::askOkCancel(kRemoveQuestion, kRemoveTitle))
        return;
    MugShot->clear();
    TryStep("Deleting the photo", [&] { photos::DeletePhotoCopy(path); });
    // Stored with the person's next save, like a typed change.
    TryStep("Clearing the photo path",
            [row] { (*row)[QStringLiteral("Youth_PhotoFile")] = data::Variant::null(); });
}
