#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLabel.h"
#include "viewer/PictureSequence.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<PictureStore::NewRecord> pictures(const std::vector<QString> &names)
{
    std::vector<PictureStore::NewRecord> records;
    for (const QString &name : names) {
        const QColor colour = QColor::fromHsv(int(records.size() + 1) * 50, 200, 200);
        records.push_back({name, u"png"_s, pictureFile({40, 30}, colour)});
    }
    return records;
}

// A program with a library and its main window open; the viewer is made
// the way the main window makes it.
class Viewer : public ::testing::Test
{
protected:
    void open(const std::vector<PictureStore::NewRecord> &records)
    {
        m_records = records;
        program.createLibrary(records);
        window.emplace(program.session());
        window->show();
        window->openLibrary();
    }

    std::unique_ptr<ViewerWindow> makeViewer()
    {
        return std::make_unique<ViewerWindow>(window->library());
    }

    const QByteArray &recordPicture(int record) const { return m_records[std::size_t(record - 1)].picture; }
    CheckBoxList &list() { return *ui(*window).pictureList; }

    // Double-clicks the preview; true when that opened the viewer (which is
    // closed again at once).
    bool previewDoubleClickOpensTheViewer()
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto *viewer = qobject_cast<ViewerWindow *>(QApplication::activeModalWidget())) {
                opened = true;
                viewer->reject();
            }
        });
        QTest::mouseDClick(ui(*window).preview, Qt::LeftButton);
        QCoreApplication::processEvents();
        return opened;
    }

    TestProgram program;
    std::optional<MainWindow> window;
    std::vector<PictureStore::NewRecord> m_records;
};

// A library of 100,000 pictures without a store behind it: only the rows'
// names are real.
class LargeLibrary : public PictureSequence
{
public:
    explicit LargeLibrary(std::vector<QString> names)
        : m_names(std::move(names))
    {
    }

    int pictureCount() const override { return 100000; }
    int rowCount() const override { return int(m_names.size()); }
    int selectedRow() const override { return m_row; }
    QString rowName(int row) const override { return row >= 0 && row < rowCount() ? m_names[std::size_t(row)] : QString(); }
    void showRow(int row) override { m_row = row >= 0 && row < rowCount() ? row : -1; }
    PictureSource currentPicture() const override { return {}; }
    PictureSource pictureOfRow(int) const override { return {}; }
    PictureLoader &pictureLoader() override { return m_loader; }

private:
    std::vector<QString> m_names;
    int m_row = 0;
    PictureLoader m_loader;
};

}

TEST_F(Viewer, CoversTheScreenAndPlacesTheBottomRowByTheScreen)
{
    open(pictures({u"0001"_s}));
    program.responder().setScreenSize({1024, 768});
    auto viewer = makeViewer();
    EXPECT_EQ(viewer->geometry(), QRect(0, 0, 1024, 738));
    EXPECT_EQ(ui(*viewer).backdrop->geometry(), QRect(0, 0, 1024, 738));
    EXPECT_EQ(ui(*viewer).pictureBox->geometry(), QRect(10, 10, 1004, 698));
    EXPECT_EQ(ui(*viewer).exitButton->geometry(), QRect(954, 708, 22, 22));
    EXPECT_EQ(ui(*viewer).backButton->geometry(), QRect(412, 708, 22, 22));
    EXPECT_EQ(ui(*viewer).forwardButton->geometry(), QRect(612, 708, 22, 22));
    EXPECT_EQ(ui(*viewer).countLabel->geometry(), QRect(16, 708, 96, 24));
    EXPECT_EQ(ui(*viewer).numberLabel->geometry(), QRect(120, 708, 144, 24));

    program.responder().setScreenSize({1365, 768});
    auto wide = makeViewer();
    wide->show();
    EXPECT_EQ(wide->geometry(), QRect(0, 0, 1365, 738));
    EXPECT_EQ(ui(*wide).backButton->geometry().left(), 582) << "682.5 - 100, cut toward zero";
    EXPECT_EQ(ui(*wide).forwardButton->geometry().left(), 782);
    EXPECT_EQ(ui(*wide).pictureBox->geometry(), QRect(10, 10, 1345, 698));

    EXPECT_TRUE(wide->windowTitle().trimmed().isEmpty());
    for (QToolButton *button : {ui(*wide).exitButton, ui(*wide).backButton, ui(*wide).forwardButton}) {
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(button->icon().pixmap(16, 16).size(), QSize(16, 16));
    }
    EXPECT_EQ(ui(*wide).countLabel->palette().color(QPalette::WindowText), QColor(236, 236, 236));
    EXPECT_EQ(wide->children().indexOf(ui(*wide).backdrop), 0) << "the backdrop lies beneath everything";
}

