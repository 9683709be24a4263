#include "BenchLibrary.h"

#include "app/ProgramWindows.h"
#include "auth/LoginWindow.h"
#include "auth/LoginWindowLayout.h"
#include "config/Accounts.h"
#include "config/ConfigPaths.h"
#include "mainwindow/MainWindow.h"
#include "seal/KeySlot.h"
#include "seal/RecoveryKey.h"
#include "store/PictureStore.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/ProgramDirectory.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QString Administrator = u"管理员"_s;

}

QByteArray photoJpeg(int seed)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 1920, 1080);
    sky.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.end();
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

Library::Library(int count, const std::vector<int> &photoRecords, int distinctPhotos)
{
    std::vector<PictureStore::NewRecord> records;
    records.reserve(std::size_t(count));
    const QByteArray small(512, 'x');
    for (int i = 1; i <= count; ++i)
        records.push_back({u"%1"_s.arg(i, 6, 10, QChar(u'0')), u"jpg"_s, small});
    for (std::size_t i = 0; i < photoRecords.size(); ++i) {
        if (m_photos.size() < std::size_t(distinctPhotos))
            m_photos.push_back(photoJpeg(photoRecords[i]));
        records[std::size_t(photoRecords[i] - 1)].picture = m_photos[i % m_photos.size()];
    }
    PictureStore store;
    if (!store.open(filePath(u"pic.edb"_s)) || !store.append(records))
        qFatal("cannot build the library in %s", qPrintable(path()));
    // The account file as the first start leaves it: the default account.
    offerAccounts(configFilePathIn(path()));
}

std::unique_ptr<Library> Library::copyOf(const Library &original)
{
    std::unique_ptr<Library> copy(new Library);
    for (const QString &name : {u"pic.edb"_s, u"pic.EDT"_s, u"system.dat"_s})
        QFile::copy(original.filePath(name), copy->filePath(name));
    copy->m_photos = original.m_photos;
    copy->m_key = original.m_key;
    return copy;
}

std::unique_ptr<Library> Library::sealedCopyOf(const Library &original)
{
    std::unique_ptr<Library> copy = copyOf(original);
    copy->seal();
    return copy;
}

void Library::seal()
{
    m_key = LibraryKey::generate();
    PictureStore store;
    bool sealed = store.open(filePath(u"pic.edb"_s)) && store.seal(m_key, RecoveryKey::generate().wrap(*m_key));
    while (sealed && store.unsealedCount() > 0)
        sealed = store.sealSome(10000).has_value();
    const QString slot = KeySlot::make(*m_key, PasswordKey::derive(SealedPassword), Administrator);
    if (!sealed || !store.compact() || !writeUserDigest(configFilePathIn(path()), Administrator, slot))
        qFatal("cannot seal the library in %s", qPrintable(path()));
}

QString Library::path() const
{
    return m_directory.path();
}

QString Library::filePath(const QString &name) const
{
    return QDir(m_directory.path()).filePath(name);
}

const std::vector<QByteArray> &Library::photos() const
{
    return m_photos;
}

Session Library::session() const
{
    Session session{configFilePathIn(path()), Administrator};
    session.keys->libraryKey = m_key;
    return session;
}

QString Library::password() const
{
    return m_key ? SealedPassword : DefaultPassword;
}

Library &bigLibrary(bool sealed)
{
    static Library plain(100000, {});
    if (!sealed)
        return plain;
    static const std::unique_ptr<Library> sealedCopy = Library::sealedCopyOf(plain);
    return *sealedCopy;
}

void decodeEachPhotoInto(benchmark::State &state, const std::vector<QByteArray> &photos, QSize box)
{
    std::size_t next = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(photos[next++ % photos.size()]);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setScaledSize(reader.size().scaled(box, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void plainAndSealed(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgName("sealed")->Arg(0)->Arg(1);
}

qint64 openLibraryHere(const QString &folder)
{
    const ScopedProgramDirectory directory(folder);
    QElapsedTimer clock;
    clock.start();
    MainWindow window(BenchSession);
    window.openLibrary();
    return clock.nsecsElapsed() / 1000;
}

qint64 logInHere(const QString &folder, const QString &password)
{
    const ScopedProgramDirectory directory(folder);
    ProgramWindows windows;
    windows.start();
    LoginWindow &login = *windows.loginWindow();
    QEventLoop loop;
    QObject::connect(&login, &LoginWindow::accountsOffered, &loop, &QEventLoop::quit);
    loop.exec();
    auto *passwordBox = control<QLineEdit>(login, LoginWindowLayout::PasswordBox.name);
    passwordBox->setText(password);
    QElapsedTimer clock;
    qint64 shown = -1;
    // Runs after the flow's own handler, which opens the main window.
    QObject::connect(&login, &LoginWindow::loggedIn, &loop, [&] {
        MainWindow *window = windows.mainWindow();
        if (window && control<CheckBoxList>(*window, u"选择列表框1")->rowCount() > 0) {
            window->repaint();
            shown = clock.nsecsElapsed() / 1000;
        }
        loop.quit();
    });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    clock.start();
    QApplication::sendEvent(passwordBox, &enter);
    loop.exec();
    return shown;
}
