#include "review/specificationdocument.h"

#include "project/summarycomputation.h"

#include <QTest>

using namespace kestrune;

namespace {

using Kind = SpecificationSectionKind;

// How many requirements the review reads in a document, for the dashboard's count to agree.
qint64 requirementCount(const SpecificationDocument &document)
{
    qint64 count = 0;
    for (const SpecificationSection &section : document.sections)
        count += section.requirements.size();
    return count;
}

QStringList namesOf(const SpecificationSection &section)
{
    QStringList names;
    for (const RequirementBlock &requirement : section.requirements)
        names.append(requirement.name);
    return names;
}

} // namespace

class SpecificationDocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sectionsAndRequirementBlocks();
    void headingForms_data();
    void headingForms();
    void lineBreaksOfAnySystem();
    void textBeforeTheFirstSectionAndNoRequirements();
    void headingsInCodeBlocksAreText();
    void duplicateNames();
    void removedEntryBody();
};

void SpecificationDocumentTest::sectionsAndRequirementBlocks()
{
    const SpecificationDocument document = SpecificationDocument::parse(u"# Accounts\n"
                                                                        "\n"
                                                                        "## Purpose\n"
                                                                        "Who signs in.\n"
                                                                        "\n"
                                                                        "## Requirements\n"
                                                                        "\n"
                                                                        "### Requirement: Sign-in\n"
                                                                        "The service SHALL sign users in.\n"
                                                                        "\n"
                                                                        "#### Scenario: Correct password\n"
                                                                        "- **WHEN** the password matches\n"
                                                                        "\n"
                                                                        "\n"
                                                                        "### Notes on sign-in\n"
                                                                        "Loose text.\n"
                                                                        "### Requirement: Sign-out\n"
                                                                        "Ends the session.\n"
                                                                        "## Changelog\n"
                                                                        "- first version\n");

    QCOMPARE(document.sections.size(), 4);
    const SpecificationSection &leading = document.sections.at(0);
    QCOMPARE(leading.kind, Kind::leading);
    QCOMPARE(leading.lines, (LineRange{0, 2}));
    QCOMPARE(document.sections.at(1).kind, Kind::other);
    QCOMPARE(document.sections.at(1).title, QStringLiteral("Purpose"));

    const SpecificationSection &requirements = document.sections.at(2);
    QCOMPARE(requirements.kind, Kind::requirements);
    QCOMPARE(requirements.lines, (LineRange{5, 13}));
    QCOMPARE(namesOf(requirements), QStringList({"Sign-in", "Sign-out"}));
    const RequirementBlock &signIn = requirements.requirements.at(0);
    // The scenario belongs to the block; the blank lines after it and the level-3 heading that
    // is no requirement end it.
    QCOMPARE(signIn.lines, (LineRange{7, 5}));
    QCOMPARE(signIn.text, QStringLiteral("### Requirement: Sign-in\nThe service SHALL sign users in.\n\n"
                                         "#### Scenario: Correct password\n- **WHEN** the password matches"));
    QCOMPARE(requirements.requirements.at(1).text,
             QStringLiteral("### Requirement: Sign-out\nEnds the session."));

    const SpecificationSection &unknown = document.sections.at(3);
    QCOMPARE(unknown.kind, Kind::other);
    QCOMPARE(unknown.title, QStringLiteral("Changelog"));
    QCOMPARE(unknown.lines, (LineRange{18, 3}));
    QCOMPARE(document.lines.size(), 21);
}

void SpecificationDocumentTest::headingForms_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name"); // empty: no requirement

    QTest::addRow("ASCII colon") << "### Requirement: Password reset"
                                 << "Password reset";
    QTest::addRow("full-width colon") << "### Requirement\uFF1APassword reset"
                                      << "Password reset";
    QTest::addRow("trailing white space") << "### Requirement: Password reset \t\u00A0"
                                          << "Password reset";
    QTest::addRow("indented, spaces after the marks") << "  ###   Requirement:Password reset"
                                                      << "Password reset";
    QTest::addRow("closing marks") << "### Requirement: Password reset ###"
                                   << "Password reset";
    QTest::addRow("a mark that is part of the name") << "### Requirement: Support C#"
                                                     << "Support C#";
    QTest::addRow("no space after the marks") << "###Requirement: Password reset"
                                              << "";
    QTest::addRow("level 4") << "#### Requirement: Password reset"
                             << "";
    QTest::addRow("no colon") << "### Requirement Password reset"
                              << "";
    QTest::addRow("lower case") << "### requirement: Password reset"
                                << "";
    QTest::addRow("a tab after the marks") << "###\tRequirement: Password reset"
                                           << "Password reset";
}

void SpecificationDocumentTest::headingForms()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    const QString text = QStringLiteral("## Requirements\n") + line + QStringLiteral("\nText.\n");
    const SpecificationDocument document = SpecificationDocument::parse(text);
    // The dashboard counts what the review reads.
    QCOMPARE(countRequirements(text), requirementCount(document));
    const QList<RequirementBlock> &requirements = document.sections.last().requirements;
    if (name.isEmpty()) {
        QVERIFY(requirements.isEmpty());
        return;
    }
    QCOMPARE(requirements.size(), 1);
    QCOMPARE(requirements.first().name, name);
    QCOMPARE(requirements.first().lines, (LineRange{1, 2}));
}