TEST(ViewerCaptions, TheLongestCountAndNameShowWholeAndLegibleInTheirPlaces)
{
    TestProgram program;
    program.responder().setScreenSize({1024, 768});
    LargeLibrary library({QString(20, u'鬱'), u"0002"_s});
    ViewerWindow viewer(library);
    viewer.show();
    const ViewerWindowControls controls = ui(viewer);
    EXPECT_EQ(controls.countLabel->text(), u"库内共有100000张图片"_s);
    EXPECT_EQ(controls.numberLabel->text(), u"图片编号："_s + QString(20, u'鬱'));
    for (const QLabel *caption : {controls.countLabel, controls.numberLabel}) {
        EXPECT_TRUE(standsWhole(*caption));
        EXPECT_GE(caption->font().pixelSize(), 9) << "still legible";
    }
    EXPECT_EQ(controls.countLabel->geometry(), QRect(16, 708, 96, 24));
    EXPECT_EQ(controls.numberLabel->pos(), QPoint(120, 708));
    EXPECT_LT(controls.numberLabel->geometry().right(), controls.backButton->x()) << "clear of the back button";

    viewer.stepNext();
    EXPECT_EQ(controls.numberLabel->text(), u"图片编号：0002"_s);
    EXPECT_EQ(controls.numberLabel->geometry(), QRect(120, 708, 144, 24)) << "a short name keeps the designed label";
    EXPECT_EQ(controls.numberLabel->font().pixelSize(), 12);
}

TEST_F(Viewer, ShowsSmallPicturesAtTheirOwnSizeInTheMiddleAndFitsLargeOnes)
{
    auto records = pictures({u"猫"_s, u"0002"_s});
    records[1].picture = pictureFile({3000, 20}, Qt::darkBlue, "PNG");
    open(records);
    clickRow(list(), 0);
    auto viewer = makeViewer();
    viewer->show();
    EXPECT_EQ(ui(*viewer).countLabel->text(), u"库内共有2张图片"_s);
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：猫"_s);
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(1)));
    EXPECT_EQ(ui(*viewer).pictureBox->image().size(), QSize(40, 30)) << "a small picture is not scaled";

    const QImage shown = ui(*viewer).pictureBox->grab().toImage();
    const QPoint middle = ui(*viewer).pictureBox->rect().center();
    EXPECT_EQ(shown.pixel(middle), QColor::fromHsv(50, 200, 200).rgb());
    EXPECT_EQ(shown.pixel(middle + QPoint(19, 14)), QColor::fromHsv(50, 200, 200).rgb());
    EXPECT_EQ(shown.pixel(middle + QPoint(21, 16)), QColor(Qt::black).rgb()) << "the rest is backdrop";

    viewer->stepNext();
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(2)));
    const QSize box = ui(*viewer).pictureBox->size();
    EXPECT_EQ(ui(*viewer).pictureBox->image().width(), box.width()) << "a larger picture is fitted into the box";
}

namespace {

// Both files of the library, to prove that nothing wrote them.
QByteArray storeFilesOf(const TestProgram &program)
{
    return readFile(program.filePath(u"pic.edb"_s)) + readFile(program.filePath(u"pic.EDT"_s));
}

}

TEST_F(Viewer, StepsMoveTheMainWindowAndStopAtBothEnds)
{
    open(pictures({u"0001"_s, QString(), u"0003"_s}));
    const QByteArray filesBefore = storeFilesOf(program);
    clickRow(list(), 0);
    auto viewer = makeViewer();
    viewer->show();

    QTest::mouseClick(ui(*viewer).forwardButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(ui(*window).recordNumber->text(), u"2"_s);
    EXPECT_TRUE(shows(*ui(*window).preview, recordPicture(2))) << "the main window follows";
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(2)));
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号："_s) << "an empty name, stepping forward";

    for (int extra = 0; extra < 3; ++extra)
        QTest::mouseClick(ui(*viewer).forwardButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), 2) << "forward from the last row stays there";
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(3)));
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：0003"_s);

    QTest::mouseClick(ui(*viewer).backButton, Qt::LeftButton);
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：0001"_s) << "an empty name, stepping back";
    QTest::mouseClick(ui(*viewer).backButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), 0);
    QTest::mouseClick(ui(*viewer).backButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), -1) << "back from the first row leaves no row selected";
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：0001"_s);
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(1))) << "the store stays on record 1";
    EXPECT_TRUE(ui(*window).preview->pixmap().isNull());
    QTest::mouseClick(ui(*viewer).backButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), -1);
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：0001"_s);

    QTest::mouseClick(ui(*viewer).forwardButton, Qt::LeftButton);
    EXPECT_EQ(list().selectedIndex(), 0) << "forward from no selection shows the first picture";
    EXPECT_TRUE(shows(*ui(*viewer).pictureBox, recordPicture(1)));
    EXPECT_TRUE(shows(*ui(*window).preview, recordPicture(1)));

    viewer->reject();
    window->close();
    EXPECT_EQ(storeFilesOf(program), filesBefore) << "stepping never writes";
}

