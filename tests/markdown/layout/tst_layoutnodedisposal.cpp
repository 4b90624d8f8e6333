// Laid-out pages are freed a slice at a time after their document lets them go,
// and a document may go before its nodes do.
#include "markdown/document/documentmodeldisposal.h"
#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutnodedisposal_p.h"

#include <QImage>
#include <QPainter>
#include <QSemaphore>
#include <QtTest>

#include <atomic>

using namespace kestrune;

namespace {

int destroyedNodes = 0;

class CountingNode : public LayoutNode
{
public:
    ~CountingNode() override { ++destroyedNodes; }
    void paint(LayoutPaintContext &) const override {}

protected:
    QSizeF doLayout(qreal) override { return {}; }
    const char *kindName() const override { return "counting"; }
};

} // namespace

class TestLayoutNodeDisposal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freesEveryNodeBetweenEvents();
    void freesOnTheDisposalThreadFromAnotherThread();
    void documentMayGoBeforeItsNodes();
};

void TestLayoutNodeDisposal::freesEveryNodeBetweenEvents()
{
    destroyedNodes = 0;
    constexpr int count = 300'000;
    std::vector<std::unique_ptr<LayoutNode>> nodes;
    for (int index = 0; index < count; ++index)
        nodes.push_back(std::make_unique<CountingNode>());
    LayoutNodeDisposal::dispose(std::move(nodes));
    // Nothing is freed by the call itself: whoever drops a page is about to show another.
    QCOMPARE(destroyedNodes, 0);
    QCOMPARE(LayoutNodeDisposal::pending(), std::size_t(count));
    QTRY_COMPARE(destroyedNodes, count);
    QCOMPARE(LayoutNodeDisposal::pending(), std::size_t(0));
}

// A page prepared or printed on a worker thread and dropped there leaves nothing in the event
// loop's queue, and the worker goes on at once: the disposal thread frees the nodes.
void TestLayoutNodeDisposal::freesOnTheDisposalThreadFromAnotherThread()
{
    destroyedNodes = 0;
    // The disposal thread is busy until released, so nothing it is handed can be freed before.
    auto release = std::make_shared<QSemaphore>();
    const auto holdDisposal = [release] {
        auto held = std::shared_ptr<void>(nullptr, [release](void *) { release->acquire(); });
        DocumentModelDisposal::disposeValue(std::move(held));
    };
    holdDisposal();
    std::atomic<int> destroyedOnWorker = -1;
    std::unique_ptr<QThread> worker(QThread::create([&destroyedOnWorker] {
        std::vector<std::unique_ptr<LayoutNode>> nodes;
        for (int index = 0; index < 1000; ++index)
            nodes.push_back(std::make_unique<CountingNode>());
        LayoutNodeDisposal::dispose(std::move(nodes));
        destroyedOnWorker = destroyedNodes;
    }));
    worker->start();
    QVERIFY(worker->wait());
    QCOMPARE(destroyedOnWorker.load(), 0);
    QCOMPARE(LayoutNodeDisposal::pending(), std::size_t(0));
    release->release();
    DocumentModelDisposal::waitForDone();
    QCOMPARE(destroyedNodes, 1000);
}

void TestLayoutNodeDisposal::documentMayGoBeforeItsNodes()
{
    QString markdown;
    for (int section = 0; section < 200; ++section) {
        markdown += QStringLiteral("## Requirement %1\n\nThe system SHALL keep *every* requirement readable, "
                                   "with `code` and a [link](https://example.org).\n\n- item\n- [x] done\n\n"
                                   "| a | b |\n|---|---|\n| 1 | 2 |\n\n```\ncode block\n```\n\n")
                        .arg(section);
    }
    const QList<BlockNode> blocks = MarkdownParser::parse(markdown);
    const auto paintPage = [](const LayoutDocument &document) {
        // Painting shapes texts again and lists them as recently used.
        QImage image(300, 2000, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        LayoutPaintContext context;
        context.painter = &painter;
        context.clip = QRectF(0, 0, 300, 2000);
        document.paint(context);
    };
    {
        auto document = std::make_unique<LayoutDocument>();
        document->setBlocks(blocks);
        document->setWidth(300);
        document->layoutAll();
        paintPage(*document);
        document->setBlocks(blocks); // the first page goes to the disposal
        document->layoutAll();
        paintPage(*document);
        QVERIFY(document->positionAt(QPointF(10, 10)).has_value());
    } // and the document (with its shaped-text list) before either page is freed
    // Freed between events; the address sanitizer of the test build watches.
    QTRY_COMPARE(LayoutNodeDisposal::pending(), std::size_t(0));
}

QTEST_MAIN(TestLayoutNodeDisposal)
#include "tst_layoutnodedisposal.moc"
