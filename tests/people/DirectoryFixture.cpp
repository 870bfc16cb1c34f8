#include "tests/people/DirectoryFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>

DirectoryFixture::DirectoryFixture()
{
    ScreenRegistry::registerScreen(QStringLiteral("frmDirectory"), [] { return new frmDirectory; });
}

DirectoryFixture::~DirectoryFixture()
{
    ScreenRegistry::unregisterScreen(QStringLiteral("frmDirectory"));
}

frmDirectory& DirectoryFixture::open(bool visitors)
{
    if (!program().MainForm) {
        program().MainForm = std::make_unique<frmMainMDI>();
        main().Load();
        main().Show();
        main().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    main().ClickNode(visitors ? 2 : 3);
    return screen();
}

frmDirectory& DirectoryFixture::screen()
{
    auto* form = qobject_cast<frmDirectory*>(main().CurrentForm());
    if (!form)
        throw std::runtime_error("the directory is not the current screen");
    return *form;
}

void DirectoryFixture::leave()
{
    main().ClickNode(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QLineEdit* DirectoryFixture::box(int index)
{
    auto* b = screen().findChild<QLineEdit*>(QStringLiteral("txtFields(%1)").arg(index));
    EXPECT_NE(b, nullptr) << index;
    return b;
}

QPlainTextEdit* DirectoryFixture::comments()
{
    return screen().findChild<QPlainTextEdit*>(QStringLiteral("txtFields(5)"));
}

QCheckBox* DirectoryFixture::check(int index)
{
    auto* c = screen().findChild<QCheckBox*>(QStringLiteral("chkFields(%1)").arg(index));
    EXPECT_NE(c, nullptr) << index;
    return c;
}

PersonPicker* DirectoryFixture::picker()
{
    return screen().findChild<PersonPicker*>(QStringLiteral("NavCombo"));
}

QComboBox* DirectoryFixture::combo(const char* name)
{
    auto* c = screen().findChild<QComboBox*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void DirectoryFixture::click(const char* buttonName)
{
    QAbstractButton* b = button(buttonName);
    ASSERT_TRUE(b->isEnabled()) << buttonName;
    QTest::mouseClick(b, Qt::LeftButton);
}

void DirectoryFixture::type(int index, const QString& text)
{
    QWidget* target = index == 5 ? static_cast<QWidget*>(comments()) : box(index);
    target->setFocus();
    settle();
    QTest::keyClicks(target, text);
}

void DirectoryFixture::append(int index, const QString& text)
{
    QLineEdit* target = box(index);
    target->setFocus();
    settle();
    target->end(false);
    QTest::keyClicks(target, text);
}

void DirectoryFixture::retype(int index, const QString& text)
{
    QLineEdit* target = box(index);
    target->setFocus();
    settle();
    target->selectAll();
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Delete);
    else
        QTest::keyClicks(target, text);
}

void DirectoryFixture::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget();
    if (!target || !screen().isAncestorOf(target))
        target = box(11);
    QTest::keyClick(target, k, modifiers);
}

void DirectoryFixture::pick(QComboBox* list, int row)
{
    // Opens the list, moves to the entry and presses Enter, as a user can.
    list->showPopup();
    QAbstractItemView* view = list->view();
    view->setCurrentIndex(view->model()->index(row, list->modelColumn(), list->rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
    settle();
}

void DirectoryFixture::pickText(QComboBox* list, const QString& text)
{
    const int row = list->findText(text);
    ASSERT_GE(row, 0) << text.toStdString();
    pick(list, row);
}

void DirectoryFixture::settle()
{
    QTest::qWait(1);
    QCoreApplication::processEvents();
}

QString DirectoryFixture::counter()
{
    return screen().findChild<QLabel*>(QStringLiteral("NumRecords"))->text();
}

QStringList DirectoryFixture::pickerTexts()
{
    QStringList texts;
    for (const PickerEntry& e : picker()->entries().entries())
        texts << e.text;
    return texts;
}

QString DirectoryFixture::pickedText()
{
    return picker()->currentText();
}

int DirectoryFixture::currentId()
{
    return picker()->selectedKey().mid(1).toInt();
}
