// Pictures read from disk: only from inside the allowed folder (".." and symbolic links resolved
// first), only regular files, decoded by the rules of downloads.

#include "markdown/images/defaultnetworkimagecache.h"
#include "markdown/images/localimageloader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kestrune;

namespace {

QByteArray pngBytes(QColor color, QSize size = QSize(6, 4))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

template <typename T> T await(QFuture<T> future)
{
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 20000))
        return T();
    return future.result();
}

} // namespace

class TestLocalImageLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void loadsPicturesInsideTheFolder_data();
    void loadsPicturesInsideTheFolder();
    void refusesWhatLiesOutside_data();
    void refusesWhatLiesOutside();
    void refusesWhatIsNoPictureFile();
    void rendersSvgWithoutReadingWhatItNames();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_project; // the allowed folder, inside m_dir
    QString m_outside; // a picture beside it
};

void TestLocalImageLoader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir root(m_dir->path());
    QVERIFY(root.mkpath(QStringLiteral("project/docs")));
    m_project = root.filePath(QStringLiteral("project"));
    m_outside = root.filePath(QStringLiteral("outside.png"));
    QVERIFY(write(m_outside, pngBytes(Qt::red)));
    QVERIFY(write(m_project + QStringLiteral("/docs/inside.png"), pngBytes(Qt::blue)));
    QVERIFY(QFile::link(m_project + QStringLiteral("/docs/inside.png"),
                        m_project + QStringLiteral("/alias.png")));
}

void TestLocalImageLoader::loadsPicturesInsideTheFolder_data()
{
    QTest::addColumn<QString>("path");    // below the project folder
    QTest::addColumn<bool>("linkedRoot"); // the folder given through a symbolic link to it
    QTest::addRow("in a subfolder") << "docs/inside.png" << false;
    QTest::addRow("through a parent step that stays inside") << "docs/../docs/inside.png" << false;
    QTest::addRow("a link to a picture inside") << "alias.png" << false;
    QTest::addRow("the folder reached through a link") << "docs/inside.png" << true;
}

void TestLocalImageLoader::loadsPicturesInsideTheFolder()
{
    QFETCH(QString, path);
    QFETCH(bool, linkedRoot);
    QString root = m_project;
    if (linkedRoot) {
        root = m_dir->filePath(QStringLiteral("linked"));
        QVERIFY(QFile::link(m_project, root));
    }
    LocalImageLoader loader(root, std::make_shared<DefaultNetworkImageCache>());
    const NetworkImageResult result =
        await(loader.image(QUrl::fromLocalFile(root + QLatin1Char('/') + path)));
    QVERIFY2(result.isSuccess(), qPrintable(result.errorString));
    QCOMPARE(result.image.size(), QSize(6, 4));
    QCOMPARE(result.image.pixelColor(2, 2), QColor(Qt::blue));
}

void TestLocalImageLoader::refusesWhatLiesOutside_data()
{
    QTest::addColumn<QString>("path"); // relative to the project folder, or absolute
    QTest::addColumn<QString>("root"); // empty: the project folder
    QTest::addRow("a parent step above the folder") << "../outside.png" << QString();
    QTest::addRow("a parent step to a missing file") << "../missing.png" << QString();
    QTest::addRow("an absolute path elsewhere") << "/etc/hostname" << QString();
    QTest::addRow("a link inside pointing outside") << "escape.png" << QString();
    QTest::addRow("a linked folder pointing outside") << "away/outside.png" << QString();
    QTest::addRow("a folder whose name extends the root's") << "../project-other/x.png" << QString();
    QTest::addRow("no folder allowed") << "docs/inside.png"
                                       << "none";
}

void TestLocalImageLoader::refusesWhatLiesOutside()
{
    QFETCH(QString, path);
    QFETCH(QString, root);
    QVERIFY(QFile::link(m_outside, m_project + QStringLiteral("/escape.png")));
    QVERIFY(QFile::link(m_dir->path(), m_project + QStringLiteral("/away")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("project-other")));
    QVERIFY(write(m_dir->filePath(QStringLiteral("project-other/x.png")), pngBytes(Qt::red)));
    LocalImageLoader loader(root.isEmpty() ? m_project : QString(),
                            std::make_shared<DefaultNetworkImageCache>());
    const QString file = QDir::isAbsolutePath(path) ? path : m_project + QLatin1Char('/') + path;
    const NetworkImageResult result = await(loader.image(QUrl::fromLocalFile(file)));
    QCOMPARE(result.error, NetworkImageError::forbidden);
    QVERIFY(result.image.isNull());
}

void TestLocalImageLoader::refusesWhatIsNoPictureFile()
{
    LocalImageLoader loader(m_project, std::make_shared<DefaultNetworkImageCache>(), 1000);
    // A pipe inside the folder would block the read for ever.
    const QString fifo = m_project + QStringLiteral("/pipe.png");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(await(loader.image(QUrl::fromLocalFile(fifo))).error, NetworkImageError::transport);
    const QString large = m_project + QStringLiteral("/large.png");
    QVERIFY(write(large, pngBytes(Qt::green, QSize(800, 800)) + QByteArray(1000, 'x')));
    QCOMPARE(await(loader.image(QUrl::fromLocalFile(large))).error, NetworkImageError::tooLarge);
}

void TestLocalImageLoader::rendersSvgWithoutReadingWhatItNames()
{
    // The red picture outside would cover the blue square if the renderer read it.
    const QString svg = m_project + QStringLiteral("/diagram.svg");
    QVERIFY(
        write(svg, QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                  "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"20\" height=\"20\">"
                                  "<rect width=\"20\" height=\"20\" fill=\"#0000ff\"/>"
                                  "<image xlink:href=\"file://%1\" width=\"20\" height=\"20\"/></svg>")
                       .arg(m_outside)
                       .toUtf8()));
    LocalImageLoader loader(m_project, std::make_shared<DefaultNetworkImageCache>());
    const NetworkImageResult result = await(loader.image(QUrl::fromLocalFile(svg)));
    QVERIFY2(result.isSuccess(), qPrintable(result.errorString));
    QCOMPARE(result.image.size(), QSize(20, 20));
    QCOMPARE(result.image.pixelColor(10, 10).rgb(), QColor(Qt::blue).rgb());
}

QTEST_MAIN(TestLocalImageLoader)
#include "tst_localimageloader.moc"
