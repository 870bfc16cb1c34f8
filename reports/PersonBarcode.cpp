#include "reports/PersonBarcode.h"

#include "reports/BarcodePictures.h"
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
    if (name.startsWith(kAsteriskPrefix))
        image.setPicture(barcodeAsteriskPicture(), kBarcodeAsteriskName);
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
    m_readable = {};
    m_missingReported = false;
}

bool PersonBarcodeSymbol::digitReadable(QChar digit)
{
    auto& known = m_readable[std::size_t(digit.unicode() - u'0')];
    if (!known) {
        // Read whole, once: a file cut short would otherwise leave a gap in the symbol.
        const QString file = barcodeDigitFile(digit);
        known = !report::readPictureFile(file).isNull();
        if (!*known && !m_missingReported) {
            m_missingReported = true;
            ui::critical(QStringLiteral("The barcode picture \"%1\" is missing or cannot be "
                                        "read, so the barcodes that need it are left out of "
                                        "this report.")
                             .arg(QDir::toNativeSeparators(file)));
        }
    }
    return *known;
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
    // A partial symbol would scan as somebody else: all characters or none.
    if (!std::all_of(digits.begin(), digits.end(), [this](QChar d) { return digitReadable(d); }))
        return;
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
    if (!ctl.Name().startsWith(kAsteriskPrefix))
        ctl.loadPicture(barcodeDigitFile(digit.isEmpty() ? QChar() : digit.at(0)));
    ctl.setVisible(true);
}
