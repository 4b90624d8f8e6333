// kestrune-md: parses Markdown into the document model and prints it back.
//
//     kestrune-md [--to html|commonmark|text|model] [FILE|-]
//
// Reads UTF-8 from FILE, or from standard input when FILE is "-" or absent.
// "model" prints the block tree as JSON with the model's case and field names; "html" colours
// fenced code whose language has a grammar in <span class="code-KIND"> runs.
// Exit status: 0 on success, 1 when the input cannot be read or is not UTF-8 or the output
// cannot be written, 2 on a usage error.

#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownjsonwriter.h"
#include "markdown/document/markdownparser.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <cstdio>
#include <new>

using namespace kestrune;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "kestrune-md: %s\n", qPrintable(message));
    return 1;
}

bool readInput(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file;
    const bool fromStdin = path.isEmpty() || path == QLatin1String("-");
    const bool opened = fromStdin ? file.open(stdin, QIODevice::ReadOnly)
                                  : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2")
                    .arg(fromStdin ? QStringLiteral("standard input") : path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-md"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Parses Markdown into the viewer's document model and prints it back."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("Output form: html, commonmark, text or model (JSON)."),
                                QStringLiteral("form"), QStringLiteral("commonmark"));
    options.addOption(to);
    options.addPositionalArgument(QStringLiteral("file"),
                                  QStringLiteral("Markdown file to read; \"-\" or none for standard input."),
                                  QStringLiteral("[FILE|-]"));
    // Every usage error ends with status 2, as in kestrune-report: QCommandLineParser::process
    // would end an unknown option with 1, the status of an input that cannot be read. It still
    // answers --help, --help-all and --version.
    if (!options.parse(QCoreApplication::arguments())) {
        fail(options.errorText());
        return 2;
    }
    options.process(app);

    const QString form = options.value(to);
    if (form != QLatin1String("html") && form != QLatin1String("commonmark") &&
        form != QLatin1String("text") && form != QLatin1String("model")) {
        fail(QStringLiteral("unknown output form \"%1\" (expected html, commonmark, text or model)")
                 .arg(form));
        return 2;
    }
    const QStringList files = options.positionalArguments();
    if (files.size() > 1) {
        fail(QStringLiteral("expected at most one input file"));
        return 2;
    }
    const QString path = files.value(0);
    const QString inputName =
        path.isEmpty() || path == QLatin1String("-") ? QStringLiteral("standard input") : path;

    QByteArray bytes;
    QString error;
    if (!readInput(path, bytes, error))
        return fail(error);

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return fail(QStringLiteral("%1 is not valid UTF-8").arg(inputName));

    QList<BlockNode> blocks;
    try {
        blocks = MarkdownParser::parse(text);
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("%1 needs more memory to parse than there is").arg(inputName));
    }
    const MarkdownContent content(std::move(blocks));
    QByteArray output;
    if (form == QLatin1String("model"))
        output = MarkdownJsonWriter::toJsonText(content.blocks);
    else if (form == QLatin1String("html"))
        output = content.renderHtml(MarkdownContent::HtmlCode::coloured).toUtf8();
    else if (form == QLatin1String("text"))
        output = content.renderPlainText().toUtf8();
    else
        output = content.renderCommonMark().toUtf8();

    if (std::fwrite(output.constData(), 1, std::size_t(output.size()), stdout) !=
            std::size_t(output.size()) ||
        std::fflush(stdout) != 0)
        return fail(QStringLiteral("cannot write to standard output"));
    return 0;
}
