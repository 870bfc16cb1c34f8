#include "reports/PersonBarcode.h"

#include "platform/ui/Services.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kStartName = QStringLiteral("bc_Asterisk_Start");
const QString kEndName = QStringLiteral("bc_Asterisk_End");
const QString kDigitPrefix = QStringLiteral("bc_Digit");
const QString kAsteriskPrefix = QStringLiteral("bc_Asterisk");

report::Image& addCharacter(report::Section& section, const QString& name)
{
    auto& image = section.Controls().add<report::Image>(name);
    image.setBounds(0, 0, PersonBarcodeSymbol::kCharacterWidth,
                    PersonBarcodeSymbol::kCharacterHeight);
    image.setVisible(false);
    return image;
}

} // namespace

QString PersonBarcodeDigits(const QString& id)
{
    if (id.isEmpty() ||
        !std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    return id.rightJustified(PersonBarcodeSymbol::kDesignedDigits, QLatin1Char('0'));
}

QString PersonBarcode(const QString& id)
{
    const QString digits = PersonBarcodeDigits(id);
    return digits.isEmpty() ? QString() : QLatin1Char('*') + digits + QLatin1Char('*');
}

PersonBarcodeSymbol::PersonBarcodeSymbol(report::Section& section, const report::Control& reference,
                                         report::Twips top)
    : m_section(section), m_reference(reference), m_top(top)
{
    m_start = &addCharacter(section, kStartName);
    for (int place = 1; place <= kDesignedDigits; ++place)
        m_digits.push_back(&addCharacter(section, kDigitPrefix + QString::number(place)));
    m_end = &addCharacter(section, kEndName);
}

void PersonBarcodeSymbol::reset()
{
    m_pictures = {};
    m_missingReported = false;
}

QString PersonBarcodeSymbol::digitPicturePath(QChar digit)
{
    return QDir(ui::programFolder())
        .filePath(QStringLiteral("Barcode_GIFS/") + digit + QStringLiteral(".gif"));
}

const std::optional<QImage>& PersonBarcodeSymbol::digitPicture(QChar digit)
{
    auto& slot = m_pictures[std::size_t(digit.unicode() - u'0')];
    if (!slot) {
        QImage picture(digitPicturePath(digit));
        slot = picture.isNull() ? std::nullopt : std::optional<QImage>(std::move(picture));
    }
    return *slot;
}

void PersonBarcodeSymbol::reportMissing(QChar digit)
{
    if (m_missingReported)
        return;
    m_missingReported = true;
    ui::critical(QStringLiteral("The barcode picture \"%1\" is missing or cannot be read, so "
                                "the barcodes that need it are left out of this report.")
                     .arg(QDir::toNativeSeparators(digitPicturePath(digit))));
}

report::Image& PersonBarcodeSymbol::digitControl(int place)
{
    while (int(m_digits.size()) < place) {
        // A place beyond the designed six, for a longer id: added once, then reused.
        m_digits.push_back(
            &addCharacter(m_section, kDigitPrefix + QString::number(m_digits.size() + 1)));
    }
    return *m_digits[std::size_t(place - 1)];
}

void PersonBarcodeSymbol::hide()
{
    m_start->setVisible(false);
    m_end->setVisible(false);
    for (report::Image* digit : m_digits)
        digit->setVisible(false);
}

void PersonBarcodeSymbol::draw(const QString& id)
{
    hide();
    const QString digits = PersonBarcodeDigits(id);
    if (digits.isEmpty())
        return;
    for (QChar digit : digits) {
        if (!digitPicture(digit)) {
            reportMissing(digit);
            return;
        }
    }
    BarcodeDigit(*m_start, 1, QString());
    for (int i = 1; i <= int(digits.size()); ++i)
        BarcodeDigit(digitControl(i), i + 1, digits.at(i - 1));
    BarcodeDigit(*m_end, int(digits.size()) + 2, QString());
}

void PersonBarcodeSymbol::BarcodeDigit(report::Image& ctl, int pos, const QString& digit)
{
    ctl.setWidth(kCharacterWidth);
    ctl.setHeight(kCharacterHeight);
    ctl.setTop(m_top);
    ctl.setLeft(m_reference.Left() + (pos - 1) * kCharacterWidth);
    ctl.setPictureAlignment(report::PictureAlignment::TopLeft);
    ctl.setSizeMode(report::SizeMode::Stretch);
    ctl.setSmooth(false);
    if (!ctl.Name().startsWith(kAsteriskPrefix, Qt::CaseInsensitive)) {
        const QChar d = digit.isEmpty() ? QChar() : digit.at(0);
        if (d >= u'0' && d <= u'9' && digitPicture(d))
            ctl.setPicture(*digitPicture(d), digitPicturePath(d));
        else
            ctl.clearPicture();
    }
    ctl.setVisible(true);
}
