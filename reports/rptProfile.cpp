#include "reports/rptProfile.h"

#include "reports/ReportData.h"
#include "shell/Conversions.h"
#include "shell/Helpers.h"
#include "shell/PhotoPath.h"
#include "shell/ProgramState.h"
#include "shell/ReportParts.h"
#include "shell/TryStep.h"
#include "platform/data/DataError.h"
#include "platform/ui/Services.h"

#include <functional>

namespace {

using report::Alignment;
using report::Twips;

constexpr double kHeadingPoints = 14.25;
constexpr double kValuePoints = 11.25;
constexpr double kStampPoints = 9;
constexpr Twips kValueHeight = 285;
constexpr Twips kStampHeight = 240;
constexpr Twips kHeadingHeight = 360;

// The two columns of boxes and the room for captions to the left of their fields.
constexpr Twips kLeftBox = 120;
constexpr Twips kLeftBoxWidth = 6540;
constexpr Twips kRightBox = 6900;
constexpr Twips kRightBoxWidth = 3660;
constexpr Twips kLeftCaption = 180;
constexpr Twips kRightCaption = 6960;
constexpr Twips kCaptionGap = 60;

const QColor kHeadingBack(215, 215, 215);

template <class T>
T& addText(report::Section& section, const QString& name, const QRectF& bounds, double points,
           bool bold, Alignment alignment)
{
    auto& control = section.Controls().add<T>(name);
    control.setBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    control.setFontSize(points);
    control.setFontBold(bold);
    control.setAlignment(alignment);
    return control;
}

// A titled box: a frame, a shaded heading bar across its top, and the heading's text.
void addBox(report::Section& section, const QString& heading, const QString& text,
            const QRectF& frame, const QRectF& headingBounds)
{
    auto& bar = section.Controls().add<report::Shape>(heading + QStringLiteral("Bar"));
    bar.setBounds(frame.left(), frame.top(), frame.width(), kHeadingHeight);
    bar.setBackColor(kHeadingBack);
    bar.setBackStyle(report::BackStyle::Opaque);
    auto& box = section.Controls().add<report::Shape>(heading + QStringLiteral("Frame"));
    box.setBounds(frame.left(), frame.top(), frame.width(), frame.height());
    addText<report::Label>(section, heading, headingBounds, kHeadingPoints, true, Alignment::Left)
        .setCaption(text);
}

// A value field with its caption to the left, ending just before the field. A caption too
// long for one line takes two, its last line level with the field.
void addField(report::Section& section, const QString& name, const QString& caption,
              Twips captionLeft, Twips left, Twips top, Twips width, bool twoLines = false,
              double points = kValuePoints, Twips height = kValueHeight)
{
    const Twips captionTop = twoLines ? top - (height - 26) : top;
    const Twips captionHeight = twoLines ? 2 * height - 26 : height;
    addText<report::Label>(
        section, QStringLiteral("lbl") + name,
        {captionLeft, captionTop, left - kCaptionGap - captionLeft, captionHeight}, points, true,
        Alignment::Right)
        .setCaption(caption);
    addText<report::TextBox>(section, name, {left, top, width, height}, points, false,
                             Alignment::Left);
}

void addCheck(report::Section& section, const QString& name, const QString& caption, Twips top)
{
    addText<report::Label>(section, QStringLiteral("lbl") + name,
                           {kRightCaption, top, 8940 - kCaptionGap - kRightCaption, kValueHeight},
                           kValuePoints, true, Alignment::Right)
        .setCaption(caption);
    addText<report::CheckBox>(section, name, {8940, top, 300, kValueHeight}, kValuePoints, false,
                              Alignment::Left);
}

QString withText(const QString& before, const QString& value)
{
    return value.isEmpty() ? QString() : before + value;
}

} // namespace

