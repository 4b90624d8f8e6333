#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QMessageBox;
class QWidget;

namespace kestrune {

// What clicking a link of a previewed document does (see LinkTarget for where it leads): a
// heading of the page itself is asked for of the page, a Markdown file or a folder of the
// project is asked for inside the program, a web or mail address opens on the desktop at once,
// and any other target only once the reader agrees to it.
class PreviewLinkOpener : public QObject
{
    Q_OBJECT

public:
    // `dialogParent` is the widget the question about a link stands over, and the opener's parent.
    explicit PreviewLinkOpener(QWidget *dialogParent);

    // `link` as the document wrote it, resolved against the document's place and its project.
    void open(const QUrl &link, const QUrl &documentUrl, const QString &projectFolder);
    // What a tooltip says of a link under the pointer: its absolute path or address (empty for
    // no link).
    static QString toolTip(const QUrl &link, const QUrl &documentUrl);

Q_SIGNALS:
    // A heading of the page itself, by its identifier.
    void pageHeadingRequested(const QString &fragment);
    // A Markdown file of the project (`fragment`: a heading in it, possibly empty).
    void openFileRequested(const QUrl &fileURL, const QString &fragment);
    // A folder of the project that holds a Markdown file.
    void revealFolderRequested(const QUrl &folder);

private:
    // Opens `target` on the desktop if the reader agrees; a question still open gives way.
    void confirm(const QUrl &target);

    QWidget *m_dialogParent;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace kestrune
