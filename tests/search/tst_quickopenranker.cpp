#include "search/quickopencatalog.h"
#include "search/quickopenranker.h"
#include "search/subsequencematcher.h"

#include <QTest>

using namespace kestrune;

namespace {

QuickOpenEntry fileEntry(const QString &path, bool archived = false)
{
    QuickOpenEntry entry;
    entry.title = path.section(QLatin1Char('/'), -1);
    entry.matchText = path;
    entry.titleOffset = path.size() - entry.title.size();
    entry.target = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/") + path);
    entry.isArchived = archived;
    return entry;
}

QuickOpenEntry requirementEntry(const QString &name, bool archived = false)
{
    QuickOpenEntry entry;
    entry.kind = QuickOpenEntry::Kind::requirement;
    entry.title = name;
    entry.matchText = name;
    entry.isArchived = archived;
    return entry;
}

// The match texts of the ranked entries, best first.
QStringList ranked(QuickOpenRanker &ranker, const QString &query, qsizetype limit = 100)
{
    QStringList texts;
    for (const QuickOpenRanker::Result &result : ranker.rank(query, limit))
        texts.append(ranker.entries().at(result.entry).matchText);
    return texts;
}

TreeNode node(TreeNodeKind kind, const QString &path,
              std::optional<std::vector<TreeNode>> children = std::nullopt)
{
    TreeNode n;
    n.kind = kind;
    n.name = path.section(QLatin1Char('/'), -1);
    n.url = QUrl::fromLocalFile(path);
    n.children = std::move(children);
    n.isArchived = path.contains(QStringLiteral("archive"));
    return n;
}

} // namespace

