#include "preview/pendingplace.h"

#include <algorithm>
#include <utility>

namespace kestrune {

int PendingPlace::Heading::indexIn(const QList<HeadingOutline::Heading> &headings) const
{
    const auto found =
        std::find_if(headings.cbegin(), headings.cend(), [this](const HeadingOutline::Heading &heading) {
            return heading.identifier == identifier;
        });
    return found == headings.cend() ? -1 : int(found - headings.cbegin());
}

std::optional<PendingPlace::Place> PendingPlace::take()
{
    return std::exchange(m_place, std::nullopt);
}

} // namespace kestrune
