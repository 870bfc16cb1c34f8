#include "tests/people/DirectoryFixture.h"

#include "people/PhotoTab.h"
#include "shell/PhotoPath.h"
#include "shell/ShowReport.h"
#include "platform/report/Registry.h"
#include "platform/ui/Services.h"
#include "tests/support/ScreenDoubles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QScopeGuard>
#include <QTabBar>

namespace {

// A picture of one colour, outside the photo folder, as a user would pick it.
QString picture(const QString& name, QSize size = {800, 400}, QColor colour = Qt::darkGreen)
{
    QDir(testenv::programFolder()).mkpath(QStringLiteral("picked"));
    const QString path = testenv::programFile(QStringLiteral("picked/") + name);
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

QString photoCopy(const QString& name)
{
    return QDir::toNativeSeparators(QDir(PhotoFolder()).filePath(name));
}

class DirectoryPhotos : public DirectoryFixture {
protected:
    void showTab(int tab)
    {
        QTabBar* bar = screen().SSTabCtl->bar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        settle();
    }
    QPixmap shownPhoto() { return screen().MugShot->pixmap(); }
    data::Variant storedPhoto(int id)
    {
        return db.value(
            QStringLiteral("SELECT Youth_PhotoFile FROM Youth WHERE Youth_ID = %1").arg(id));
    }
    QStringList record()
    {
        QStringList lines;
        for (int i = 0; i < screen().Attendance_Record->count(); ++i)
            lines << screen().Attendance_Record->item(i)->text();
        return lines;
    }
    QString lastMessage()
    {
        return testenv::messages().shown().empty() ? QString() : testenv::messages().last().text;
    }
};

TEST_F(DirectoryPhotos, AddNewPhotoCopiesThePickedPictureUnderThePersonsId)
{
    db.addPerson("Ann", "Adams");
    const int bob = db.addPerson("Bob", "Baker");
    open();
    click("cmdNext");
    showTab(3);
    ASSERT_TRUE(screen().cmdNewPhoto->isVisible());

    // A cancelled dialog changes nothing.
    testenv::files().scriptFileName(QString());
    click("cmdNewPhoto");
    ASSERT_EQ(testenv::files().asked().size(), 1u);
    const auto& asked = testenv::files().asked().front();
    EXPECT_EQ(asked.title, "Select a Picture File to Submit");
    EXPECT_EQ(asked.filter, "All Files (*.*)|*.*|Graphics Files (*.gif, *.jpg, etc.)|*.gif; "
                            "*.jpg; *.tif; *.bmp");
    EXPECT_EQ(asked.filterIndex, 2);
    EXPECT_FALSE(QFileInfo::exists(PhotoFolder()));
    EXPECT_TRUE(storedPhoto(bob).isNull());

    testenv::files().scriptFileName(picture("me.JPG", {800, 400}));
    click("cmdNewPhoto");
    const QString copy = photoCopy(QStringLiteral("%1.JPG").arg(bob));
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(storedPhoto(bob).text(), copy);
    // Shown whole, in proportion, within the picture box.
    const QPixmap shown = shownPhoto();
    ASSERT_FALSE(shown.isNull());
    const QSize box = screen().MugShot->contentsRect().size();
    const QSizeF size = shown.deviceIndependentSize();
    EXPECT_LE(size.width(), box.width());
    EXPECT_LE(size.height(), box.height());
    EXPECT_NEAR(size.width() / size.height(), 2.0, 0.02);

    // Picking again replaces the copy; the path stays.
    testenv::files().scriptFileName(picture("again.JPG", {100, 100}, Qt::blue));
    click("cmdNewPhoto");
    EXPECT_EQ(QImage(copy).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(storedPhoto(bob).text(), copy);
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(DirectoryPhotos, ANewPersonIsSavedFirstSoTheCopyCarriesTheNewId)
{
    db.addPerson("Ann", "Adams");
    open();
    click("cmdAdd");
    retype(11, "Cal");
    showTab(3);
    testenv::files().scriptFileName(picture("cal.png"));
    click("cmdNewPhoto");

    const int cal = db.value("SELECT Youth_ID FROM Youth WHERE Youth_FName = 'Cal'").number();
    ASSERT_GT(cal, 0);
    EXPECT_EQ(storedPhoto(cal).text(), photoCopy(QStringLiteral("%1.png").arg(cal)));
    EXPECT_TRUE(QFileInfo::exists(photoCopy(QStringLiteral("%1.png").arg(cal))));
    EXPECT_FALSE(QFileInfo::exists(photoCopy(QStringLiteral(".png"))));
    EXPECT_EQ(currentId(), cal);
}

TEST_F(DirectoryPhotos, AFailedCopyIsToldAndLeavesThePersonAsItWas)
{
    const int ann = db.addPerson("Ann", "Adams");
    open();
    showTab(3);
    testenv::files().scriptFileName(picture("ann.png"));
    click("cmdNewPhoto");
    const QString copy = photoCopy(QStringLiteral("%1.png").arg(ann));
    ASSERT_EQ(storedPhoto(ann).text(), copy);

    // A file that is no picture.
    const QString notes = testenv::programFile(QStringLiteral("picked/notes.jpg"));
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("shopping list");
    }
    testenv::files().scriptFileName(notes);
    click("cmdNewPhoto");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_TRUE(lastMessage().contains(QDir::toNativeSeparators(notes)))
        << lastMessage().toStdString();
    EXPECT_EQ(storedPhoto(ann).text(), copy);
    EXPECT_FALSE(QFileInfo::exists(photoCopy(QStringLiteral("%1.jpg").arg(ann))));
    EXPECT_FALSE(shownPhoto().isNull()) << "the photo the person has stays on show";

    // A disk that fills up part-way through a copy over the earlier one: that one stays whole.
    testenv::messages().clear();
    testenv::files().scriptFileName(picture("again.png", {800, 400}, Qt::red));
    {
        testing_support::FullDisk disk;
        click("cmdNewPhoto");
    }
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(lastMessage(), QStringLiteral("The photo could not be copied to ") + copy +
                                 QStringLiteral(": ") + testing_support::FullDisk::reason());
    EXPECT_EQ(QImage(copy).pixelColor(0, 0), QColor(Qt::darkGreen));
    EXPECT_EQ(storedPhoto(ann).text(), copy);
    EXPECT_FALSE(shownPhoto().isNull());

    // A data file that refuses the new path: the person keeps the path it had, also once the
    // screen is left.
    db.exec("CREATE TRIGGER refuse_update BEFORE UPDATE ON Youth "
            "BEGIN SELECT RAISE(ABORT, 'The data file refused the change'); END");
    testenv::messages().clear();
    testenv::files().scriptFileName(picture("other.bmp"));
    click("cmdNewPhoto");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(lastMessage().contains("The data file refused the change"));
    EXPECT_FALSE(shownPhoto().isNull());
    db.exec("DROP TRIGGER refuse_update");
    leave();
    EXPECT_EQ(storedPhoto(ann).text(), copy);
}

TEST_F(DirectoryPhotos, EveryMoveShowsThePersonsPhotoOrABlankOneWithoutAWord)
{
    QDir(testenv::programFolder()).mkpath(QStringLiteral("Photos"));
    QImage(300, 200, QImage::Format_RGB32).save(QDir(PhotoFolder()).filePath("7.png"));
    {
        QFile broken(QDir(PhotoFolder()).filePath("8.jpg"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }
    // A path written on another computer finds the copy in this program's photo folder.
    db.addPerson("Ann", "Adams",
                 {{"Youth_PhotoFile", "C:\\Program Files\\Corvessa\\Photos\\7.png"}});
    db.addPerson("Bob", "Baker");
    db.addPerson("Cal", "Cole",
                 {{"Youth_PhotoFile", "C:\\Program Files\\Corvessa\\Photos\\6.png"}});
    db.addPerson("Dee", "Dunn",
                 {{"Youth_PhotoFile", "C:\\Program Files\\Corvessa\\Photos\\8.jpg"}});
    open();
    showTab(3);
    EXPECT_FALSE(shownPhoto().isNull());
    for (int i = 0; i < 3; ++i) {
        click("cmdNext");
        EXPECT_TRUE(shownPhoto().isNull()) << i;
    }
    click("cmdFirst");
    EXPECT_FALSE(shownPhoto().isNull());
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(DirectoryPhotos, RemovePhotoAsksThenDeletesTheCopyAndClearsThePathWithTheNextSave)
{
    const int ann = db.addPerson("Ann", "Adams");
    db.addPerson("Bob", "Baker");
    open();
    showTab(3);
    testenv::files().scriptFileName(picture("ann.png"));
    click("cmdNewPhoto");
    const QString copy = photoCopy(QStringLiteral("%1.png").arg(ann));
    ASSERT_TRUE(QFileInfo::exists(copy));

    // Bob has no photo: nothing is asked.
    click("cmdNext");
    click("cmdDelPhoto");
    EXPECT_TRUE(testenv::messages().shown().empty());

    // Cancel keeps it.
    click("cmdPrevious");
    testenv::messages().scriptAnswer(ui::Answer::Cancel);
    click("cmdDelPhoto");
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::QuestionOkCancel);
    EXPECT_EQ(testenv::messages().last().title, "Remove Photo?");
    EXPECT_EQ(lastMessage(), "You have chosen to remove the photo from this person's record.  "
                             "Click OK to remove the photo or cancel to abort.");
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_FALSE(shownPhoto().isNull());

    // OK deletes the copy at once; the path goes with the next save.
    click("cmdDelPhoto");
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(shownPhoto().isNull());
    EXPECT_EQ(storedPhoto(ann).text(), copy);
    click("cmdUpdate");
    EXPECT_TRUE(storedPhoto(ann).isNull());
}

TEST_F(DirectoryPhotos, WithoutThePhotoColumnThereIsNoPhotoTab)
{
    db.addPerson("Ann", "Adams");
    db.exec("ALTER TABLE Youth DROP COLUMN Youth_PhotoFile");
    open();
    EXPECT_FALSE(screen().SSTabCtl->isTabVisible(3));
    click("cmdNext");
    EXPECT_TRUE(testenv::messages().shown().empty());
}

TEST_F(DirectoryPhotos, SendEmailChecksTheAddressAndHandsItToTheDesktop)
{
    db.addPerson("Ann", "Adams");
    open();

    // An empty box does nothing.
    click("cmdEmail");
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_TRUE(testenv::shell().opened.isEmpty());

    // An address without a full stop after the at sign: one message, no link.
    type(8, "ann@home");
    click("cmdEmail");
    settle();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_EQ(testenv::messages().last().kind, ui::MessageKind::Critical);
    EXPECT_EQ(testenv::messages().last().title, "Invalid E-mail Address");
    EXPECT_EQ(lastMessage(), "This is not a valid e-mail address in the form "
                             "'someone@mail.example'.  No message can be sent.");
    EXPECT_TRUE(testenv::shell().opened.isEmpty());

    // A valid one becomes a link; what would change the link is encoded.
    testenv::messages().clear();
    retype(8, "ann adams@mail.example?cc=x");
    click("cmdEmail");
    settle();
    EXPECT_TRUE(testenv::messages().shown().empty());
    EXPECT_EQ(testenv::shell().opened, QStringList({"mailto:ann%20adams@mail.example%3Fcc%3Dx"}));

    // No mail program takes the link: one message, naming the address.
    testenv::shell().succeed = false;
    retype(8, "ann@mail.example");
    click("cmdEmail");
    settle();
    ASSERT_EQ(testenv::messages().shown().size(), 1u);
    EXPECT_TRUE(lastMessage().contains("ann@mail.example"));
}

TEST_F(DirectoryPhotos, TheTrackingTabListsTheLast26WeeksOfThePersonShown)
{
    const int ann = db.addPerson("Ann", "Adams");
    db.addPerson("Bob", "Baker");
    const int recent = db.addMeeting(QDate(2024, 5, 12));
    db.addMeeting(QDate(2024, 5, 5));
    db.attend(recent, {ann});
    open();
    showTab(2);
    EXPECT_TRUE(screen().Attendance_Record->isVisible());
    EXPECT_EQ(record(), QStringList({"05/12/2024 -  PRESENT", "05/05/2024 -  Absent"}));
    key(Qt::Key_Down);
    EXPECT_EQ(record(), QStringList());
    key(Qt::Key_Up);
    EXPECT_EQ(record().size(), 2);
    click("cmdAdd");
    EXPECT_EQ(record(), QStringList());
}

// The profile sheet double: notes the person it was created for.
int g_profilePerson = -1;

TEST_F(DirectoryPhotos, PrintProfileSavesThePersonAndShowsTheSheetForItsId)
{
    const int ann = db.addPerson("Ann", "Adams");
    db.addPerson("Bob", "Baker");
    open();
    EXPECT_FALSE(button("cmdPrintProfile")->isEnabled()) << "no profile sheet to print";
    leave();

    testing_support::ScreenLog log;
    ScreenRegistry::registerScreen(QStringLiteral("frmCustomActiveReportsPreview"),
                                   [&log] { return new testing_support::RecordingPreview(log); });
    report::registerLayout(frmDirectory::kProfileLayout, [] {
        g_profilePerson = program().SelectedYouthID;
        return std::make_shared<testing_support::CaptionOnlyReport>("Member Profile");
    });
    const auto unregister = qScopeGuard([] {
        report::unregisterLayout(frmDirectory::kProfileLayout);
        ScreenRegistry::unregisterScreen(QStringLiteral("frmCustomActiveReportsPreview"));
    });
    open();
    type(0, "1 Main St");
    click("cmdPrintProfile");
    EXPECT_EQ(g_profilePerson, ann);
    EXPECT_TRUE(log.events.contains("report Member Profile"));
    EXPECT_EQ(
        db.value(QStringLiteral("SELECT Youth_Address1 FROM Youth WHERE Youth_ID = %1").arg(ann))
            .text(),
        "1 Main St");

    // Closing the preview comes back to the person printed.
    auto* preview = qobject_cast<testing_support::RecordingPreview*>(main().CurrentForm());
    ASSERT_NE(preview, nullptr);
    preview->CloseByUser();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(currentId(), ann);

    // A new person is saved first and printed under its new id.
    click("cmdAdd");
    retype(11, "Cal");
    click("cmdPrintProfile");
    const int cal = db.value("SELECT Youth_ID FROM Youth WHERE Youth_FName = 'Cal'").number();
    EXPECT_GT(cal, 0);
    EXPECT_EQ(g_profilePerson, cal);
}

} // namespace