void SpecificationDocumentTest::lineBreaksOfAnySystem()
{
    const QString unix =
        QStringLiteral("## MODIFIED Requirements\n\n### Requirement: A\nText\n\n#### Scenario: S\n- x\n");
    QString windows = unix;
    windows.replace(u'\n', QStringLiteral("\r\n"));
    QString classic = unix;
    classic.replace(u'\n', u'\r');

    const SpecificationDocument expected = SpecificationDocument::parse(unix);
    for (const QString &text : {windows, classic}) {
        const SpecificationDocument document = SpecificationDocument::parse(text);
        QCOMPARE(countRequirements(text), qint64(1));
        QCOMPARE(document.lines, expected.lines);
        QCOMPARE(document.sections.size(), 1);
        QCOMPARE(document.sections.first().kind, Kind::modified);
        const RequirementBlock &block = document.sections.first().requirements.first();
        QCOMPARE(block.text, QStringLiteral("### Requirement: A\nText\n\n#### Scenario: S\n- x"));
        QCOMPARE(block.lines, (LineRange{2, 5}));
    }

    // Only these three end lines, as the Markdown parser reads them: a line separator, a next
    // line or a form feed is text within its line.
    const SpecificationDocument separators =
        SpecificationDocument::parse(u"### Requirement: A\u2028B\u0085C\fD\r\nText\n### Requirement: E");
    QCOMPARE(separators.lines.size(), 3);
    QCOMPARE(namesOf(separators.sections.first()), QStringList({"A\u2028B\u0085C\fD", "E"}));
    QCOMPARE(countRequirements(u"### Requirement: A\u2029### Requirement: B\r\r\n### Requirement: C"),
             qint64(2));
}

void SpecificationDocumentTest::textBeforeTheFirstSectionAndNoRequirements()
{
    QVERIFY(SpecificationDocument::parse(u"").sections.isEmpty());

    const SpecificationDocument prose = SpecificationDocument::parse(u"Just a note.\n\nNothing else.");
    QCOMPARE(prose.sections.size(), 1);
    QCOMPARE(prose.sections.first().kind, Kind::leading);
    QVERIFY(prose.sections.first().requirements.isEmpty());

    // Requirements before any section are kept, in the leading section.
    const SpecificationDocument bare =
        SpecificationDocument::parse(u"Intro\n### Requirement: Early\nText\n## ADDED Requirements\n");
    QCOMPARE(namesOf(bare.sections.first()), QStringList({"Early"}));
    QCOMPARE(bare.sections.last().kind, Kind::added);
    QVERIFY(bare.sections.last().requirements.isEmpty());
}

void SpecificationDocumentTest::headingsInCodeBlocksAreText()
{
    const SpecificationDocument document = SpecificationDocument::parse(u"## Requirements\n"
                                                                        "### Requirement: Export\n"
                                                                        "Writes files like this:\n"
                                                                        "````markdown\n"
                                                                        "## Requirements\n"
                                                                        "```\n"
                                                                        "### Requirement: Inside\n"
                                                                        "````\n"
                                                                        "~~~\n"
                                                                        "# not a heading\n"
                                                                        "~~~\n"
                                                                        "### Requirement: After\n");
    QCOMPARE(countRequirements(document.lines.join(u'\n')), qint64(2));
    QCOMPARE(document.sections.size(), 1);
    QCOMPARE(namesOf(document.sections.first()), QStringList({"Export", "After"}));
    QCOMPARE(document.sections.first().requirements.first().lines, (LineRange{1, 10}));
}

void SpecificationDocumentTest::duplicateNames()
{
    const SpecificationDocument document = SpecificationDocument::parse(
        u"## MODIFIED Requirements\n### Requirement: A\n### Requirement: B\n"
        "## REMOVED Requirements\n### Requirement:  A \n### Requirement: C\n### Requirement: B\n"
        "### Requirement: A\n### Requirement: b\n");
    QCOMPARE(document.duplicateNames(), QStringList({"A", "B"}));
    QCOMPARE(SpecificationDocument::requirementKey(u" Password \t reset\u00A0"),
             QStringLiteral("Password reset"));
}

void SpecificationDocumentTest::removedEntryBody()
{
    const SpecificationDocument document = SpecificationDocument::parse(
        u"## REMOVED Requirements\n\n### Requirement: Hint\n\n**Reason**: leaks.\n\n**Migration**: none.\n\n"
        "### Requirement: Bare\n");
    const QList<RequirementBlock> &removed = document.sections.first().requirements;
    QCOMPARE(removed.at(0).body(), QStringLiteral("**Reason**: leaks.\n\n**Migration**: none."));
    QCOMPARE(removed.at(1).body(), QString());
}

QTEST_GUILESS_MAIN(SpecificationDocumentTest)
#include "tst_specificationdocument.moc"
