#include "markdown/images/defaultnetworkimagecache.h"
#include "markdown/images/defaultnetworkimageloader.h"
#include "testhttpserver.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QNetworkProxy>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

using namespace kestrune;

namespace {

QByteArray pngBytes(int width, int height, const QColor &color = Qt::darkCyan)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A valid PNG whose header claims `width` × `height` pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray bytes = pngBytes(1, 1);
    // Signature (8), chunk length (4), "IHDR" (4), then width and height.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    quint32 crc = 0xffffffffu;
    for (qsizetype i = 12; i < 29; ++i) { // chunk type and 13 data bytes
        crc ^= quint8(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, bytes.data() + 29);
    return bytes;
}

// A 32 × 32 white SVG document around `content`.
QByteArray svgDocument(const QString &content)
{
    return (QStringLiteral("<?xml version=\"1.0\"?>\n"
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"32\" height=\"32\">"
                           "<rect width=\"32\" height=\"32\" fill=\"white\"/>") +
            content + QStringLiteral("</svg>"))
        .toUtf8();
}

QString imageElement(const QString &href, int x)
{
    return QStringLiteral("<image x=\"%1\" y=\"0\" width=\"16\" height=\"16\" xlink:href=\"%2\"/>")
        .arg(x)
        .arg(href.toHtmlEscaped());
}

QString dataUrl(const QByteArray &bytes, const char *type)
{
    return QStringLiteral("data:%1;base64,%2").arg(QLatin1String(type), QLatin1String(bytes.toBase64()));
}

bool hasPixelOf(const QImage &image, QRgb color)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            if (pixels.pixel(x, y) == color)
                return true;
        }
    }
    return false;
}

NetworkImageResult await(QFuture<NetworkImageResult> future)
{
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 20000))
        return NetworkImageResult::failure(NetworkImageError::transport, QStringLiteral("test timed out"));
    return future.result();
}

} // namespace

class TestNetworkImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void sharesOneDownloadPerUrl();
    void failsWithTheRightError_data();
    void failsWithTheRightError();
    void refusesAResponseOverTheSizeLimit_data();
    void refusesAResponseOverTheSizeLimit();
    void timesOut_data();
    void timesOut();
    void rendersSvgWithoutOutsideReferences_data();
    void rendersSvgWithoutOutsideReferences();
    void retriesAfterAFailure_data();
    void retriesAfterAFailure();
    void servesARepeatedRequestFromTheImageCache();
    void consultsTheDiskCacheBeforeTheNetwork();
    void decodesALargeImageScaledDown();
    void keepsWithinTheByteLimit();
    void downloadsAFewAtATimePerServer();

private:
    DefaultNetworkImageLoader::Configuration configuration() const;

    TestHttpServer *m_server = nullptr;
    std::unique_ptr<QTemporaryDir> m_cacheDir;
    QTemporaryDir m_localDir;
    std::unique_ptr<DefaultNetworkImageLoader> m_loader;
};

void TestNetworkImage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);

    // Local files an SVG from the network must not reach.
    QVERIFY(m_localDir.isValid());
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(m_localDir.filePath(QStringLiteral("red.png")), "PNG"));
    QFile css(m_localDir.filePath(QStringLiteral("red.css")));
    QVERIFY(css.open(QIODevice::WriteOnly));
    css.write("circle { fill: #ff0000 }");
}

DefaultNetworkImageLoader::Configuration TestNetworkImage::configuration() const
{
    DefaultNetworkImageLoader::Configuration configuration;
    configuration.diskCacheDirectory = m_cacheDir->path();
    configuration.maximumResponseSize = 64 * 1024;
    return configuration;
}

void TestNetworkImage::init()
{
    m_server = new TestHttpServer(this);
    QVERIFY(m_server->listen());
    m_server->setResponse("/image.png", {200, pngBytes(200, 100), {"Content-Type: image/png"}, 0});
    m_server->setResponse("/slow.png", {200, pngBytes(20, 10), {"Content-Type: image/png"}, 300});
    m_server->setResponse(
        "/cached.png",
        {200, pngBytes(30, 30), {"Content-Type: image/png", "Cache-Control: max-age=3600"}, 0});
    m_server->setResponse("/text", {200, "this is not an image", {"Content-Type: image/png"}, 0});
    m_server->setResponse("/server-error.png", {500, pngBytes(4, 4), {"Content-Type: image/png"}, 0});
    m_server->setResponse("/redirect-status.png", {304, {}, {}, 0});
    m_server->setResponse("/huge.png", {200, pngClaiming(60000, 60000), {"Content-Type: image/png"}, 0});
    m_server->setResponse("/malformed.svg",
                          {200,
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
                           "<rect width=\"8\" height=\"8\" fill=\"red\"></svg>",
                           {"Content-Type: image/svg+xml"},
                           0});
    m_cacheDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cacheDir->isValid());
    m_loader = std::make_unique<DefaultNetworkImageLoader>(std::make_shared<DefaultNetworkImageCache>(),
                                                           configuration());
}

