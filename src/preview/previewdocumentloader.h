#pragma once

#include "markdown/layout/document/preparedmarkdownpage.h"
#include "preview/markdownfilereader.h"
#include "preview/markdownpreviewstate.h"

#include <QObject>
#include <QStringView>
#include <QUrl>

#include <functional>
#include <optional>

class QThreadPool;

namespace kestrune {

class MarkdownView;

// The background half of the preview pane: reads the file on show on the read pool (a pool of
// the panes' own), parsing it and laying out the first screen of its page there too, for a
// hidden document view made for it. A text too long to render at once is not parsed with the
// read; the pane shows it as source until the reader asks for it rendered, and then parses it
// here. Only the latest load hands over what it made (readArrived, parseArrived): an earlier
// one is dropped, its view with it, when it finishes.
class PreviewDocumentLoader : public QObject
{
    Q_OBJECT

public:
    // Longer texts are shown as source until the reader asks to render them: laying out a
    // document takes about a hundred times its size in memory, and seconds per ten megabytes.
    static constexpr qsizetype largestRenderedText = qsizetype(8) << 20;
    static bool isTooLongToRender(QStringView text) { return text.size() > largestRenderedText; }

    static QThreadPool *readPool();
    // What files are read and parsed with (MarkdownFileReader::load unless replaced; tests put
    // in one that holds reads back). Runs on the read pool; the last arguments are the longest
    // text to parse and the settings of the page to prepare.
    using FileReadFunction = std::function<MarkdownFileReader::Document(
        const QString &, const MarkdownFileReader::ErrorMessages &, qsizetype,
        const std::optional<PreparedMarkdownPage::Settings> &)>;
    static void setFileReadFunction(FileReadFunction function);

    // What a load hands over on the window's thread.
    struct Arrival
    {
        MarkdownFileReader::Document document;
        // The hidden view the page was laid out for, now the receiver's (nullptr when it is
        // gone); it shows nothing yet.
        MarkdownView *view = nullptr;
        bool reload = false; // a read that left the content on show while it ran
    };

    explicit PreviewDocumentLoader(QObject *parent = nullptr);

    // Whether any load has started yet; whether the latest one has handed over its result.
    bool hasStarted() const { return m_serial > 0; }
    bool hasDelivered() const { return m_serial > 0 && !m_running; }

    // Reads the file at `url`, preparing its page with `settings` for `view`.
    void read(const QUrl &url, bool reload, MarkdownView *view,
              const PreparedMarkdownPage::Settings &settings);
    // Takes `bytes` as the text of the file instead of reading it (a version of it from a commit),
    // decoded, parsed and prepared as a read is.
    void readBytes(const QByteArray &bytes, bool reload, MarkdownView *view,
                   const PreparedMarkdownPage::Settings &settings);
    // Counts a load that reads nothing (a file the pane will not read): a read still running is
    // dropped.
    void readNothing();
    // Parses the text of a content state read before (and prepares its page with `settings` for
    // `view`), unless another load starts meanwhile.
    void parse(const MarkdownPreviewState &state, MarkdownView *view,
               const PreparedMarkdownPage::Settings &settings);

Q_SIGNALS:
    void readArrived(const PreviewDocumentLoader::Arrival &arrival);
    void parseArrived(const PreviewDocumentLoader::Arrival &arrival);

private:
    enum class Work
    {
        read,
        reload,
        parse
    };
    static FileReadFunction &fileReadFunction();
    // Hands over what `future` makes once it is done, unless a later load has started.
    void deliver(const QFuture<MarkdownFileReader::Document> &future, MarkdownView *view, Work work);

    // Counts the loads started; a result is taken only from the latest one.
    quint64 m_serial = 0;
    bool m_running = false;
};

} // namespace kestrune
