#include "reports/BarcodePictures.h"
#include "shell/ReportParts.h"
#include "platform/report/Engine.h"
#include "tests/support/DocumentDump.h"
#include "tests/support/BuiltProgram.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A page with everything the later layouts print besides text: a pie chart, photos in frames
// and a person barcode under each, with the shared header and footer.
class PicturePage : public report::Report {
public:
    PicturePage()
    {
        using namespace report;
        setCaption(QStringLiteral("Pictures"));
        PageHeader().setHeight(1020);
        reportparts::addTitle(PageHeader(), {0, 0, 10710, 540}, QStringLiteral("Pictures"));
        reportparts::addSubTitle(PageHeader(), {0, 480, 10740, 360});
        reportparts::addTimestampAndPage(PageHeader(), {7470, 0, 3240, 270},
                                         {7470, 270, 3240, 270});
        auto& chart = PageHeader().Controls().add<Chart>(QStringLiteral("StatusChart"));
        chart.setBounds(0, 1100, 4020, 2460);
        ChartData data;
        data.categories = {{QStringLiteral("Unassigned"), 2, QColor(198, 198, 198)},
                           {QStringLiteral("Active(40.0%)"), 4, QColor(0, 255, 0)},
                           {QStringLiteral("Away(0.0%)"), 0, QColor(0, 0, 255)},
                           {QStringLiteral("Inactive(40.0%)"), 4, QColor(255, 0, 0)}};
        chart.setData(data);
        PageHeader().setHeight(3700);

        Detail().setHeight(1470);
        Detail().setColumnCount(3);
        auto& frame = Detail().Controls().add<Shape>(QStringLiteral("Shape1"));
        frame.setBounds(30, 60, 1500, 1140);
        auto& photo = Detail().Controls().add<Image>(QStringLiteral("MugShot"));
        photo.setBounds(60, 90, 1440, 1080);
        photo.setSizeMode(SizeMode::Zoom);
        photo.setPictureAlignment(PictureAlignment::Center);
        auto& name = Detail().Controls().add<Label>(QStringLiteral("MbrName"));
        name.setBounds(1620, 60, 1980, 240);
        for (int i = 0; i < 8; ++i) {
            auto& bar = Detail().Controls().add<Image>(QStringLiteral("bc%1").arg(i));
            bar.setBounds(30 + i * 255, 1200, 255, 300);
            bar.setSizeMode(SizeMode::Stretch);
        }
        Detail().onFormat([this, &photo, &name] {
            if (++m_person > 4)
                return;
            name.setCaption(QStringLiteral("Person %1").arg(m_person));
            photo.loadPicture(testenv::programFile(QStringLiteral("Photos/%1.jpg").arg(m_person)));
            const QString symbol =
                QStringLiteral("*%1*").arg(m_person * 1234, 6, 10, QLatin1Char('0'));
            for (int i = 0; i < 8; ++i) {
                auto& bar = Detail().Controls().Item<Image>(QStringLiteral("bc%1").arg(i));
                if (symbol.at(i) == QLatin1Char('*'))
                    bar.setPicture(barcodeAsteriskPicture(), kBarcodeAsteriskName);
                else
                    bar.loadPicture(barcodeDigitFile(symbol.at(i)));
            }
            Detail().request();
        });
        PageFooter().setHeight(360);
        reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
                                    {7470, 90, 3240, 270});
        PageFooter().onFormat([this] { reportparts::stampPage(*this); });
    }

private:
    int m_person = 0;
};

void writePhotos()
{
    QDir().mkpath(testenv::programFile(QStringLiteral("Photos")));
    for (int i = 1; i <= 4; ++i) {
        // Landscape and portrait photos of 4000 x 3000 pixels.
        QImage photo(i % 2 ? QSize(4000, 3000) : QSize(3000, 4000), QImage::Format_RGB32);
        QPainter painter(&photo);
        QRadialGradient gradient(photo.rect().center(), photo.width() / 2.0);
        gradient.setColorAt(0, QColor::fromHsv(i * 70, 120, 250));
        gradient.setColorAt(1, QColor::fromHsv(i * 70, 255, 90));
        painter.fillRect(photo.rect(), gradient);
        painter.end();
        ASSERT_TRUE(photo.save(testenv::programFile(QStringLiteral("Photos/%1.jpg").arg(i))));
    }
}

} // namespace

TEST(PicturePage, ChartPhotosAndBarcodesGoIntoThePdfWholeAndSharp)
{
    testenv::installBarcodePictures();
    writePhotos();
    PicturePage layout;
    auto doc = report::run(layout);
    ASSERT_TRUE(doc->errors().empty()) << doc->errors().front().message.toStdString();
    EXPECT_DUMP(*doc, "expected/picture-page.dump");

    const QString file = testenv::programFile(QStringLiteral("pictures.pdf"));
    ASSERT_TRUE(doc->exportPdf(file));
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    // Four photos reduced to print size, the ten digit pictures and the "*" once each at
    // most: the whole page stays small.
    EXPECT_LT(bytes.size(), 1'000'000);
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
}