void TestNetworkImage::cleanup()
{
    m_loader.reset();
    delete m_server;
    m_server = nullptr;
    m_cacheDir.reset();
}

void TestNetworkImage::sharesOneDownloadPerUrl()
{
    const QUrl url = m_server->url("/slow.png");
    QFuture<NetworkImageResult> first = m_loader->image(url);
    QFuture<NetworkImageResult> second = m_loader->image(url);

    const NetworkImageResult firstResult = await(first);
    const NetworkImageResult secondResult = await(second);
    QVERIFY(firstResult.isSuccess());
    QVERIFY(secondResult.isSuccess());
    QCOMPARE(m_server->requestCount("/slow.png"), 1);
    QCOMPARE(firstResult.image.cacheKey(), secondResult.image.cacheKey());
    QCOMPARE(m_server->lastHeader("accept"), QByteArray("image/*"));
}

void TestNetworkImage::failsWithTheRightError_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<NetworkImageError>("error");

    QTest::addRow("not found is a bad server response")
        << "/missing.png" << NetworkImageError::badServerResponse;
    QTest::addRow("server error is a bad server response")
        << "/server-error.png" << NetworkImageError::badServerResponse;
    QTest::addRow("status outside 200 to 299 is a bad server response")
        << "/redirect-status.png" << NetworkImageError::badServerResponse;
    QTest::addRow("a body that is no image cannot be decoded")
        << "/text" << NetworkImageError::cannotDecodeContentData;
    QTest::addRow("image claiming 60000 x 60000 pixels stays within the allocation limit")
        << "/huge.png" << NetworkImageError::cannotDecodeContentData;
    QTest::addRow("file URL is no HTTP response")
        << QUrl::fromLocalFile(QFINDTESTDATA("tst_networkimage.cpp")).toString()
        << NetworkImageError::badServerResponse;
    QTest::addRow("data URL is no HTTP response")
        << "data:image/png;base64," + QString::fromLatin1(pngBytes(2, 2).toBase64())
        << NetworkImageError::badServerResponse;
    QTest::addRow("SVG that is not well-formed XML cannot be decoded")
        << "/malformed.svg" << NetworkImageError::cannotDecodeContentData;
    QTest::addRow("refused connection is a transport failure")
        << "http://127.0.0.1:1/x.png" << NetworkImageError::transport;
}

void TestNetworkImage::failsWithTheRightError()
{
    QFETCH(QString, url);
    QFETCH(NetworkImageError, error);
    const QUrl resolved = url.startsWith('/') ? m_server->url(url) : QUrl(url);

    const NetworkImageResult result = await(m_loader->image(resolved));
    QCOMPARE(result.error, error);
    QVERIFY(result.image.isNull());
}

void TestNetworkImage::refusesAResponseOverTheSizeLimit_data()
{
    QTest::addColumn<TestHttpServer::Response>("response");

    // The few bytes sent are all there is: waiting for the rest would hang.
    TestHttpServer::Response declared{200, pngBytes(2, 2), {"Content-Length: 1073741824"}, 0};
    declared.keepOpen = true;
    QTest::addRow("declared length over the limit") << declared;

    // 40 MB in chunks, with no length announced.
    TestHttpServer::Response endless{200, pngBytes(2, 2), {"Content-Type: image/png"}, 0};
    endless.piece = QByteArray(4096, 'x');
    endless.repeat = 10000;
    QTest::addRow("chunked body past the limit") << endless;
}

void TestNetworkImage::refusesAResponseOverTheSizeLimit()
{
    QFETCH(TestHttpServer::Response, response);
    m_server->setResponse("/large.png", response);

    const NetworkImageResult result = await(m_loader->image(m_server->url("/large.png")));
    QCOMPARE(result.error, NetworkImageError::tooLarge);
    QVERIFY(result.image.isNull());
}

