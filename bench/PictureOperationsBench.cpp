// Add, replace, rename and delete through the real buttons in a
// 100,000-picture library, with scripted dialogs; each change is one
// fsync'd transaction, and the list is rebuilt after it. A 5 MB picture is
// added to the plain library and to the same library sealed.
#include "BenchLibrary.h"
#include "ScriptedResponder.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Photos followed by random bytes up to 5 MB, which decoders pass over.
const QByteArray &fiveMegabytePhoto(int which)
{
    static const std::array<QByteArray, 2> photos = [] {
        std::array<QByteArray, 2> made{photoJpeg(3), photoJpeg(4)};
        QRandomGenerator random(3);
        for (QByteArray &photo : made) {
            while (photo.size() < 5 * 1024 * 1024)
                photo.append(char(random.bounded(256)));
        }
        return made;
    }();
    return photos[std::size_t(which)];
}

// A fresh copy of the big library with the main window open on it, the
// middle row selected, two photo files to pick and two of 5 MB.
class Program
{
public:
    explicit Program(const Library &original = bigLibrary())
        : m_library(Library::copyOf(original))
        , m_directory(m_library->path())
        , m_window(m_library->session())
    {
        for (int seed : {1, 2, 3, 4}) {
            const QString path = m_library->filePath(u"photo%1.jpg"_s.arg(seed));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(seed > 2 ? fiveMegabytePhoto(seed - 3) : photoJpeg(seed));
            m_photoFiles.push_back(path);
        }
        m_window.show();
        m_window.openLibrary();
        selectRow(50000);
    }

    void selectRow(int row)
    {
        m_window.library().showRow(row);
    }

    MainWindow &window() { return m_window; }
    ScriptedResponder &responder() { return m_responder; }
    const QString &photoFile(int count) const { return m_photoFiles[std::size_t(count % 2)]; }
    const QString &fiveMegabyteFile(int which) const { return m_photoFiles[std::size_t(2 + which)]; }

private:
    std::unique_ptr<Library> m_library;
    ScopedProgramDirectory m_directory;
    ScriptedResponder m_responder;
    std::vector<QString> m_photoFiles;
    MainWindow m_window;
};

void add100k(benchmark::State &state)
{
    Program program;
    int count = 0;
    for (auto _ : state) {
        program.responder().queueFileAnswer(program.photoFile(count++));
        control<QPushButton>(program.window(), u"按钮添加")->click();
    }
    state.counters["records"] = program.window().library().store().count();
}

// Adds a 5 MB picture and says how long that took, in seconds; after the
// picture shown last has been decoded, so that the add has the machine to
// itself.
double addFiveMegabytes(Program &program, int which)
{
    program.window().library().pictureLoader().waitForIdle();
    QElapsedTimer clock;
    clock.start();
    program.responder().queueFileAnswer(program.fiveMegabyteFile(which));
    control<QPushButton>(program.window(), u"按钮添加")->click();
    return double(clock.nsecsElapsed()) / 1e9;
}

// Two new pictures in turn (the library is a fresh copy). The first add of
// a session also looks for pictures without a fingerprint, a pass over the
// rows (first_add_ms); the time is that of the second add.
void addFiveMegabytes100k(benchmark::State &state)
{
    Program program(bigLibrary(state.range(0) != 0));
    for (auto _ : state) {
        state.counters["first_add_ms"] = addFiveMegabytes(program, 0) * 1e3;
        state.SetIterationTime(addFiveMegabytes(program, 1));
    }
    if (program.window().library().store().count() != 100000 + 2 * int(state.iterations()))
        state.SkipWithError("the pictures were not added");
}

void replace100k(benchmark::State &state)
{
    Program program;
    int count = 0;
    for (auto _ : state) {
        program.responder().queueFileAnswer(program.photoFile(count++));
        control<QPushButton>(program.window(), u"按钮更新")->click();
    }
}

void rename100k(benchmark::State &state)
{
    Program program;
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        control<QLineEdit>(program.window(), u"编辑框1")->setText(count++ % 2 ? u"改名 甲"_s : u"改名 乙"_s);
        state.ResumeTiming();
        control<QPushButton>(program.window(), u"按钮改名")->click();
    }
}

void delete100k(benchmark::State &state)
{
    Program program;
    for (auto _ : state) {
        program.responder().queueMessageAnswer(QMessageBox::Ok);
        control<QPushButton>(program.window(), u"按钮删除")->click();
    }
    state.counters["records"] = program.window().library().store().count();
}

// One change at a time, thirty times: the median is that of single changes.
void configure(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(30)->ReportAggregatesOnly(true);
}

BENCHMARK(add100k)->Apply(configure);
BENCHMARK(addFiveMegabytes100k)->Apply(plainAndSealed)->UseManualTime()->Apply(configure);
BENCHMARK(replace100k)->Apply(configure);
BENCHMARK(rename100k)->Apply(configure);
BENCHMARK(delete100k)->Apply(configure);

}
