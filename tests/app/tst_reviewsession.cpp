// The review of a change on its own: which files lead to a change's review, and that a
// comparison overtaken by another change, or by leaving the review, never reaches the page.
#include "app/reviewsession.h"
#include "project/projectstore.h"
#include "text/backgroundpool.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

using Owner = std::optional<std::pair<QUrl, QString>>;

Q_DECLARE_METATYPE(Owner)

class TestReviewSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void deltaSpecificationOwner_data();
    void deltaSpecificationOwner();
    void theLatestChangeIsTheOneCompared();
    void leavingDropsTheComparisonUnderWay();
    void theResultNeedsAChangeUnderReview();

private:
    void write(const QString &relative, const QByteArray &bytes);
    QUrl changeFolder(const QString &change) const;
    // Every comparison started has finished and told its session.
    static void finishComparisons();

    std::unique_ptr<QTemporaryDir> m_folder;
    QUrl m_root;
    std::unique_ptr<ProjectStore> m_store;
};

void TestReviewSession::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_root = QUrl::fromLocalFile(m_folder->path());
    m_store = std::make_unique<ProjectStore>();
    write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth\n\n### Requirement: Sign in\n");
    for (const char *change : {"add-login", "add-logout"})
        write(QStringLiteral("kestrune/changes/%1/specs/auth/spec.md").arg(QLatin1String(change)),
              "## ADDED Requirements\n\n### Requirement: Passkeys\nUsers SHALL register passkeys.\n");
}

void TestReviewSession::write(const QString &relative, const QByteArray &bytes)
{
    const QString path = m_folder->filePath(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QUrl TestReviewSession::changeFolder(const QString &change) const
{
    return QUrl::fromLocalFile(m_folder->filePath(QStringLiteral("kestrune/changes/") + change));
}

void TestReviewSession::finishComparisons()
{
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

void TestReviewSession::deltaSpecificationOwner_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Owner>("owner");

    const auto owner = [](const char *folder, const char *capability) {
        return Owner(std::pair(QUrl::fromLocalFile(QLatin1String(folder)), QLatin1String(capability)));
    };
    QTest::addRow("capability folder of a change") << "/p/kestrune/changes/add-login/specs/auth/spec.md"
                                                   << owner("/p/kestrune/changes/add-login", "auth");
    QTest::addRow("capability file of an archived change")
        << "/p/kestrune/changes/archive/2026-01-01-x/specs/auth.md"
        << owner("/p/kestrune/changes/archive/2026-01-01-x", "auth");
    QTest::addRow("path not yet clean") << "/p/kestrune/changes/x/../add-login/specs/auth.md"
                                        << owner("/p/kestrune/changes/add-login", "auth");
    QTest::addRow("other text beside a delta")
        << "/p/kestrune/changes/add-login/specs/auth/notes.md" << Owner();
    QTest::addRow("a file of the change") << "/p/kestrune/changes/add-login/tasks.md" << Owner();
    QTest::addRow("a current specification") << "/p/kestrune/specs/auth/spec.md" << Owner();
    QTest::addRow("beside the planning folder") << "/p/changes/add-login/specs/auth/spec.md" << Owner();
    QTest::addRow("another project") << "/q/kestrune/changes/add-login/specs/auth/spec.md" << Owner();
}

void TestReviewSession::deltaSpecificationOwner()
{
    QFETCH(QString, file);
    QTEST(ReviewSession::deltaSpecificationOwner(QUrl::fromLocalFile(QStringLiteral("/p")),
                                                 QUrl::fromLocalFile(file)),
          "owner");
}

void TestReviewSession::theLatestChangeIsTheOneCompared()
{
    ReviewSession session(*m_store);
    QSignalSpy compared(&session, &ReviewSession::compared);
    session.open(m_root, changeFolder(QStringLiteral("add-login")));
    session.open(m_root, changeFolder(QStringLiteral("add-logout")));
    QCOMPARE(session.changeFolder(), changeFolder(QStringLiteral("add-logout")));
    QVERIFY(!session.review());

    QTRY_COMPARE(compared.size(), 1);
    finishComparisons();
    QCOMPARE(compared.size(), 1);
    QCOMPARE(session.review()->changeName, QStringLiteral("add-logout"));
    QCOMPARE(session.review()->capabilities.size(), 1);
    QCOMPARE(session.review()->counts.added, 1);

    // Compared again, the review on show stays until the new comparison is there.
    session.compareAgain(m_root);
    QVERIFY(session.review());
    QTRY_COMPARE(compared.size(), 2);

    // A change whose folder is gone is not compared again.
    QVERIFY(QDir(changeFolder(QStringLiteral("add-logout")).toLocalFile()).removeRecursively());
    session.compareAgain(m_root);
    finishComparisons();
    QCOMPARE(compared.size(), 2);
}

void TestReviewSession::leavingDropsTheComparisonUnderWay()
{
    ReviewSession session(*m_store);
    QSignalSpy compared(&session, &ReviewSession::compared);
    session.open(m_root, changeFolder(QStringLiteral("add-login")));
    session.leave();
    finishComparisons();
    QCOMPARE(compared.size(), 0);
    QVERIFY(!session.changeFolder());
    QVERIFY(!session.review());

    // Without a project nothing is compared yet.
    session.open(std::nullopt, changeFolder(QStringLiteral("add-login")));
    finishComparisons();
    QCOMPARE(compared.size(), 0);
    QCOMPARE(session.changeFolder(), changeFolder(QStringLiteral("add-login")));
}

void TestReviewSession::theResultNeedsAChangeUnderReview()
{
    ReviewSession session(*m_store);
    QVERIFY(!session.showResult(QStringLiteral("auth")));
    QVERIFY(!session.resultCapability());

    session.open(m_root, changeFolder(QStringLiteral("add-login")));
    QVERIFY(session.showResult(QStringLiteral("auth")));
    QCOMPARE(session.resultCapability(), QStringLiteral("auth"));
    QVERIFY(session.showResult(QString()));
    QVERIFY(!session.resultCapability());

    // Another look at the change starts at its review.
    QVERIFY(session.showResult(QStringLiteral("auth")));
    session.open(m_root, changeFolder(QStringLiteral("add-login")));
    QVERIFY(!session.resultCapability());
    session.leave();
    QVERIFY(!session.resultCapability());
}

QTEST_GUILESS_MAIN(TestReviewSession)
#include "tst_reviewsession.moc"