void TestNetworkImage::timesOut_data()
{
    QTest::addColumn<TestHttpServer::Response>("response");
    QTest::addColumn<int>("transferTimeoutMs");
    QTest::addColumn<int>("transferDeadlineMs");

    // Part of a PNG, then silence.
    TestHttpServer::Response stalled{200, pngBytes(8, 8), {"Content-Length: 4096"}, 0};
    stalled.keepOpen = true;
    QTest::addRow("server stalls past the idle time-out") << stalled << 300 << 60000;

    // A byte every 100 ms for 30 s: never idle, never done.
    TestHttpServer::Response trickle{200, {}, {"Content-Type: image/png"}, 0};
    trickle.piece = "x";
    trickle.repeat = 300;
    trickle.intervalMs = 100;
    QTest::addRow("trickling server reaches the deadline") << trickle << 15000 << 1000;
}

void TestNetworkImage::timesOut()
{
    QFETCH(TestHttpServer::Response, response);
    QFETCH(int, transferTimeoutMs);
    QFETCH(int, transferDeadlineMs);
    m_server->setResponse("/slow.png", response);
    DefaultNetworkImageLoader::Configuration settings = configuration();
    settings.transferTimeout = std::chrono::milliseconds(transferTimeoutMs);
    settings.transferDeadline = std::chrono::milliseconds(transferDeadlineMs);
    m_loader =
        std::make_unique<DefaultNetworkImageLoader>(std::make_shared<DefaultNetworkImageCache>(), settings);

    const NetworkImageResult result = await(m_loader->image(m_server->url("/slow.png")));
    QCOMPARE(result.error, NetworkImageError::timedOut);
    QVERIFY(result.image.isNull());
}

void TestNetworkImage::rendersSvgWithoutOutsideReferences_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QByteArray>("contentType");

    const QString red = m_localDir.filePath(QStringLiteral("red.png"));
    QTest::addRow("image by absolute path") << imageElement(red, 0) << QByteArray("image/svg+xml");
    QTest::addRow("image by file URL, sniffed without a content type")
        << imageElement(QUrl::fromLocalFile(red).toString(), 0) << QByteArray();
    QTest::addRow("image by path relative to the working directory")
        << imageElement("red.png", 0) << QByteArray("image/svg+xml");
    QTest::addRow("image inside an embedded SVG")
        << imageElement(dataUrl(svgDocument(imageElement(red, 0)), "image/svg+xml"), 0)
        << QByteArray("image/svg+xml");
    QTest::addRow("style sheet instruction")
        << QStringLiteral(
               "<?xml-stylesheet type=\"text/css\" href=\"%1\"?><circle cx=\"8\" cy=\"8\" r=\"6\"/>")
               .arg(m_localDir.filePath(QStringLiteral("red.css")))
        << QByteArray("image/svg+xml");
}

void TestNetworkImage::rendersSvgWithoutOutsideReferences()
{
    QFETCH(QString, reference);
    QFETCH(QByteArray, contentType);
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_localDir.path()));
    auto restore = qScopeGuard([current] { QDir::setCurrent(current); });

    // Beside the reference, a green picture in a data URL must still show.
    const QString green = imageElement(dataUrl(pngBytes(16, 16, Qt::green), "image/png"), 16);
    QList<QByteArray> headers;
    if (!contentType.isEmpty())
        headers.append("Content-Type: " + contentType);
    m_server->setResponse("/picture.svg", {200, svgDocument(reference + green), headers, 0});

    const NetworkImageResult result = await(m_loader->image(m_server->url("/picture.svg")));
    QCOMPARE(result.error, NetworkImageError::none);
    QCOMPARE(result.image.size(), QSize(32, 32));
    QVERIFY(hasPixelOf(result.image, qRgb(0, 255, 0)));
    QVERIFY(!hasPixelOf(result.image, qRgb(255, 0, 0)));
}

void TestNetworkImage::retriesAfterAFailure_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("after a 404") << "/missing.png";
    QTest::addRow("after undecodable bytes") << "/text";
}

void TestNetworkImage::retriesAfterAFailure()
{
    QFETCH(QString, path);
    QVERIFY(!await(m_loader->image(m_server->url(path))).isSuccess());
    QVERIFY(!await(m_loader->image(m_server->url(path))).isSuccess());
    QCOMPARE(m_server->requestCount(path), 2);

    // Once the server mends its answer, the next request succeeds.
    m_server->setResponse(path, {200, pngBytes(5, 5), {}, 0});
    QVERIFY(await(m_loader->image(m_server->url(path))).isSuccess());
}

