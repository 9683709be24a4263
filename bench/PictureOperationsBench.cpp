// Add, replace, rename and delete through the real buttons in a
// 100,000-picture library, with scripted dialogs; each change is one
// fsync'd transaction, and the list is rebuilt after it.
#include "BenchLibrary.h"
#include "ScriptedResponder.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// A fresh copy of the big library with the main window open on it, the
// middle row selected, and two photo files to pick.
class Program
{
public:
    Program()
        : m_library(Library::copyOf(bigLibrary()))
        , m_directory(m_library->path())
    {
        for (int seed : {1, 2}) {
            const QString path = m_library->filePath(u"photo%1.jpg"_s.arg(seed));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(photoJpeg(seed));
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

private:
    std::unique_ptr<Library> m_library;
    ScopedProgramDirectory m_directory;
    ScriptedResponder m_responder;
    std::vector<QString> m_photoFiles;
    MainWindow m_window{BenchSession};
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
BENCHMARK(replace100k)->Apply(configure);
BENCHMARK(rename100k)->Apply(configure);
BENCHMARK(delete100k)->Apply(configure);

}
