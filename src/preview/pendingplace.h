#pragma once

#include "markdown/layout/document/headingoutline.h"
#include "preview/previewreadingposition.h"
#include "text/searchpattern.h"

#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace kestrune {

// A place in the file on show to take the reader to as soon as its text is there: a reading
// position (in its mode), a heading (by the identifier links to "#identifier" name it with), a
// match of a search, or the first change since the text seen (once the two are compared). The
// pane holds it while the file is read and hands it over once; a later file forgets it.
class PendingPlace
{
public:
    struct Heading
    {
        QString identifier;
        // Its index among the headings of the text, or -1 when it is not one of them.
        int indexIn(const QList<HeadingOutline::Heading> &headings) const;
    };
    // A match of a search: the one at `line` and `column` (counted from 0, the column in UTF-16
    // code units) or the first after it.
    struct SearchHit
    {
        SearchPattern pattern;
        int line = 0;
        int column = 0;
    };
    // The first of the change marks, in the mode on show: held until the text on show has been
    // compared with the text the reader last saw of it.
    struct FirstChange
    {
    };
    using Place = std::variant<PreviewReadingPosition, Heading, SearchHit, FirstChange>;

    // Replaces the place held before.
    void set(Place place) { m_place = std::move(place); }
    void forget() { m_place.reset(); }
    template <typename Kind> bool holds() const { return m_place && std::holds_alternative<Kind>(*m_place); }
    // The place held, which is forgotten with this.
    std::optional<Place> take();

private:
    std::optional<Place> m_place;
};

} // namespace kestrune
