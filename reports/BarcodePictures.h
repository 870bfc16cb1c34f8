#pragma once

#include <QChar>
#include <QImage>
#include <QString>

// The pictures the person barcode is printed from, one Code 39 character each, 32 x 20 pixels,
// printed 255 x 300 twips and abutting, so that the gap between characters lies inside them.
//
// The ten digits are files beside the program, written by the build from the pattern table of
// Code39.h: ui::programFolder() + "/Barcode_GIFS/" + digit + ".gif". A layout shows one with
//     image.loadPicture(barcodeDigitFile(QLatin1Char('7')));
// A missing or unreadable file leaves the control empty and is recorded as a run error.
//
// The start and stop character "*" belongs to the layouts themselves: it is made in code from
// the same table,
//     image.setPicture(barcodeAsteriskPicture(), kBarcodeAsteriskName);
// Both are kept at their own size and enlarged without smoothing, so the bars stay sharp.

inline const QString kBarcodeFolderName = QStringLiteral("Barcode_GIFS");
// How the "*" picture is named in a document's dump.
inline const QString kBarcodeAsteriskName = QStringLiteral("Code 39 *");

// The file of a digit's picture in the program folder.
QString barcodeDigitFile(QChar digit);

// The picture of "*", made once and shared.
const QImage& barcodeAsteriskPicture();

// The picture of any character of Code39.h, as the build writes the digit files; a null image
// for a character without a pattern.
QImage barcodeCharacterPicture(char character);
