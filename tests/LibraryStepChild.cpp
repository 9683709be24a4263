// A test child that runs one step of the library over several files, or
// starts as the program starts and tells what it finds:
//   library_step_child create|backup|recover|start <folder>
// A preloaded crash shim is armed right before the step; the number of
// calls it counted is printed after it.
#include "store/PictureStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTextStream>

#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

void armShim()
{
    if (const auto arm = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "crash_shim_arm")))
        arm();
}

long shimCalls()
{
    const auto calls = reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "crash_shim_calls"));
    return calls ? calls() : -1;
}

QString problemName(LibraryProblem problem)
{
    switch (problem) {
    case LibraryProblem::Damaged:
        return u"damaged"_s;
    case LibraryProblem::Busy:
        return u"busy"_s;
    case LibraryProblem::NewerBuild:
        return u"newer"_s;
    case LibraryProblem::Unavailable:
        return u"unavailable"_s;
    }
    return {};
}

// One line for the library, then one per record with its picture's digest.
QString describe(const QString &label, const QString &edbPath, LibraryFiles::Creation creation)
{
    PictureStore store;
    const auto opened = store.open(edbPath, creation);
    if (!opened)
        return label + u" failed "_s + problemName(opened.error().problem()) + u'\n';
    QString text = label + u" opened\n"_s;
    for (int n = 1; n <= store.count(); ++n) {
        const QByteArray digest =
            QCryptographicHash::hash(store.picture(n).value_or("<unreadable>"), QCryptographicHash::Sha256).toHex();
        text += store.name(n) + u'\t' + store.category(n) + u'\t' + QString::fromLatin1(digest) + u'\n';
    }
    return text;
}

}

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const QString edbPath = folder.filePath(u"pic.edb"_s);
    const QString bakPath = folder.filePath(u"BAK/pic.edb"_s);
    QTextStream out(stdout);
    if (mode == u"start") {
        out << describe(u"library"_s, edbPath, LibraryFiles::Creation::IfNew)
            << describe(u"bak"_s, bakPath, LibraryFiles::Creation::Never);
        return 0;
    }
    PictureStore store;
    std::expected<void, StoreError> done;
    if (mode == u"create") {
        armShim();
        const auto opened = store.open(edbPath);
        done = opened ? std::expected<void, StoreError>() : std::unexpected(opened.error());
    } else if (mode == u"backup" && store.open(edbPath, LibraryFiles::Creation::Never) && folder.mkpath(u"BAK"_s)) {
        armShim();
        done = store.copyTo(bakPath);
    } else if (mode == u"recover" && store.open(bakPath, LibraryFiles::Creation::Never)) {
        armShim();
        done = store.copyTo(edbPath, {}, u".damaged-test"_s);
    } else {
        return 2;
    }
    const QString result = done ? u"ok"_s : u"failed "_s + problemName(done.error().problem());
    out << "calls " << shimCalls() << '\n' << result << '\n';
    return done ? 0 : 1;
}
