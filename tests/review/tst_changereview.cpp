#include "faultinjectingfilesystem.h"
#include "projectfolder.h"

#include "project/changelookup.h"
#include "project/localfilesystem.h"
#include "review/changereview.h"
#include "review/closestname.h"

#include <QTest>

#include <unistd.h>

using namespace kestrune;

namespace {

using Flag = ReviewFlag;
using State = RequirementState;

const QString samplePath = QStringLiteral(KESTRUNE_SAMPLE_PROJECT);

const CapabilityReview &capabilityOf(const ChangeReview &review, const QString &name)
{
    for (const CapabilityReview &capability : review.capabilities) {
        if (capability.capability == name)
            return capability;
    }
    qFatal("no capability %s", qPrintable(name));
}

const RequirementReview &requirementOf(const CapabilityReview &capability, const QString &name,
                                       DeltaSpecType kind)
{
    for (const RequirementReview &requirement : capability.requirements) {
        if (requirement.name == name && requirement.kind == kind)
            return requirement;
    }
    qFatal("no requirement %s", qPrintable(name));
}

ChangeReview review(const ProjectFolder &project, const QString &change,
                    const FileSystem &fileSystem = *LocalFileSystem::shared())
{
    return reviewChange(fileSystem, project.url(),
                        project.urlOf(QStringLiteral("kestrune/changes/") + change));
}

ChangeReview reviewSample(const QString &name)
{
    const QUrl root = QUrl::fromLocalFile(samplePath);
    const ChangeLookup lookup = ChangeLookup::find(*LocalFileSystem::shared(), root, name);
    if (!lookup.folder)
        qFatal("no change %s in the sample project", qPrintable(name));
    return reviewChange(*LocalFileSystem::shared(), root, *lookup.folder);
}

QString hunkText(const RequirementReview &requirement, DiffOperation operation)
{
    QString text;
    for (const DiffHunk &hunk : requirement.hunks) {
        if (hunk.operation == operation)
            text += hunk.text + u'|';
    }
    return text;
}

// The current specification of "auth", with Windows line breaks: the comparison must not see them.
const QByteArray authSpecification =
    QByteArray("# Auth\n\n## Requirements\n\n"
               "### Requirement: Sign-in\nUsers sign in with a password.\n\n"
               "#### Scenario: Correct password\n- **WHEN** the password matches\n"
               "- **THEN** a session starts\n\n"
               "### Requirement: Sign-out\nEnds the session.\n\n"
               "### Requirement: Password hint\nShown after two failures.\n\n"
               "### Requirement: Audit log\nFirst version.\n\n"
               "### Requirement: Audit log\nSecond version.\n")
        .replace("\n", "\r\n");

const QByteArray authDelta = "## ADDED Requirements\n\n"
                             "### Requirement: Two-factor sign-in\nA second factor.\n\n"
                             "### Requirement: Sign-out\nEnds every session.\n\n"
                             "## MODIFIED Requirements\n\n"
                             "### Requirement: Sign-in   \nUsers sign in with a password.\n\n"
                             "#### Scenario: Correct password\n- **WHEN** the password matches\n"
                             "- **THEN** a session starts on the inbox\n\n"
                             "### Requirement: Pasword hint\nShown after three failures.\n\n"
                             "### Requirement: Audit log\nFirst version.\n\n"
                             "## REMOVED Requirements\n\n"
                             "### Requirement: Password hint\n\n**Reason**: hints leak passwords.\n\n"
                             "### Requirement: Remember me forever\n\n"
                             "### Requirement: Two-factor sign-in\n\n"
                             "## Notes\n\n### Requirement: Stray\nUnder no delta heading.\n";

} // namespace

class ChangeReviewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachKindAndFlag();
    void capabilityWithoutSpecification();
    void archivedChangeAgainstTheSpecificationNow();
    void sampleProject();
    void findsChangesByName();
    void unreadableFilesAndLinksOutOfTheProject();
    void closestNames_data();
    void closestNames();
};