rptProfile::rptProfile()
{
    setCaption(QStringLiteral("Member Profile"));

    report::Section& sheet = PageHeader();
    sheet.setHeight(12240);
    reportparts::addTitle(sheet, {120, 0, 7320, 540}, QStringLiteral("Member Name"),
                          Alignment::Left);
    reportparts::addSubTitle(sheet, {120, 480, 10620, 360}, Alignment::Left).setCaption(Caption());
    reportparts::addTimestampAndPage(sheet, {7470, 0, 3240, 270}, {7470, 270, 3240, 270});

    addBox(sheet, QStringLiteral("Label11"), QStringLiteral("  Contact Info"),
           {kLeftBox, 1140, kLeftBoxWidth, 3600}, {120, 1140, 5520, 360});
    addField(sheet, QStringLiteral("FullName"), QStringLiteral("Full Name:"), kLeftCaption, 1860,
             1680, 4260);
    addField(sheet, QStringLiteral("Street"), QStringLiteral("Street:"), kLeftCaption, 1860, 2040,
             4260);
    addField(sheet, QStringLiteral("CityStateZip"), QStringLiteral("City/State/Zip:"), kLeftCaption,
             1860, 2400, 4260);
    addField(sheet, QStringLiteral("Email1"), QStringLiteral("E-mail:"), kLeftCaption, 1860, 2880,
             4260);
    addField(sheet, QStringLiteral("HomePhone"), QStringLiteral("Home Phone:"), kLeftCaption, 1860,
             3360, 1740);
    addField(sheet, QStringLiteral("CellPhone"), QStringLiteral("Cell:"), 3660, 4680, 3360, 1740);
    addField(sheet, QStringLiteral("PagerPhone"), QStringLiteral("Pager:"), kLeftCaption, 1860,
             3780, 1740);
    addField(sheet, QStringLiteral("WorkPhone"), QStringLiteral("Work:"), 3660, 4680, 3780, 1740);
    addField(sheet, QStringLiteral("IMUsername"), QStringLiteral("IM Username:"), kLeftCaption,
             1860, 4200, 4560);

    addBox(sheet, QStringLiteral("Label12"), QStringLiteral("  Picture"),
           {kRightBox, 1140, kRightBoxWidth, 3600}, {6900, 1140, 3180, 360});
    auto& photo = sheet.Controls().add<report::Image>(QStringLiteral("Photo"));
    photo.setBounds(7140, 1800, 3180, 2520);
    photo.setSizeMode(report::SizeMode::Zoom);
    photo.setPictureAlignment(report::PictureAlignment::Center);
    // A photo that is missing or cannot be read leaves the picture area empty, without a word.
    photo.setPictureRequired(false);

    addBox(sheet, QStringLiteral("Label32"), QStringLiteral("  Demographics"),
           {kLeftBox, 4980, kLeftBoxWidth, 4020}, {120, 4980, 5520, 360});
    addField(sheet, QStringLiteral("Age"), QStringLiteral("Age:"), kLeftCaption, 1860, 5520, 660);
    addField(sheet, QStringLiteral("Gender"), QStringLiteral("Gender:"), 4260, 5340, 5520, 1080);
    addField(sheet, QStringLiteral("Bday"), QStringLiteral("Birthdate:"), kLeftCaption, 1860, 5880,
             1320);
    addField(sheet, QStringLiteral("School"), QStringLiteral("School:"), kLeftCaption, 1860, 6300,
             4560);
    addField(sheet, QStringLiteral("Grade"), QStringLiteral("Grade:"), kLeftCaption, 1860, 6720,
             780);
    addField(sheet, QStringLiteral("Ministries"), QStringLiteral("Ministry Interests:"),
             kLeftCaption, 1860, 7380, 4560, true);
    addField(sheet, QStringLiteral("Parents"), QStringLiteral("Parent/ Guardian:"), kLeftCaption,
             1860, 8040, 4500, true);
    addField(sheet, QStringLiteral("Team"), QStringLiteral("Team:"), kLeftCaption, 1860, 8460,
             4500);

    addBox(sheet, QStringLiteral("Label34"), QStringLiteral("  History/Tracking"),
           {kRightBox, 4980, kRightBoxWidth, 2040}, {6900, 4980, 3180, 360});
    addField(sheet, QStringLiteral("Status"), QStringLiteral("Status:"), kRightCaption, 8940, 5520,
             1320);
    addField(sheet, QStringLiteral("Contact"), QStringLiteral("Contact:"), kRightCaption, 8940,
             5880, 1320);
    addField(sheet, QStringLiteral("FirstAttended"), QStringLiteral("First Attended:"),
             kRightCaption, 8940, 6240, 1320);
    addField(sheet, QStringLiteral("LastAttended"), QStringLiteral("Last Attended:"), kRightCaption,
             8940, 6600, 1320);

    addBox(sheet, QStringLiteral("Label35"), QStringLiteral("  Classifications"),
           {kRightBox, 7200, kRightBoxWidth, 1800}, {6900, 7200, 3180, 360});
    addCheck(sheet, QStringLiteral("Visitor"), QStringLiteral("Visitor:"), 7680);
    addCheck(sheet, QStringLiteral("MailList"), QStringLiteral("Mail List:"), 8040);
    addCheck(sheet, QStringLiteral("Leader"), QStringLiteral("Leader:"), 8400);

    addBox(sheet, QStringLiteral("Label33"), QStringLiteral("  Comments"),
           {kLeftBox, 9240, kRightBox + kRightBoxWidth - kLeftBox, 2460}, {120, 9240, 5520, 360});
    addText<report::TextBox>(sheet, QStringLiteral("Comments"), {300, 9720, 10200, 1920},
                             kValuePoints, false, Alignment::Left);

    addField(sheet, QStringLiteral("Created"), QStringLiteral("Record Created:"), 300, 2040, 11880,
             2880, false, kStampPoints, kStampHeight);
    addField(sheet, QStringLiteral("Edited"), QStringLiteral("Last Edited:"), 5040, 6540, 11880,
             3000, false, kStampPoints, kStampHeight);

    Detail().setHeight(0);

    PageFooter().setHeight(360);
    reportparts::addMakerFooter(PageFooter(), {0, 90, 10710, 270}, {0, 90, 3240, 270},
                                {7470, 90, 3240, 270});

    PageHeader().onFormat([this] { PageHeader_Format(); });
    PageFooter().onFormat([this] { reportparts::stampPage(*this); });

    // The person's row, with the dates of the first and the last meeting the person attended.
    const QString attended =
        QStringLiteral("FROM Weeks INNER JOIN Attendance ON Weeks.Wk_ID = Attendance.Attend_Wk_ID "
                       "WHERE Attend_Youth_ID=Youth_ID;)");
    const QString sql = QStringLiteral("SELECT *,") + QStringLiteral(" (SELECT Min(Wk_Date) ") +
                        attended + QStringLiteral(" as FirstDate,") +
                        QStringLiteral(" (SELECT Max(Wk_Date) ") + attended +
                        QStringLiteral(" as LastDate ") + QStringLiteral(" From Youth") +
                        QStringLiteral(" WHERE Youth_ID = ") +
                        QString::number(program().SelectedYouthID) + QLatin1Char(';');
    try {
        m_connection.setCursorLocation(data::adUseClient);
        m_connection.Open(program().ConnectionString, QString(), QString(), -1);
        m_row.Open(sql, m_connection, data::adOpenForwardOnly, data::adLockReadOnly, -1);
    } catch (const data::DataError& e) {
        // A person who is not there prints an empty sheet without a word; a data file that
        // cannot be read is said so.
        ui::critical(QStringLiteral("The records for the report \"%1\" could not be read.\n\n%2")
                         .arg(Caption(), e.description()));
    }
    if (hasRow()) {
        TryStep("Setting the profile's title", [this] {
            PageHeader()
                .Controls()
                .Item<report::Label>(QStringLiteral("Title"))
                .setCaption(fieldText(m_row, QStringLiteral("Youth_FName")) + QLatin1Char(' ') +
                            fieldText(m_row, QStringLiteral("Youth_LName")));
        });
    }
}

