#include "people/PhotoTab.h"
#include "shell/PhotoPath.h"
#include "platform/ui/Services.h"
#include "tests/support/Doubles.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// A picture file of the given size, in a folder of the test's own (outside the photo folder).
QString writePicture(const QString& name, const QSize& size = QSize(40, 30),
                     QColor colour = Qt::darkGreen)
{
    QDir folder(testenv::programFile(QStringLiteral("picked")));
    folder.mkpath(QStringLiteral("."));
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
    return path;
}

QString inPhotoFolder(const QString& name)
{
    return QDir(PhotoFolder()).filePath(name);
}

QColor colourOf(const QString& file)
{
    return QImage(file).pixelColor(0, 0);
}

} // namespace

TEST(PhotoCopy, NamedByTheIdAndThePickedExtensionInAFolderMadeOnFirstUse)
{
    const QString picked = writePicture(QStringLiteral("me.JPG"));
    ASSERT_FALSE(QFileInfo::exists(PhotoFolder()));

    const QString copy = photos::CopyIntoPhotoFolder(picked, 42);

    EXPECT_EQ(copy, inPhotoFolder(QStringLiteral("42.JPG")));
    EXPECT_TRUE(QFileInfo(copy).isAbsolute());
    EXPECT_EQ(colourOf(copy), QColor(Qt::darkGreen));
    EXPECT_TRUE(QFileInfo::exists(picked)) << "the picked file stays where it was";

    // A dot in a folder name is no extension: the copy's name then ends in the dot.
    QDir(testenv::programFolder()).mkpath(QStringLiteral("my.pics"));
    const QString noExtension = testenv::programFile(QStringLiteral("my.pics/portrait"));
    ASSERT_TRUE(QFile::copy(picked, noExtension));
    EXPECT_EQ(photos::CopyIntoPhotoFolder(noExtension, 7), inPhotoFolder(QStringLiteral("7.")));
}

TEST(PhotoCopy, ReplacesTheEarlierCopyAndIsWritableWhenTheSourceIsReadOnly)
{
    const QString first = writePicture(QStringLiteral("first.png"), {40, 30}, Qt::red);
    const QString second = writePicture(QStringLiteral("second.png"), {40, 30}, Qt::blue);
    ASSERT_TRUE(QFile::setPermissions(second, QFile::ReadOwner | QFile::ReadGroup));

    const QString copy = photos::CopyIntoPhotoFolder(first, 42);
    // The earlier copy made read-only by hand is replaced all the same.
    ASSERT_TRUE(QFile::setPermissions(copy, QFile::ReadOwner));
    EXPECT_EQ(photos::CopyIntoPhotoFolder(second, 42), copy);

    EXPECT_EQ(colourOf(copy), QColor(Qt::blue));
    EXPECT_TRUE(QFile::permissions(copy).testFlag(QFile::WriteOwner));
    EXPECT_EQ(QDir(PhotoFolder()).entryList(QDir::Files), QStringList({"42.png"}))
        << "no half-written files are left behind";

    // Picking the copy itself keeps it whole.
    EXPECT_EQ(photos::CopyIntoPhotoFolder(copy, 42), copy);
    EXPECT_EQ(colourOf(copy), QColor(Qt::blue));
}

