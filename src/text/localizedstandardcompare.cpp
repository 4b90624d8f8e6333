#include "text/localizedstandardcompare.h"

#include <QCollator>
#include <QLocale>

namespace kestrune {

namespace {

// QCollator is not safe to share between threads and scans run in parallel, so every thread
// keeps its own. The "C" locale would turn off numeric collation, so it stands in for en_US.
QCollator &threadCollator()
{
    thread_local QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator result(locale);
        result.setNumericMode(true);
        result.setCaseSensitivity(Qt::CaseInsensitive);
        result.setIgnorePunctuation(false);
        return result;
    }();
    return collator;
}

} // namespace

int localizedStandardCompare(const QString &left, const QString &right)
{
    return threadCollator().compare(left, right);
}

QCollatorSortKey localizedStandardSortKey(const QString &name)
{
    return threadCollator().sortKey(name);
}

} // namespace kestrune
