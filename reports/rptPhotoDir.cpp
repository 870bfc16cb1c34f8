#include "reports/rptPhotoDir.h"

#include "reports/ReportData.h"
#include "shell/FittedText.h"
#include "shell/PhotoPath.h"
#include "shell/ProgramState.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kNoPhoto = QStringLiteral("No Photo Available");

constexpr double kCardPoints = 9;
constexpr report::Twips kFrameMargin = 30;
constexpr report::Twips kBarcodeTop = 1200;

report::TextBox& addBlock(report::Section& section, const QString& name, const QRectF& bounds)
{
    auto& block = section.Controls().add<report::TextBox>(name);
    block.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    block.setFontSize(kCardPoints);
    block.setWordWrap(false);
    return block;
}

} // namespace

rptPhotoDir::rptPhotoDir()
{
    setCaption(QStringLiteral("Group Directory"));

    PageHeader().setHeight(900);
    reportparts::addTitle(PageHeader(), {0, 0, 10710, 540}, QStringLiteral("Group Directory"));
    reportparts::addSubTitle(PageHeader(), {0, 480, 10740, 360});
    reportparts::addTimestampAndPage(PageHeader(), {7470, 0, 3240, 270}, {7470, 270, 3240, 270});

    report::Section& detail = Detail();
    detail.setHeight(1470);
    detail.setColumnCount(3);
    detail.setColumnDirection(report::ColumnDirection::AcrossThenDown);
    auto& frame = detail.Controls().add<report::Shape>(QStringLiteral("Shape1"));
    frame.setBounds(30, 60, 1500, 1140);
    auto& noPhoto = detail.Controls().add<report::Label>(QStringLiteral("NoPhotoLabel"));
    noPhoto.setBounds(120, 240, 1320, 840);
    noPhoto.setCaption(kNoPhoto);
    noPhoto.setFontSize(kCardPoints);
    noPhoto.setAlignment(report::Alignment::Center);
    auto& photo = detail.Controls().add<report::Image>(QStringLiteral("MugShot"));
    photo.setBounds(60, 120, 1380, 1080);
    // Photos keep their proportions inside the frame.
    photo.setSizeMode(report::SizeMode::Zoom);
    photo.setPictureAlignment(report::PictureAlignment::Center);
    // A photo that cannot be read leaves its frame empty; the card is still complete.
    photo.setPictureRequired(false);
    photo.setVisible(false);
    addBlock(detail, QStringLiteral("MbrName"), {1620, 60, 1980, 240}).setFontBold(true);
    addBlock(detail, QStringLiteral("MbrAddress"), {1620, 300, 1980, 480});
    addBlock(detail, QStringLiteral("OtherInfo"), {1620, 840, 1980, 540});
    m_barcode = std::make_unique<PersonBarcodeSymbol>(detail, frame, kBarcodeTop);

    PageFooter().setHeight(360);
    reportparts::addMakerFooter(PageFooter(), {0, 60, 10740, 240}, {0, 60, 3240, 240},
                                {7500, 60, 3240, 240});

    OpenQuery(QStringLiteral("SELECT Youth_ID, Youth_LName, Youth_FName, Youth_PhotoFile, "
                             "Youth_Address1, Youth_City, Youth_State, Youth_Zip, Youth_EMail, "
                             "Youth_Bday, Youth_HomePhone, Youth_WorkPhone, Youth_BeeperPhone, "
                             "Youth_CellPhone") +
              QStringLiteral(" From Youth WHERE Youth_Deleted=False") + AndReportFilter() +
              QStringLiteral(" ORDER BY Youth_LName, Youth_FName;"));
    m_barcodeMode = program().ReportOption == QLatin1String("BARCODE");
}

void rptPhotoDir::ReportStart()
{
    m_barcode->reset();
}

void rptPhotoDir::FillDetail(data::Recordset& rows)
{
    const QString id = fieldText(rows, QStringLiteral("Youth_ID"));
    report::ControlCollection& controls = Detail().Controls();
    setFittedText(controls.Item<report::TextBox>(QStringLiteral("MbrName")),
                  fieldText(rows, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                      fieldText(rows, QStringLiteral("Youth_LName")),
                  kCardPoints);
    setFittedText(controls.Item<report::TextBox>(QStringLiteral("MbrAddress")),
                  fieldText(rows, QStringLiteral("Youth_Address1")) + kCrLf +
                      fieldText(rows, QStringLiteral("Youth_City")) + QStringLiteral(", ") +
                      fieldText(rows, QStringLiteral("Youth_State")) + QStringLiteral("  ") +
                      fieldText(rows, QStringLiteral("Youth_Zip")),
                  kCardPoints);

    QString other;
    if (const QString home = fieldText(rows, QStringLiteral("Youth_HomePhone")); !home.isEmpty())
        other = QStringLiteral("Home: ") + home;
    if (const QString email = fieldText(rows, QStringLiteral("Youth_Email")); !email.isEmpty()) {
        if (!other.isEmpty())
            other += kCrLf;
        other += email;
    }
    setFittedText(controls.Item<report::TextBox>(QStringLiteral("OtherInfo")), other, kCardPoints);

    fillPhoto(fieldText(rows, QStringLiteral("Youth_PhotoFile")));

    if (m_barcodeMode)
        m_barcode->draw(id);
}

void rptPhotoDir::fillPhoto(const QString& storedPath)
{
    report::ControlCollection& controls = Detail().Controls();
    auto& photo = controls.Item<report::Image>(QStringLiteral("MugShot"));
    auto& noPhoto = controls.Item<report::Label>(QStringLiteral("NoPhotoLabel"));
    const auto& frame = controls.Item<report::Shape>(QStringLiteral("Shape1"));

    photo.clearPicture();
    photo.setVisible(false);
    const QString path = ResolvePhotoPath(storedPath);
    bool shown = false;
    if (!path.isEmpty()) {
        photo.setBounds(frame.Left() + kFrameMargin, frame.Top() + kFrameMargin,
                        frame.Width() - 2 * kFrameMargin, frame.Height() - 2 * kFrameMargin);
        shown = photo.loadPicture(path);
    }
    // A stored photo whose file is gone or unreadable counts as no photo.
    photo.setVisible(shown);
    noPhoto.setCaption(shown ? QString() : kNoPhoto);
}