void TestNetworkImage::servesARepeatedRequestFromTheImageCache()
{
    const NetworkImageResult first = await(m_loader->image(m_server->url("/image.png")));
    QVERIFY(first.isSuccess());
    QCOMPARE(first.image.size(), QSize(200, 100));

    const NetworkImageResult again = await(m_loader->image(m_server->url("/image.png")));
    QVERIFY(again.isSuccess());
    QCOMPARE(again.image.cacheKey(), first.image.cacheKey());
    QCOMPARE(m_server->requestCount("/image.png"), 1);
}

void TestNetworkImage::consultsTheDiskCacheBeforeTheNetwork()
{
    QVERIFY(await(m_loader->image(m_server->url("/cached.png"))).isSuccess());
    QCOMPARE(m_server->requestCount("/cached.png"), 1);

    // A new loader with an empty image cache and memory tier, over the same disk cache.
    m_loader = std::make_unique<DefaultNetworkImageLoader>(std::make_shared<DefaultNetworkImageCache>(),
                                                           configuration());
    const NetworkImageResult again = await(m_loader->image(m_server->url("/cached.png")));
    QVERIFY(again.isSuccess());
    QCOMPARE(again.image.size(), QSize(30, 30));
    QCOMPARE(m_server->requestCount("/cached.png"), 1);
}

void TestNetworkImage::decodesALargeImageScaledDown()
{
    // One bit per pixel keeps the file well under the response limit.
    QImage large(6000, 3000, QImage::Format_Mono);
    large.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(large.save(&buffer, "PNG"));
    QVERIFY(bytes.size() < configuration().maximumResponseSize);
    m_server->setResponse("/large.png", {200, bytes, {"Content-Type: image/png"}, 0});

    const NetworkImageResult result = await(m_loader->image(m_server->url("/large.png")));
    QCOMPARE(result.error, NetworkImageError::none);
    QCOMPARE(result.image.size(), QSize(4096, 2048));
}

// A document of many pictures from one server asks for them all at once; they download four
// at a time, and every one arrives.
void TestNetworkImage::downloadsAFewAtATimePerServer()
{
    QList<QFuture<NetworkImageResult>> futures;
    for (int index = 0; index < 12; ++index) {
        const QString path = QStringLiteral("/many/%1.png").arg(index);
        m_server->setResponse(path, {200, pngBytes(4, 4), {"Content-Type: image/png"}, 100});
        futures.append(m_loader->image(m_server->url(path)));
    }
    for (const QFuture<NetworkImageResult> &future : futures)
        QVERIFY(await(future).isSuccess());
    QVERIFY(m_server->mostOpenConnections() >= 1);
    QVERIFY2(m_server->mostOpenConnections() <= 4,
             qPrintable(QString::number(m_server->mostOpenConnections())));
}

void TestNetworkImage::keepsWithinTheByteLimit()
{
    QCOMPARE(DefaultNetworkImageCache::shared()->byteLimit(), qint64(256) * 1024 * 1024);

    // 10 × 10 ARGB32 pixels take 400 bytes: room for two such images, not three.
    const auto image = [] { return QImage(10, 10, QImage::Format_ARGB32); };
    DefaultNetworkImageCache cache(1000);
    const QUrl a("http://x.test/a"), b("http://x.test/b"), c("http://x.test/c");
    cache.setImage(image(), a);
    cache.setImage(image(), b);
    QCOMPARE(cache.byteCount(), qint64(800));
    QVERIFY(cache.image(a)); // a is now the most recently used
    cache.setImage(image(), c);
    QCOMPARE(cache.count(), 2);
    QCOMPARE(cache.byteCount(), qint64(800));
    QVERIFY(cache.image(a));
    QVERIFY(!cache.image(b));
    QVERIFY(cache.image(c));

    // One image twice as large pushes out both others.
    cache.setImage(QImage(20, 10, QImage::Format_ARGB32), b);
    QCOMPARE(cache.count(), 1);
    QCOMPARE(cache.image(b)->size(), QSize(20, 10));

    // One image larger than the whole limit is not kept, and leaves the rest.
    cache.setImage(QImage(20, 20, QImage::Format_ARGB32), c);
    QVERIFY(!cache.image(c));
    QVERIFY(cache.image(b));
    QCOMPARE(cache.byteCount(), qint64(800));
}

QTEST_MAIN(TestNetworkImage)

#include "tst_networkimage.moc"
