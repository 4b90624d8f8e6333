#pragma once

#include <QString>
#include <QUrl>

namespace kestrune {

// Where a link in a previewed document leads, decided against the document's place and the
// folder of its project: a heading of the page itself, a Markdown file or a folder of the project
// (opened inside the program), a web or mail address, or anything else, which only the desktop
// can open. A local target is inside the project when its real path is, with ".." and symbolic
// links resolved: a link cannot reach outside through either.
struct LinkTarget
{
    enum class Kind
    {
        pageHeading,   // "#fragment" on this page
        projectFile,   // a Markdown file inside the project
        projectFolder, // a folder inside the project that holds a Markdown file
        web,           // http, https, mailto
        desktop,       // anything else: a local file as an absolute file URL, another scheme
    };

    Kind kind = Kind::desktop;
    // Absolute; a local one as written below its folder (cleaned, links not resolved), without
    // its fragment.
    QUrl url;
    QString fragment; // decoded; followed for pageHeading and projectFile only

    // The absolute target alone, without looking at the disk: kind pageHeading, web or desktop.
    static LinkTarget locate(const QUrl &link, const QUrl &documentUrl);
    // `projectFolder` may be empty (no project): then nothing is inside one.
    static LinkTarget resolve(const QUrl &link, const QUrl &documentUrl, const QString &projectFolder);
    // Whether a folder holds a Markdown file, directly or in a folder below (looking at a bounded
    // number of entries).
    static bool holdsMarkdown(const QString &folder);
    // What a tooltip says of the link: the absolute path or the address.
    QString displayText() const;
};

} // namespace kestrune