class TestQuickOpenRanker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesLettersInOrderIgnoringCase()
    {
        const SubsequenceMatcher matcher(u"TsK");
        QVERIFY(matcher.score(u"tasks.md"));
        QVERIFY(!matcher.score(u"kst.md"));
        QVERIFY(!matcher.score(u"ts"));
        QCOMPARE(SubsequenceMatcher(u"").score(u"anything"), 0);
        // White space in the query is left out.
        QVERIFY(SubsequenceMatcher(u"add tag").score(u"changes/add-tagging"));
        // Letters beyond ASCII fold too.
        QVERIFY(SubsequenceMatcher(u"ÜBER").score(u"über-sicht"));
    }

    void positionsAreThoseOfTheBestMatch()
    {
        // "tags" could take the "t" of "notes", but the word "tags" scores best.
        const std::optional<SubsequenceMatcher::Match> match =
            SubsequenceMatcher(u"tags").match(u"notes/tags.md");
        QVERIFY(match);
        QCOMPARE(match->positions, (QList<qsizetype>{6, 7, 8, 9}));
        QCOMPARE(match->score, *SubsequenceMatcher(u"tags").score(u"notes/tags.md"));
        // Word starts across a path: c(hanges) a(dd) t(asks).
        const std::optional<SubsequenceMatcher::Match> initials =
            SubsequenceMatcher(u"cat").match(u"changes/add/tasks.md");
        QVERIFY(initials);
        QCOMPARE(initials->positions, (QList<qsizetype>{0, 8, 12}));
        QCOMPARE(initials->score, *SubsequenceMatcher(u"cat").score(u"changes/add/tasks.md"));
        // Of equal matches the file's name is marked, not the folder's.
        QCOMPARE(SubsequenceMatcher(u"spec").match(u"specs/tags/spec.md")->positions,
                 (QList<qsizetype>{11, 12, 13, 14}));
    }

    void scoreAndMatchAgreeOnEveryText()
    {
        const QStringList texts = {u"changes/add-note-history/specs/notes/spec.md"_qs, u"aaaaaab"_qs,
                                   u"NoteHistoryView"_qs, u"a-b_c.d e/f"_qs, u"abababab"_qs};
        for (const QString &query : {u"ab"_qs, u"nh"_qs, u"notes"_qs, u"aab"_qs, u"spec"_qs, u"hv"_qs}) {
            const SubsequenceMatcher matcher(query);
            for (const QString &text : texts) {
                const std::optional<int> score = matcher.score(text);
                const std::optional<SubsequenceMatcher::Match> match = matcher.match(text);
                QCOMPARE(score.has_value(), match.has_value());
                if (!match)
                    continue;
                QCOMPARE(match->score, *score);
                QCOMPARE(match->positions.size(), matcher.query().size());
                for (qsizetype j = 0; j < match->positions.size(); ++j) {
                    QCOMPARE(SubsequenceMatcher::fold(text.at(match->positions.at(j))),
                             matcher.query().at(j).unicode());
                    if (j > 0)
                        QVERIFY(match->positions.at(j) > match->positions.at(j - 1));
                }
            }
        }
    }

    void ranksBestMatchesFirst()
    {
        QuickOpenRanker ranker;
        ranker.setEntries({
            fileEntry(u"changes/x/flask.md"_qs),              // "ask" consecutive, inside a word
            fileEntry(u"changes/x/a-s-k.md"_qs),              // "ask" at word starts, scattered
            fileEntry(u"notes/axsxk.md"_qs),                  // scattered inside a word
            fileEntry(u"changes/add-tagging/tasks.md"_qs),    // "ask" consecutive after "t"
            fileEntry(u"changes/archive/a/flask.md"_qs, true) // as the first, archived
        });
        // Word starts first, then consecutive letters (current before archived, though its path is
        // shorter), then scattered ones.
        QCOMPARE(ranked(ranker, u"ask"_qs),
                 (QStringList{u"changes/x/a-s-k.md"_qs, u"changes/x/flask.md"_qs,
                              u"changes/add-tagging/tasks.md"_qs, u"changes/archive/a/flask.md"_qs,
                              u"notes/axsxk.md"_qs}));

        // Same letters at the same kind of place: the shorter path first, then the list's order.
        ranker.setEntries({fileEntry(u"changes/long-name/tasks.md"_qs), fileEntry(u"changes/b/tasks.md"_qs),
                           fileEntry(u"changes/a/tasks.md"_qs)});
        QCOMPARE(ranked(ranker, u"tasks"_qs), (QStringList{u"changes/b/tasks.md"_qs, u"changes/a/tasks.md"_qs,
                                                           u"changes/long-name/tasks.md"_qs}));
        // Initials of words beat the same letters elsewhere: "ant" is a(dd)-n(ote)-t(ags).
        ranker.setEntries({fileEntry(u"specs/tenant/spec.md"_qs), fileEntry(u"changes/add-note-tags"_qs)});
        QCOMPARE(ranked(ranker, u"ant"_qs).constFirst(), u"changes/add-note-tags"_qs);
    }

    void requirementQueriesLookAtRequirementsOnly()
    {
        QuickOpenRanker ranker;
        ranker.setEntries({fileEntry(u"specs/login/spec.md"_qs), requirementEntry(u"Login with a passkey"_qs),
                           requirementEntry(u"Log out everywhere"_qs, true),
                           requirementEntry(u"Sign in"_qs)});
        QCOMPARE(ranked(ranker, u"login"_qs), QStringList{u"specs/login/spec.md"_qs});
        QCOMPARE(ranked(ranker, u"#login"_qs), QStringList{u"Login with a passkey"_qs});
        // Both start with "Log": the current one first, though the archived one is shorter.
        QCOMPARE(ranked(ranker, u"  # log"_qs),
                 (QStringList{u"Login with a passkey"_qs, u"Log out everywhere"_qs}));
        // A lone "#" lists every requirement, current before archived, shorter first.
        QCOMPARE(ranked(ranker, u"#"_qs),
                 (QStringList{u"Sign in"_qs, u"Login with a passkey"_qs, u"Log out everywhere"_qs}));
        QCOMPARE(ranked(ranker, u""_qs), QStringList{u"specs/login/spec.md"_qs});
    }

    void typingOnNarrowsAndDeletingWidensAgain()
    {
        QuickOpenRanker ranker;
        ranker.setEntries({fileEntry(u"alpha"_qs), fileEntry(u"beta"_qs), fileEntry(u"gamma"_qs)});
        QCOMPARE(ranked(ranker, u"a"_qs).size(), 3);
        QCOMPARE(ranked(ranker, u"am"_qs), QStringList{u"gamma"_qs});
        QCOMPARE(ranked(ranker, u"a"_qs).size(), 3);
        QCOMPARE(ranked(ranker, u"b"_qs), QStringList{u"beta"_qs});
        // Switching to requirements does not narrow within files.
        QCOMPARE(ranked(ranker, u"#b"_qs), QStringList());
        QCOMPARE(ranked(ranker, u"al"_qs), QStringList{u"alpha"_qs});
        // The limit keeps the best.
        QCOMPARE(ranked(ranker, u"a"_qs, 1), QStringList{u"alpha"_qs});
    }

    void catalogListsFilesChangesAndSpecifications()
    {
        const QString k = QStringLiteral("/p/kestrune");
        TreeNode proposal = node(TreeNodeKind::markdownFile, k + u"/changes/add-tags/proposal.md"_qs);
        TreeNode delta = node(TreeNodeKind::markdownFile, k + u"/changes/add-tags/specs/tags/spec.md"_qs);
        delta.deltaType = DeltaSpecType::added;
        TreeNode outside = node(TreeNodeKind::markdownFile, k + u"/changes/add-tags/link.md"_qs);
        outside.linksOutsideProject = true;
        TreeNode tree =
            node(TreeNodeKind::projectRoot, u"/p"_qs,
                 std::vector<TreeNode>{node(
                     TreeNodeKind::kestrune, k,
                     std::vector<TreeNode>{
                         node(TreeNodeKind::directory, k + u"/changes"_qs,
                              std::vector<TreeNode>{node(
                                  TreeNodeKind::directory, k + u"/changes/add-tags"_qs,
                                  std::vector<TreeNode>{
                                      node(TreeNodeKind::directory, k + u"/changes/add-tags/specs"_qs,
                                           std::vector<TreeNode>{node(TreeNodeKind::directory,
                                                                      k + u"/changes/add-tags/specs/tags"_qs,
                                                                      std::vector<TreeNode>{delta})}),
                                      proposal, outside})}),
                         node(TreeNodeKind::directory, k + u"/archive"_qs,
                              std::vector<TreeNode>{node(TreeNodeKind::directory,
                                                         k + u"/changes/archive/2024-01-01-old"_qs,
                                                         std::vector<TreeNode>{})}),
                         node(TreeNodeKind::directory, k + u"/specs"_qs,
                              std::vector<TreeNode>{
                                  node(TreeNodeKind::directory, k + u"/specs/tags"_qs,
                                       std::vector<TreeNode>{
                                           node(TreeNodeKind::markdownFile, k + u"/specs/tags/spec.md"_qs),
                                           node(TreeNodeKind::markdownFile, k + u"/specs/tags/notes.md"_qs)}),
                                  node(TreeNodeKind::markdownFile, k + u"/specs/search.md"_qs)})})});

        const QList<QuickOpenEntry> entries =
            QuickOpenCatalog::entriesOf(QUrl::fromLocalFile(u"/p"_qs), tree);
        QStringList listed;
        for (const QuickOpenEntry &entry : entries)
            listed.append(QString::number(int(entry.kind)) + QLatin1Char(' ') + entry.matchText);
        QCOMPARE(listed, (QStringList{u"1 add-tags"_qs, u"0 changes/add-tags/specs/tags/spec.md"_qs,
                                      u"0 changes/add-tags/proposal.md"_qs, u"1 2024-01-01-old"_qs,
                                      u"2 tags"_qs, u"0 specs/tags/spec.md"_qs, u"0 specs/tags/notes.md"_qs,
                                      u"2 search"_qs, u"0 specs/search.md"_qs}));
        // A change opens at its proposal, or shows its folder without one.
        QCOMPARE(entries.at(0).target, proposal.url);
        QCOMPARE(entries.at(3).target, QUrl::fromLocalFile(k + u"/changes/archive/2024-01-01-old"_qs));
        QVERIFY(entries.at(3).isArchived);
        // A file's title is the end of its path, after its folder.
        const QuickOpenEntry &file = entries.at(1);
        QCOMPARE(file.title, u"spec.md"_qs);
        QCOMPARE(file.matchText.mid(file.titleOffset), file.title);
        QCOMPARE(file.folder, u"changes/add-tags/specs/tags"_qs);
        QCOMPARE(file.change, u"add-tags"_qs);
        QCOMPARE(file.deltaType, DeltaSpecType::added);
        QCOMPARE(entries.at(4).target, QUrl::fromLocalFile(k + u"/specs/tags/spec.md"_qs));
    }
};

QTEST_GUILESS_MAIN(TestQuickOpenRanker)
#include "tst_quickopenranker.moc"
