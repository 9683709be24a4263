// Stepping the full-screen viewer through 1920 x 1080 photos in a
// 10,000-picture library until both windows have painted, next to decoding
// one such photo alone straight to the viewer's size; and an arrow key held
// down at key-repeat rate.
#include "BenchLibrary.h"
#include "ScriptedResponder.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgramDirectory.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int FirstPhotoRow = 4999;
constexpr int PhotoRows = 60;

// Rows 4999..5058 hold photos, four different ones in turn; sealed or not.
Library &photoLibrary(bool sealed = false)
{
    static Library library = [] {
        std::vector<int> records;
        for (int row = FirstPhotoRow; row < FirstPhotoRow + PhotoRows; ++row)
            records.push_back(row + 1);
        return Library(10000, records);
    }();
    if (!sealed)
        return library;
    static const std::unique_ptr<Library> sealedCopy = Library::sealedCopyOf(library);
    return *sealedCopy;
}

// The program with its main window and the viewer open on a 1920 x 1080
// screen, the first photo row selected.
class OpenViewer
{
public:
    explicit OpenViewer(const Library &library = photoLibrary())
        : m_directory(library.path())
        , m_window(library.session())
    {
        m_responder.setScreenSize({1920, 1080});
        m_window.show();
        m_window.openLibrary();
        m_window.library().showRow(FirstPhotoRow);
        m_viewer.emplace(m_window.library());
        m_viewer->show();
        m_viewer->activateWindow();
        QCoreApplication::processEvents();
    }

    MainWindow &window() { return m_window; }
    ViewerWindow &viewer() { return *m_viewer; }

private:
    ScopedProgramDirectory m_directory;
    ScriptedResponder m_responder;
    MainWindow m_window;
    std::optional<ViewerWindow> m_viewer;
};

// Notes the time whenever the watched control paints.
class PaintClock : public QObject
{
public:
    PaintClock(QWidget *watched, const QElapsedTimer &clock)
        : m_clock(clock)
    {
        watched->installEventFilter(this);
    }

    qint64 lastPaintAt = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            lastPaintAt = m_clock.nsecsElapsed();
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

// The viewer's picture box on a 1920 x 1080 screen.
constexpr QSize ViewerBox(1900, 1010);

void decodePhotoToTheViewerSize(benchmark::State &state)
{
    decodeEachPhotoInto(state, photoLibrary().photos(), ViewerBox);
}
BENCHMARK(decodePhotoToTheViewerSize)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Three steps forward, three back: every step lands on another photo.
void step(ViewerWindow &viewer, int count)
{
    if (count % 6 < 3)
        viewer.stepNext();
    else
        viewer.stepPrevious();
}

// A step as a person takes it, a moment after the last one (the pictures
// on both sides have been decoded ahead meanwhile), until both windows have
// painted it.
void viewerStepPainted(benchmark::State &state)
{
    OpenViewer program(photoLibrary(state.range(0) != 0));
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.window().library().pictureLoader().waitForIdle();
        state.ResumeTiming();
        step(program.viewer(), count++);
        program.viewer().repaint();
        program.window().repaint();
    }
}
BENCHMARK(viewerStepPainted)->Apply(plainAndSealed)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Posts Right presses to the viewer at this interval, as a held key
// repeats, noting when the last one went.
void pressRight(QPointer<ViewerWindow> viewer, int presses, std::chrono::microseconds interval,
                const QElapsedTimer &clock, std::atomic<qint64> &lastPressAt)
{
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; i < presses; ++i) {
        std::this_thread::sleep_until(next);
        next += interval;
        lastPressAt = clock.nsecsElapsed();
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(viewer.data(), new QKeyEvent(type, Qt::Key_Right, Qt::NoModifier, QString(), i > 0));
    }
}

// Sends presses of Right to the viewer from another thread, as the keyboard
// does while the program is busy: the first press, then repeats, at the
// given rate. Counts the steps taken and how long after the last press the
// viewer last painted its picture.
void holdRightArrow(benchmark::State &state)
{
    const int presses = 50;
    const auto interval = std::chrono::microseconds(1000000 / state.range(0));
    for (auto _ : state) {
        OpenViewer program;
        QPointer<ViewerWindow> viewer(&program.viewer());
        CheckBoxList &list = *control<CheckBoxList>(program.window(), u"选择列表框1");
        QElapsedTimer clock;
        std::atomic<qint64> lastPressAt = 0;
        const PaintClock painted(control<PictureBox>(program.viewer(), u"图片框1"), clock);
        const int firstRow = list.selectedIndex();

        clock.start();
        std::thread keyboard(pressRight, viewer, presses, interval, std::cref(clock), std::ref(lastPressAt));
        // Runs the program until half a second after the last press.
        QEventLoop loop;
        QTimer settle;
        QObject::connect(&settle, &QTimer::timeout, [&] {
            if (keyboard.joinable() && lastPressAt.load() > 0 && clock.nsecsElapsed() - lastPressAt.load() > 500000000)
                loop.quit();
        });
        settle.start(20);
        loop.exec();
        keyboard.join();

        // Every step moves the selection one row on.
        const int steps = list.selectedIndex() - firstRow;
        const double lag = double(std::max<qint64>(0, painted.lastPaintAt - lastPressAt.load())) / 1e9;
        state.SetIterationTime(lag);
        state.counters["presses"] = presses;
        state.counters["steps"] = steps;
    }
}
BENCHMARK(holdRightArrow)
    ->Arg(30)
    ->Arg(100)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

}