TEST_F(Viewer, EmptyLibraryShowsACountOfZeroAndStepsSafely)
{
    open({});
    auto viewer = makeViewer();
    viewer->show();
    EXPECT_EQ(ui(*viewer).countLabel->text(), u"库内共有0张图片"_s);
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号："_s);
    EXPECT_TRUE(ui(*viewer).pictureBox->image().isNull());
    viewer->stepNext();
    viewer->stepPrevious();
    viewer->stepPrevious();
    EXPECT_EQ(list().selectedIndex(), -1);
    EXPECT_EQ(ui(*viewer).numberLabel->text(), u"图片编号：0001"_s);
    EXPECT_EQ(window->library().pictureCount(), 0);
}

TEST_F(Viewer, OpensModallyOnADoubleClickAndTheArrowKeysStepUntilItCloses)
{
    open(pictures({u"0001"_s, u"0002"_s, u"0003"_s}));
    window->activateWindow();

    EXPECT_FALSE(previewDoubleClickOpensTheViewer()) << "before any selection the preview is disabled";

    for (int opening = 0; opening < 2; ++opening) {
        bool opened = false;
        whenViewerOpens([&](ViewerWindow &viewer) {
            opened = true;
            EXPECT_TRUE(viewer.isModal());
            ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
            EXPECT_EQ(ui(viewer).numberLabel->text(), u"图片编号：0001"_s);
            pressKey(viewer, Qt::Key_Right);
            pressKey(viewer, Qt::Key_Right);
            EXPECT_EQ(list().selectedIndex(), 2) << "opening " << opening;
            EXPECT_EQ(ui(viewer).numberLabel->text(), u"图片编号：0003"_s);
            EXPECT_EQ(ui(*window).nameBox->text(), u"0003"_s);
            pressKey(viewer, Qt::Key_Left);
            EXPECT_EQ(list().selectedIndex(), 1);
            EXPECT_TRUE(shows(*ui(*window).preview, recordPicture(2)));
            QTest::mouseClick(ui(viewer).exitButton, Qt::LeftButton);
            EXPECT_FALSE(viewer.isVisible()) << "the exit button closes the viewer";
        });
        if (opening == 0)
            doubleClickRow(list(), 0);
        else
            QTest::mouseDClick(ui(*window).preview, Qt::LeftButton);
        ASSERT_TRUE(opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        window->library().showRow(0);
    }
}

TEST_F(Viewer, TheArrowKeysStepWhereverTheFocusIsAndAreFreeOnceItCloses)
{
    open(pictures({u"1"_s, u"2"_s, u"3"_s}));
    clickRow(list(), 0);
    auto viewer = makeViewer();
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    for (QWidget *control : viewer->findChildren<QWidget *>())
        EXPECT_EQ(control->focusPolicy(), Qt::NoFocus) << "no control takes the arrow keys away";
    QTest::mouseClick(ui(*viewer).forwardButton, Qt::LeftButton);
    QWidget *focus = QApplication::focusWidget();
    pressKey(focus ? *focus : *viewer, Qt::Key_Right);
    EXPECT_EQ(list().selectedIndex(), 2);

    // Closed but not yet destroyed: the keys go where the user types again.
    QTest::mouseClick(ui(*viewer).exitButton, Qt::LeftButton);
    ASSERT_FALSE(viewer->isVisible());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*window));
    list().setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCoreApplication::processEvents();
    EXPECT_EQ(list().selectedIndex(), 1) << "Left no longer steps; Up moves the list";
}

TEST_F(Viewer, HeldArrowKeyStepsOncePerBurstOfRepeats)
{
    open(pictures({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
    clickRow(list(), 0);
    auto viewer = makeViewer();
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));

    // Presses that pile up while a step is underway arrive together.
    auto keyDown = [&](int key, bool repeated) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeated);
        QApplication::sendEvent(viewer.get(), &press);
    };
    keyDown(Qt::Key_Right, false);
    for (int i = 0; i < 5; ++i)
        keyDown(Qt::Key_Right, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(list().selectedIndex(), 1) << "the stale repeats are dropped";

    keyDown(Qt::Key_Right, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(list().selectedIndex(), 2) << "a repeat after the step was shown steps again";

    keyDown(Qt::Key_Right, false);
    keyDown(Qt::Key_Right, false);
    keyDown(Qt::Key_Left, false);
    QCoreApplication::processEvents();
    EXPECT_EQ(list().selectedIndex(), 3) << "separate presses all count, in order";
}