rptProfile::~rptProfile()
{
    m_row.Close();
}

bool rptProfile::hasRow() const
{
    return m_row.State() == data::adStateOpen && !m_row.EOF();
}

void rptProfile::PageHeader_Format()
{
    if (!hasRow())
        return;
    report::ControlCollection& sheet = PageHeader().Controls();
    const auto text = [this](const char* field) {
        return fieldText(m_row, QString::fromLatin1(field));
    };
    const auto dateText = [this](const char* field) {
        return shortDateText(m_row[QString::fromLatin1(field)]);
    };
    const auto setText = [&](const char* control, const std::function<QString()>& value) {
        TryStep(control, [&] {
            sheet.Item<report::TextBox>(QString::fromLatin1(control)).setText(value());
        });
    };
    const auto setCheck = [&](const char* control, const char* field) {
        TryStep(control, [&] {
            sheet.Item<report::CheckBox>(QString::fromLatin1(control))
                .setValue(ToBoolean(m_row[QString::fromLatin1(field)], false) ? 1 : 0);
        });
    };

    setText("FullName", [&] {
        return text("Youth_FName") + withText(QStringLiteral(" "), text("Youth_MName")) +
               QLatin1Char(' ') + text("Youth_LName");
    });
    setText("Street", [&] { return text("Youth_Address1"); });
    setText("CityStateZip", [&] {
        return text("Youth_City") + withText(QStringLiteral(", "), text("Youth_State")) +
               withText(QStringLiteral(", "), text("Youth_Zip"));
    });
    setText("Email1", [&] { return text("Youth_Email"); });
    setText("HomePhone", [&] { return text("Youth_HomePhone"); });
    setText("CellPhone", [&] { return text("Youth_CellPhone"); });
    setText("PagerPhone", [&] { return text("Youth_BeeperPhone"); });
    setText("WorkPhone", [&] { return text("Youth_WorkPhone"); });
    setText("IMUsername", [&] {
        const QString service = text("Youth_IM_Service");
        return text("Youth_IM_Username") +
               (service.isEmpty() ? QString() : QStringLiteral("  (") + service + QLatin1Char(')'));
    });

    TryStep("Photo", [&] {
        auto& photo = sheet.Item<report::Image>(QStringLiteral("Photo"));
        photo.clearPicture();
        const QString file = ResolvePhotoPath(text("Youth_PhotoFile"));
        if (!file.isEmpty())
            photo.loadPicture(file);
    });

    setText("Age", [&] { return QString::number(GetAge(m_row[QStringLiteral("Youth_Bday")])); });
    setText("Gender",
            [&] { return GetGenderText(ToInteger(m_row[QStringLiteral("Youth_Sex")], 0)); });
    setText("Bday", [&] { return dateText("Youth_Bday"); });
    setText("School", [&] { return text("Youth_School"); });
    setText("Grade", [&] { return text("Youth_School_Grade"); });
    setText("Ministries", [&] { return text("Youth_Ministry"); });
    setText("Parents", [&] { return text("Youth_ParentName"); });
    setText("Team", [&] { return text("Youth_Team"); });

    setText("Status",
            [&] { return GetStatusText(ToInteger(m_row[QStringLiteral("Youth_Status")], 0)); });
    setText("Contact", [&] { return text("Youth_Contact"); });
    setText("FirstAttended", [&] { return dateText("FirstDate"); });
    setText("LastAttended", [&] { return dateText("LastDate"); });

    setCheck("Visitor", "Youth_Visitor");
    setCheck("MailList", "Youth_Mail_List");
    setCheck("Leader", "Youth_Leader");

    setText("Comments", [&] { return text("Youth_Comments"); });
    setText("Created", [&] { return text("Youth_Created"); });
    setText("Edited", [&] { return text("Youth_Updated"); });
}