void ChangeReviewTest::eachKindAndFlag()
{
    ProjectFolder project;
    project.write("kestrune/specs/auth/spec.md", authSpecification);
    project.write("kestrune/changes/update-auth/specs/auth/spec.md", authDelta);

    const ChangeReview change = review(project, "update-auth");
    QCOMPARE(change.changeName, QStringLiteral("update-auth"));
    QVERIFY(!change.archived);
    QCOMPARE(change.capabilities.size(), 1);
    const CapabilityReview &auth = change.capabilities.first();
    QCOMPARE(auth.error, CapabilityError::none);
    QCOMPARE(auth.specificationFile, project.urlOf("kestrune/specs/auth/spec.md"));
    QCOMPARE(auth.deltaFile, project.urlOf("kestrune/changes/update-auth/specs/auth/spec.md"));
    QCOMPARE(auth.counts, (ReviewCounts{2, 3, 3}));
    QCOMPARE(change.counts, auth.counts);
    QCOMPARE(auth.requirementsOutsideDeltaSections, QStringList({"Stray"}));
    QVERIFY(change.hasFindings());

    const RequirementReview &twoFactor = requirementOf(auth, "Two-factor sign-in", DeltaSpecType::added);
    QCOMPARE(twoFactor.flags, ReviewFlags(Flag::duplicateInChange));
    QCOMPARE(twoFactor.hunks, (QList<DiffHunk>{{DiffOperation::insert, twoFactor.proposedText}}));
    QCOMPARE(twoFactor.deltaLines, (LineRange{2, 2}));
    QVERIFY(twoFactor.currentText.isEmpty());

    const RequirementReview &signOut = requirementOf(auth, "Sign-out", DeltaSpecType::added);
    QCOMPARE(signOut.flags, ReviewFlags(Flag::existsInSpecification));
    QCOMPARE(signOut.currentText, QStringLiteral("### Requirement: Sign-out\nEnds the session."));
    QCOMPARE(signOut.state, State::pending);

    // Only a scenario changed; the name's trailing white space does not keep it from matching.
    const RequirementReview &signIn = requirementOf(auth, "Sign-in", DeltaSpecType::modified);
    QCOMPARE(signIn.flags, ReviewFlags());
    QCOMPARE(signIn.granularity, TextDiff::Granularity::words);
    QCOMPARE(hunkText(signIn, DiffOperation::insert), QStringLiteral(" on the inbox|"));
    QCOMPARE(hunkText(signIn, DiffOperation::remove), QString());
    QCOMPARE(signIn.currentLines, (LineRange{4, 6}));
    QVERIFY(signIn.currentText.startsWith(u"### Requirement: Sign-in\n"));

    const RequirementReview &typo = requirementOf(auth, "Pasword hint", DeltaSpecType::modified);
    QCOMPARE(typo.flags, ReviewFlags(Flag::missingFromSpecification));
    QCOMPARE(typo.suggestion, QStringLiteral("Password hint"));
    QCOMPARE(typo.hunks, (QList<DiffHunk>{{DiffOperation::insert, typo.proposedText}}));

    // The first of two requirements of the name is compared: it reads as proposed.
    const RequirementReview &audit = requirementOf(auth, "Audit log", DeltaSpecType::modified);
    QCOMPARE(audit.flags, ReviewFlags(Flag::duplicateInSpecification));
    QCOMPARE(audit.state, State::alreadyInSpecification);
    QCOMPARE(audit.hunks, (QList<DiffHunk>{{DiffOperation::equal, audit.proposedText}}));

    const RequirementReview &hint = requirementOf(auth, "Password hint", DeltaSpecType::removed);
    QCOMPARE(hint.flags, ReviewFlags());
    QCOMPARE(hint.note, QStringLiteral("**Reason**: hints leak passwords."));
    QCOMPARE(hint.hunks, (QList<DiffHunk>{{DiffOperation::remove,
                                           "### Requirement: Password hint\nShown after two failures."}}));
    QVERIFY(hint.proposedText.isEmpty());

    const RequirementReview &forever = requirementOf(auth, "Remember me forever", DeltaSpecType::removed);
    QCOMPARE(forever.flags, ReviewFlags(Flag::missingFromSpecification));
    QCOMPARE(forever.suggestion, std::nullopt);
    QVERIFY(forever.hunks.isEmpty());

    QCOMPARE(requirementOf(auth, "Two-factor sign-in", DeltaSpecType::removed).flags,
             Flag::duplicateInChange | Flag::missingFromSpecification);
    QCOMPARE(rawValues(Flag::duplicateInChange | Flag::missingFromSpecification),
             QStringList({"missingFromSpecification", "duplicateInChange"}));
}

