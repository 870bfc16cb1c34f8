#include "tests/support/TestEnvironment.h"

#include "platform/report/Engine.h"
#include "platform/report/Report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace report;

namespace {

// A photo-like picture file in the test's program folder: a colour gradient with a frame.
QString writePicture(const QString& name, QSize size, const char* format = "JPG")
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    const QString file = testenv::programFile(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    EXPECT_TRUE(image.save(file, format, 60));
    return file;
}

// One picture control per row, all showing the same file.
struct PictureRows : Report {
    PictureRows(const QString& file, QRectF bounds, SizeMode mode, int rows,
                PictureAlignment alignment = PictureAlignment::TopLeft)
        : m_rows(rows)
    {
        auto& image = Detail().Controls().add<Image>(QStringLiteral("Photo"));
        image.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
        image.setSizeMode(mode);
        image.setPictureAlignment(alignment);
        loaded = image.loadPicture(file);
        Detail().onFormat([this] {
            if (++m_done <= m_rows)
                Detail().request();
        });
    }
    bool loaded = false;
    int m_rows;
    int m_done = 0;
};

std::vector<const ImageItem*> pictures(const Document& doc)
{
    std::vector<const ImageItem*> out;
    for (const FoundItem& f : doc.items(QStringLiteral("Photo")))
        out.push_back(&std::get<ImageItem>(*f.item));
    return out;
}

} // namespace

