#include "text/headingidentifiersequence.h"

namespace kestrune {

QString HeadingIdentifierSequence::next(const QString &identifier)
{
    if (identifier.isEmpty())
        return identifier;
    QString result = identifier;
    while (m_occurrences.contains(result)) {
        const int occurrence = ++m_occurrences[identifier];
        result = identifier + QLatin1Char('-') + QString::number(occurrence);
    }
    m_occurrences.insert(result, 0);
    return result;
}

} // namespace kestrune