void ChangeReviewTest::capabilityWithoutSpecification()
{
    ProjectFolder project;
    project.makeFolder("kestrune/specs");
    project.write("kestrune/changes/add-billing/specs/billing.md",
                  "## ADDED Requirements\n### Requirement: Invoices\nMonthly.\n"
                  "## MODIFIED Requirements\n### Requirement: Receipts\nBy email.\n"
                  "## REMOVED Requirements\n### Requirement: Faxes\n");
    project.write("kestrune/changes/add-billing/specs/empty/spec.md", "# Nothing yet\n");
    project.write("kestrune/changes/add-billing/specs/no-delta/notes.md", "## ADDED Requirements\n");

    const ChangeReview change = review(project, "add-billing");
    QCOMPARE(change.capabilities.size(), 2);
    const CapabilityReview &billing = capabilityOf(change, "billing");
    QCOMPARE(billing.specificationFile, std::nullopt);
    QVERIFY(!billing.specification);
    QCOMPARE(billing.counts, (ReviewCounts{1, 1, 1}));
    QCOMPARE(requirementOf(billing, "Invoices", DeltaSpecType::added).flags, ReviewFlags());
    QCOMPARE(requirementOf(billing, "Receipts", DeltaSpecType::modified).flags,
             ReviewFlags(Flag::missingFromSpecification));
    QCOMPARE(requirementOf(billing, "Faxes", DeltaSpecType::removed).flags,
             ReviewFlags(Flag::missingFromSpecification));

    const CapabilityReview &empty = capabilityOf(change, "empty");
    QVERIFY(empty.requirements.isEmpty());
    QVERIFY(!empty.hasFindings());
}

void ChangeReviewTest::archivedChangeAgainstTheSpecificationNow()
{
    ProjectFolder project;
    project.write("kestrune/specs/tags.md", "## Requirements\n"
                                            "### Requirement: Adding tags\nTags are added from the bar.  \n"
                                            "### Requirement: Tag colours\nEight colours, then grey.\n"
                                            "### Requirement: Tag export\nAs CSV.\n"
                                            "### Requirement: Renaming tags\nFrom the tag list.\n");
    project.write("kestrune/changes/archive/2026-09-14-add-tags/specs/tags/spec.md",
                  "## ADDED Requirements\n"
                  "### Requirement: Adding tags\nTags are added from the bar.\n"
                  "### Requirement: Tag colours\nSix colours.\n"
                  "### Requirement: Tag import\nFrom CSV.\n"
                  "## MODIFIED Requirements\n"
                  "### Requirement: Renaming tags\nFrom the tag list.\n"
                  "### Requirement: Tag export\nAs JSON.\n"
                  "## REMOVED Requirements\n"
                  "### Requirement: Tag limits\n"
                  "### Requirement: Tag export\n");

    const ChangeReview change = review(project, "archive/2026-09-14-add-tags");
    QVERIFY(change.archived);
    QCOMPARE(change.changeName, QStringLiteral("2026-09-14-add-tags"));
    const CapabilityReview &tags = change.capabilities.first();
    QCOMPARE(tags.specificationFile, project.urlOf("kestrune/specs/tags.md"));

    // What applying the change did is no finding; white space at line ends does not count.
    const RequirementReview &adding = requirementOf(tags, "Adding tags", DeltaSpecType::added);
    QCOMPARE(adding.state, State::alreadyInSpecification);
    QCOMPARE(adding.flags, ReviewFlags());
    const RequirementReview &colours = requirementOf(tags, "Tag colours", DeltaSpecType::added);
    QCOMPARE(colours.state, State::pending);
    QCOMPARE(colours.flags, ReviewFlags());
    QCOMPARE(requirementOf(tags, "Tag import", DeltaSpecType::added).state, State::pending);
    QCOMPARE(requirementOf(tags, "Renaming tags", DeltaSpecType::modified).state,
             State::alreadyInSpecification);
    const RequirementReview &export_ = requirementOf(tags, "Tag export", DeltaSpecType::modified);
    QCOMPARE(export_.state, State::pending);
    QCOMPARE(hunkText(export_, DiffOperation::remove), QStringLiteral("CSV.|"));
    QCOMPARE(requirementOf(tags, "Tag limits", DeltaSpecType::removed).state, State::alreadyInSpecification);
    QCOMPARE(requirementOf(tags, "Tag export", DeltaSpecType::removed).state, State::pending);
    // Only the name given twice remains a finding.
    for (const RequirementReview &requirement : tags.requirements)
        QCOMPARE(requirement.flags, requirement.name == QLatin1String("Tag export")
                                        ? ReviewFlags(Flag::duplicateInChange)
                                        : ReviewFlags());
}

