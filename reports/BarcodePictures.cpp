#include "reports/BarcodePictures.h"

#include "reports/Code39.h"
#include "platform/ui/Services.h"

#include <QDir>

QString barcodeDigitFile(QChar digit)
{
    return QDir(ui::programFolder())
        .filePath(kBarcodeFolderName + QLatin1Char('/') + digit + QStringLiteral(".gif"));
}

const QImage& barcodeAsteriskPicture()
{
    static const QImage picture = barcodeCharacterPicture('*');
    return picture;
}

QImage barcodeCharacterPicture(char character)
{
    const std::vector<bool> pixels = code39::picturePixels(character);
    if (pixels.empty())
        return {};
    QImage picture(code39::kPictureWidth, code39::kPictureHeight, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < code39::kPictureHeight; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < code39::kPictureWidth; ++x)
            line[x] = pixels[std::size_t(y * code39::kPictureWidth + x)] ? 1 : 0;
    }
    return picture;
}
