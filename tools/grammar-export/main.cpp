// Build-time program: evaluates highlight.js's script in a JavaScript engine, compiles the
// grammars named on the command line and writes their mode graphs for kestrune_highlight, as
// CBOR. Usage: kestrune-grammar-export HIGHLIGHT_JS EXPORT_JS OUTPUT LANGUAGE...

#include <QCborValue>
#include <QCoreApplication>
#include <QFile>
#include <QJSEngine>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kestrune-grammar-export: cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return QString::fromUtf8(file.readAll());
}

bool reportError(const QJSValue &value, const char *what)
{
    if (!value.isError())
        return false;
    std::fprintf(stderr, "kestrune-grammar-export: %s: %s (line %d)\n", what, qPrintable(value.toString()),
                 value.property(QStringLiteral("lineNumber")).toInt());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: kestrune-grammar-export HIGHLIGHT_JS EXPORT_JS OUTPUT LANGUAGE...\n");
        return 2;
    }
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler*=false"));

    QJSEngine engine;
    engine.installExtensions(QJSEngine::ConsoleExtension);
    if (reportError(
            engine.evaluate(QStringLiteral("var exports = {};\n") + readText(arguments[1]), arguments[1]),
            "highlight.js") ||
        reportError(engine.evaluate(readText(arguments[2]), arguments[2]), "export script"))
        return 1;

    const QJSValue names = engine.toScriptValue(arguments.mid(4));
    const QJSValue json = engine.globalObject().property(QStringLiteral("exportGrammars")).call({names});
    if (reportError(json, "exportGrammars"))
        return 1;

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toString().toUtf8(), &parseError);
    if (document.isNull()) {
        std::fprintf(stderr, "kestrune-grammar-export: %s\n", qPrintable(parseError.errorString()));
        return 1;
    }
    QSaveFile output(arguments[3]);
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "kestrune-grammar-export: cannot write %s\n", qPrintable(arguments[3]));
        return 1;
    }
    output.write(QCborValue::fromJsonValue(document.object()).toCbor());
    return output.commit() ? 0 : 1;
}