void ChangeReviewTest::sampleProject()
{
    const ChangeReview history = reviewSample("add-note-history");
    QCOMPARE(history.counts, (ReviewCounts{5, 1, 0}));
    QVERIFY(!history.hasFindings());
    const CapabilityReview &editing = capabilityOf(history, "note-editing");
    const RequirementReview &concurrent = requirementOf(editing, "Concurrent edits", DeltaSpecType::modified);
    QCOMPARE(concurrent.granularity, TextDiff::Granularity::words);
    QVERIFY(hunkText(concurrent, DiffOperation::insert).contains(u"Whatever the\nuser chooses"));
    QVERIFY(hunkText(concurrent, DiffOperation::insert).contains(u"#### Scenario: Losing side is kept"));
    QCOMPARE(hunkText(concurrent, DiffOperation::remove), QString());
    QCOMPARE(capabilityOf(history, "note-history").specificationFile, std::nullopt);

    const ChangeReview recovery = reviewSample("update-account-recovery");
    const CapabilityReview &accounts = capabilityOf(recovery, "accounts");
    const RequirementReview &hint = requirementOf(accounts, "Password hint", DeltaSpecType::removed);
    QVERIFY(hint.note.startsWith(u"**Reason**: Stored hints"));
    QVERIFY(hint.note.contains(u"**Migration**"));
    QVERIFY(hunkText(hint, DiffOperation::remove).contains(u"60 characters"));
    QCOMPARE(requirementOf(accounts, "Password reset by email", DeltaSpecType::modified).flags,
             ReviewFlags());

    // The specification of "search" is the single file specs/search.md.
    const ChangeReview ranking = reviewSample("improve-search-ranking");
    QCOMPARE(ranking.capabilities.first().specificationFile,
             QUrl::fromLocalFile(samplePath + "/kestrune/specs/search.md"));

    // Archived: named without its date. Its requirements were added; the specification has
    // grown since, which is no finding.
    const ChangeReview tagging = reviewSample("add-tagging");
    QVERIFY(tagging.archived);
    QCOMPARE(tagging.changeName, QStringLiteral("2026-09-14-add-tagging"));
    QCOMPARE(tagging.counts, (ReviewCounts{4, 0, 0}));
    QVERIFY(!tagging.hasFindings());
    const CapabilityReview &tags = capabilityOf(tagging, "tagging");
    QCOMPARE(requirementOf(tags, "Filtering by tag", DeltaSpecType::added).state, State::pending);
    QVERIFY(!requirementOf(tags, "Filtering by tag", DeltaSpecType::added).currentText.isEmpty());

    const ChangeReview publicLinks = reviewSample("remove-public-note-links");
    QCOMPARE(publicLinks.capabilities.first().requirements.first().state, State::alreadyInSpecification);
    QVERIFY(!publicLinks.hasFindings());
}

void ChangeReviewTest::findsChangesByName()
{
    ProjectFolder project;
    for (const char *folder :
         {"add-x", "archive/2024-01-01-add-x", "archive/2024-01-01-fix-y", "archived/2024-02-01-fix-y",
          "archive/2024-03-01-tidy", "archive/notdated", "archive/2024-05-01-twice",
          "archived/2024-05-01-twice", "Archived/2024-06-01-shout", "ARCHIVE/2024-07-01-twice"})
        project.makeFolder(QStringLiteral("kestrune/changes/") + QLatin1String(folder));
    project.write("kestrune/changes/archive/2024-04-01-file.md");
    const LocalFileSystem &fileSystem = *LocalFileSystem::shared();
    const auto find = [&](const QString &name) {
        return ChangeLookup::find(fileSystem, project.url(), name);
    };

    QCOMPARE(find("add-x").folder, project.urlOf("kestrune/changes/add-x"));
    QVERIFY(!find("add-x").archived);
    QCOMPARE(find("2024-01-01-add-x").folder, project.urlOf("kestrune/changes/archive/2024-01-01-add-x"));
    QCOMPARE(find("tidy").folder, project.urlOf("kestrune/changes/archive/2024-03-01-tidy"));
    QVERIFY(find("tidy").archived);
    QCOMPARE(find("notdated").folder, project.urlOf("kestrune/changes/archive/notdated"));

    const ChangeLookup ambiguous = find("fix-y");
    QCOMPARE(ambiguous.folder, std::nullopt);
    QCOMPARE(ambiguous.candidates, QStringList({"archive/2024-01-01-fix-y", "archived/2024-02-01-fix-y"}));
    QCOMPARE(find("2024-05-01-twice").candidates.size(), 2);
    // Archive folders are named in any letter case, as the outline has them.
    QCOMPARE(find("shout").folder, project.urlOf("kestrune/changes/Archived/2024-06-01-shout"));
    QVERIFY(find("shout").archived);
    QCOMPARE(find("twice").candidates, QStringList({"ARCHIVE/2024-07-01-twice", "archive/2024-05-01-twice",
                                                    "archived/2024-05-01-twice"}));
    QVERIFY(review(project, "Archived/2024-06-01-shout").archived);

    for (const char *unknown : {"fix", "archive", "archived", "Archived", "", ".", "..",
                                "archive/2024-03-01-tidy", "file", "2024-04-01-file.md"}) {
        const ChangeLookup lookup = find(QLatin1String(unknown));
        QVERIFY2(!lookup.folder, unknown);
        QVERIFY(lookup.candidates.isEmpty());
    }
}

