#include "specificationdocument.h"

namespace {

// One requirement section, varied by `n`.
QByteArray section(int n)
{
    const QByteArray id = QByteArray::number(n);
    return "## Capability " + id +
           "\n\n"
           "The service keeps *records* of every **session** and exposes them through "
           "the [reporting API](https://example.com/api/" +
           id + ") and `GET /sessions/" + id +
           "`.\n"
           "Old entries are ~~kept~~ removed after 30 days; see www.example.com/retention.\n\n"
           "### Requirement: Session record " +
           id +
           "\n\n"
           "The system SHALL store the start time, the user and the client version.\n\n"
           "#### Scenario: New session\n\n"
           "- **WHEN** a user signs in\n"
           "- **THEN** a record is created\n"
           "  - with the start time\n"
           "  - with the client version\n\n"
           "1. Open the session list\n2. Pick a session\n3. Read the record\n\n"
           "- [x] schema written\n- [ ] migration tested\n\n"
           "| Field | Type | Required |\n|:------|:----:|---------:|\n"
           "| start | date | yes |\n| user | text | yes |\n| client | text | no |\n\n"
           "```swift\nlet record = Session(id: " +
           id +
           ")\nstore.save(record)\n```\n\n"
           "> Note: records are read-only once written.\n\n";
}

} // namespace

QByteArray specificationDocument(qsizetype bytes)
{
    QByteArray text = "# Session service specification\n\n";
    for (int n = 1; text.size() < bytes; ++n)
        text += section(n);
    return text;
}