TEST(PhotoCopy, RefusalsKeepTheEarlierCopy)
{
    const QString good = writePicture(QStringLiteral("good.png"));
    const QString copy = photos::CopyIntoPhotoFolder(good, 42);

    // A file that is no picture.
    const QString text = testenv::programFile(QStringLiteral("picked/notes.png"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture at all");
    }
    try {
        photos::CopyIntoPhotoFolder(text, 42);
        ADD_FAILURE() << "a file that is no picture was copied";
    } catch (const PhotoFileError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("notes.png"))) << e.what();
    }
    EXPECT_EQ(colourOf(copy), QColor(Qt::darkGreen));

    // A missing file.
    EXPECT_THROW(photos::CopyIntoPhotoFolder(testenv::programFile(QStringLiteral("gone.png")), 42),
                 PhotoFileError);

    // A copy that cannot be finished keeps the earlier copy whole, and says where it was going
    // and why.
    const QString other = writePicture(QStringLiteral("other.png"), {800, 400}, Qt::red);
    const auto unfinished = [&](const QString& why) {
        try {
            photos::CopyIntoPhotoFolder(other, 42);
            ADD_FAILURE() << "an unfinished copy was taken";
        } catch (const PhotoFileError& e) {
            EXPECT_EQ(e.description(),
                      QStringLiteral("The photo could not be copied to %1: %2").arg(copy, why));
        }
        EXPECT_EQ(colourOf(copy), QColor(Qt::darkGreen));
        EXPECT_EQ(QDir(PhotoFolder()).entryList(QDir::Files), QStringList({"42.png"}));
    };
    {
        testing_support::SourcesFailPartWay failing;
        unfinished(QDir::toNativeSeparators(other) + QStringLiteral(" could not be read: ") +
                   testing_support::SourcesFailPartWay::reason());
    }
    {
        testing_support::FullDisk disk;
        unfinished(testing_support::FullDisk::reason());
    }
    {
        testing_support::ReadOnlyFolders readOnly;
        unfinished(testing_support::ReadOnlyFolders::reason());
    }

    // A photo folder that cannot be made (a file stands in its place).
    ASSERT_TRUE(QDir(PhotoFolder()).removeRecursively());
    {
        QFile blocker(PhotoFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    try {
        photos::CopyIntoPhotoFolder(good, 42);
        ADD_FAILURE() << "copied into a folder that could not be made";
    } catch (const PhotoFileError& e) {
        EXPECT_TRUE(e.description().contains(QDir::toNativeSeparators(PhotoFolder()))) << e.what();
    }
}

TEST(PhotoCopy, DeletingRemovesOnlyCopiesInThePhotoFolder)
{
    const QString picked = writePicture(QStringLiteral("me.png"));
    const QString copy = photos::CopyIntoPhotoFolder(picked, 42);
    ASSERT_TRUE(QFile::setPermissions(copy, QFile::ReadOwner));

    // A read-only copy is deleted, also when the stored path comes from another computer.
    EXPECT_TRUE(photos::DeletePhotoCopy(QStringLiteral("C:\\Corvessa\\Photos\\42.png")));
    EXPECT_FALSE(QFileInfo::exists(copy));
    // Nothing there is no failure.
    EXPECT_TRUE(photos::DeletePhotoCopy(copy));
    EXPECT_TRUE(photos::DeletePhotoCopy(QString()));
    // A file elsewhere was not put there by the program: it stays.
    EXPECT_TRUE(photos::DeletePhotoCopy(picked));
    EXPECT_TRUE(QFileInfo::exists(picked));
}

TEST(PhotoCopy, PicturesAreReadWithinTheRoomInProportion)
{
    const QString wide = writePicture(QStringLiteral("wide.png"), {400, 100});
    const QString small = writePicture(QStringLiteral("small.png"), {20, 10});

    EXPECT_EQ(photos::ReadPictureWithin(wide, {215, 160}).size(), QSize(215, 53));
    // A photo decoded by eighths comes out at the size shown all the same.
    const QString photo = testenv::programFile(QStringLiteral("picked/camera.jpg"));
    QImage camera(1600, 1200, QImage::Format_RGB32);
    camera.fill(Qt::darkRed);
    ASSERT_TRUE(camera.save(photo, "JPG"));
    EXPECT_EQ(photos::ReadPictureWithin(photo, {215, 160}).size(), QSize(213, 160));
    EXPECT_EQ(photos::ReadPictureWithin(photo, {430, 320}).size(), QSize(426, 320));
    EXPECT_EQ(photos::ReadPictureWithin(small, {215, 160}).size(), QSize(20, 10))
        << "small pictures are not blown up";
    EXPECT_TRUE(photos::ReadPictureWithin(wide, {0, 0}).isNull());
    EXPECT_TRUE(
        photos::ReadPictureWithin(testenv::programFile(QStringLiteral("none.png")), {215, 160})
            .isNull());
}