void ChangeReviewTest::unreadableFilesAndLinksOutOfTheProject()
{
    ProjectFolder project;
    ProjectFolder outside(QStringLiteral("elsewhere"));
    outside.write("spec.md", "## ADDED Requirements\n### Requirement: Secret\n");
    const QByteArray delta = "## ADDED Requirements\n### Requirement: A\n";
    for (const char *name : {"a", "b", "c", "d", "e"}) {
        project.write(QStringLiteral("kestrune/specs/%1/spec.md").arg(QLatin1String(name)),
                      "## Requirements\n");
        project.write(QStringLiteral("kestrune/changes/x/specs/%1/spec.md").arg(QLatin1String(name)), delta);
    }
    project.write("kestrune/changes/x/specs/c/spec.md", "## ADDED Requirements\n\xff\xfe\n");
    QVERIFY(::unlink(qPrintable(project.pathOf("kestrune/changes/x/specs/d/spec.md"))) == 0);
    QVERIFY(::symlink(qPrintable(outside.pathOf("spec.md")),
                      qPrintable(project.pathOf("kestrune/changes/x/specs/d/spec.md"))) == 0);
    QVERIFY(::unlink(qPrintable(project.pathOf("kestrune/specs/e/spec.md"))) == 0);
    QVERIFY(::symlink(qPrintable(outside.pathOf("spec.md")),
                      qPrintable(project.pathOf("kestrune/specs/e/spec.md"))) == 0);

    FaultInjectingFileSystem fileSystem;
    fileSystem.unreadableFiles = {project.pathOf("kestrune/changes/x/specs/a/spec.md"),
                                  project.pathOf("kestrune/specs/b/spec.md")};
    const ChangeReview change = review(project, "x", fileSystem);
    QCOMPARE(change.capabilities.size(), 5);
    QCOMPARE(capabilityOf(change, "a").error, CapabilityError::deltaUnreadable);
    QCOMPARE(capabilityOf(change, "b").error, CapabilityError::specificationUnreadable);
    QCOMPARE(capabilityOf(change, "c").error, CapabilityError::deltaUnreadable);
    QCOMPARE(capabilityOf(change, "d").error, CapabilityError::linksOutsideProject);
    QCOMPARE(capabilityOf(change, "e").error, CapabilityError::linksOutsideProject);
    for (const CapabilityReview &capability : change.capabilities) {
        QVERIFY(capability.requirements.isEmpty());
        QVERIFY(capability.hasFindings());
    }
    QCOMPARE(change.counts, ReviewCounts());

    // An unlistable specs folder, or none, is a change without delta specifications.
    fileSystem.unlistableFolders = {project.pathOf("kestrune/changes/x/specs")};
    QVERIFY(review(project, "x", fileSystem).capabilities.isEmpty());
    QVERIFY(review(project, "missing").capabilities.isEmpty());
}

void ChangeReviewTest::closestNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // empty: none

    QTest::addRow("one letter missing") << "Pasword reset by email"
                                        << "Password reset by email";
    QTest::addRow("letter case only") << "password Sign-In"
                                      << "Password sign-in";
    QTest::addRow("a third of the characters") << "Sessionsxxxx"
                                               << "Sessions";
    QTest::addRow("more than a third") << "Sessionsxxxxx"
                                       << "";
    QTest::addRow("too different") << "Sign-out"
                                   << "";
    QTest::addRow("nothing to compare") << ""
                                        << "";
}

void ChangeReviewTest::closestNames()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QStringList names = {"Password reset by email", "Password sign-in", "Sessions"};
    QCOMPARE(closestName(name, names).value_or(QString()), expected);
    QCOMPARE(closestName(name, {}), std::nullopt);
    QCOMPARE(editDistance(u"kitten", u"sitting"), 3);
}

QTEST_GUILESS_MAIN(ChangeReviewTest)
#include "tst_changereview.moc"