TEST(ReportPictures, ALargePhotoIsKeptAtTheSizeItPrintsAt)
{
    const QString file = writePicture(QStringLiteral("Photos/big.jpg"), QSize(4000, 3000));
    // 255 x 300 twips at 300 dpi: 54 x 63 pixels, aspect not kept.
    PictureRows tiny(file, {0, 0, 255, 300}, SizeMode::Stretch, 1);
    ASSERT_TRUE(tiny.loaded);
    auto doc = run(tiny);
    ASSERT_TRUE(doc->errors().empty());
    const ImageItem& item = *pictures(*doc).front();
    EXPECT_EQ(item.image().size(), QSize(54, 63));
    EXPECT_LT(item.image().sizeInBytes(), 100'000);
    EXPECT_EQ(item.drawRect(), item.rect);
    EXPECT_TRUE(item.smooth());

    // A photo frame of 1440 x 1080 twips: 300 x 225 pixels, under 300 kB instead of 48 MB.
    PictureRows card(file, {60, 90, 1440, 1080}, SizeMode::Zoom, 1);
    const ImageItem& photo = *pictures(*run(card)).front();
    EXPECT_EQ(photo.image().size(), QSize(300, 225));
    EXPECT_LT(photo.image().sizeInBytes(), 300'000);
}

TEST(ReportPictures, ZoomKeepsTheAspectAndPlacesThePictureByItsAlignment)
{
    const QString file = writePicture(QStringLiteral("wide.jpg"), QSize(800, 400));
    PictureRows centred(file, {0, 0, 1440, 1440}, SizeMode::Zoom, 1, PictureAlignment::Center);
    const ImageItem& item = *pictures(*run(centred)).front();
    // 1440 wide, 720 high, in the middle of the box.
    EXPECT_EQ(item.drawRect(), QRectF(item.rect.left(), item.rect.top() + 360, 1440, 720));
    EXPECT_EQ(item.image().size(), QSize(300, 150));

    PictureRows bottom(file, {0, 0, 1440, 1440}, SizeMode::Zoom, 1, PictureAlignment::BottomLeft);
    const ImageItem& low = *pictures(*run(bottom)).front();
    EXPECT_EQ(low.drawRect().bottom(), low.rect.bottom());

    // The same pixels marked as taken with the camera turned (orientation 6, a quarter turn
    // clockwise): shown upright, as high as the box and half as wide.
    QFile jpeg(file);
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    QByteArray bytes = jpeg.readAll();
    jpeg.close();
    const char orientation[] = "\xFF\xE1\x00\x22"
                               "Exif\0\0"
                               "MM\x00\x2A\x00\x00\x00\x08"
                               "\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                               "\x00\x00\x00\x00";
    bytes.insert(2, orientation, sizeof orientation - 1);
    const QString turnedFile = testenv::programFile(QStringLiteral("turned.jpg"));
    QFile turned(turnedFile);
    ASSERT_TRUE(turned.open(QIODevice::WriteOnly));
    turned.write(bytes);
    turned.close();
    PictureRows upright(turnedFile, {0, 0, 1440, 1440}, SizeMode::Zoom, 1,
                        PictureAlignment::Center);
    const ImageItem& tall = *pictures(*run(upright)).front();
    EXPECT_EQ(tall.drawRect(), QRectF(tall.rect.left() + 360, tall.rect.top(), 720, 1440));
    EXPECT_EQ(tall.image().size(), QSize(150, 300));
}

TEST(ReportPictures, ClipKeepsOnlyThePartThatShows)
{
    // 600 x 300 pixels at 96 dpi print 9000 x 4500 twips; the box shows 1440 x 1440 of it.
    const QString file = writePicture(QStringLiteral("poster.png"), QSize(600, 300), "PNG");
    PictureRows clipped(file, {0, 0, 1440, 1440}, SizeMode::Clip, 1);
    const ImageItem& item = *pictures(*run(clipped)).front();
    EXPECT_EQ(item.drawRect().topLeft(), item.rect.topLeft());
    EXPECT_NEAR(item.drawRect().width(), 1440, 15);
    EXPECT_NEAR(item.drawRect().height(), 1440, 15);
    EXPECT_NEAR(item.image().width(), 96, 1);
    EXPECT_NEAR(item.image().height(), 96, 1);
    EXPECT_FALSE(item.smooth());
}

TEST(ReportPictures, ASmallPictureIsKeptAsItIsAndSharedByEveryPageThatShowsIt)
{
    // A barcode digit: 32 x 20 pixels printed 255 x 300 twips, on three pages.
    const QString file = writePicture(QStringLiteral("Barcode_GIFS/7.gif"), QSize(32, 20), "PNG");
    PictureRows rows(file, {900, 315, 255, 300}, SizeMode::Stretch, 150);
    rows.Detail().setHeight(5000);
    auto doc = run(rows);
    ASSERT_GE(doc->pageCount(), 3);
    const auto all = pictures(*doc);
    ASSERT_EQ(all.size(), 150u);
    for (const ImageItem* item : all) {
        EXPECT_EQ(item->image().size(), QSize(32, 20));
        EXPECT_FALSE(item->smooth());
        // One decoded picture for all of them.
        EXPECT_EQ(item->picture, all.front()->picture);
    }
}

TEST(ReportPictures, APictureThatCannotBeReadLeavesTheControlEmptyAndIsARunError)
{
    // Missing: found out when the layout loads it.
    PictureRows missing(testenv::programFile(QStringLiteral("Photos/gone.jpg")), {0, 0, 1440, 1080},
                        SizeMode::Zoom, 2);
    EXPECT_FALSE(missing.loaded);
    auto doc = run(missing);
    EXPECT_TRUE(pictures(*doc).front()->image().isNull());
    ASSERT_EQ(doc->errors().size(), 1u);
    EXPECT_EQ(doc->errors().front().handler, QStringLiteral("Detail_Format"));
    EXPECT_TRUE(doc->errors().front().message.contains(QStringLiteral("gone.jpg")));

    // Not a picture at all.
    const QString text = testenv::programFile(QStringLiteral("notes.jpg"));
    QFile out(text);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("These are not the pixels you are looking for.");
    out.close();
    PictureRows notPicture(text, {0, 0, 1440, 1080}, SizeMode::Zoom, 1);
    EXPECT_FALSE(notPicture.loaded);
    EXPECT_EQ(run(notPicture)->errors().size(), 1u);

    // A picture whose header reads but whose pixels are cut off: found out when it is placed,
    // said once however often it shows.
    const QString whole = writePicture(QStringLiteral("cut.png"), QSize(400, 300), "PNG");
    QFile cut(whole);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    cut.resize(120);
    cut.close();
    PictureRows broken(whole, {0, 0, 1440, 1080}, SizeMode::Zoom, 3);
    EXPECT_TRUE(broken.loaded);
    auto brokenDoc = run(broken);
    ASSERT_EQ(brokenDoc->errors().size(), 1u);
    EXPECT_TRUE(brokenDoc->errors().front().message.contains(QStringLiteral("cut.png")));
    for (const ImageItem* item : pictures(*brokenDoc))
        EXPECT_TRUE(item->image().isNull());
}

TEST(ReportPictures, APictureMadeInCodeIsReducedLikeAFile)
{
    Report layout;
    auto& image = layout.PageHeader().Controls().add<Image>(QStringLiteral("Photo"));
    image.setBounds(0, 0, 1440, 1440);
    image.setSizeMode(SizeMode::Stretch);
    QImage big(3000, 3000, QImage::Format_RGB32);
    big.fill(Qt::green);
    image.setPicture(big, QStringLiteral("green"));
    auto doc = run(layout);
    const auto& item = std::get<ImageItem>(*doc->items(QStringLiteral("Photo")).front().item);
    EXPECT_EQ(item.image().size(), QSize(300, 300));
    EXPECT_EQ(item.source, QStringLiteral("green"));
    image.clearPicture();
    EXPECT_FALSE(image.hasPicture());
    EXPECT_TRUE(std::get<ImageItem>(*run(layout)->items(QStringLiteral("Photo")).front().item)
                    .image()
                    .isNull());
}
