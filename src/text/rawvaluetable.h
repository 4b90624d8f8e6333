#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

namespace kestrune {

// The string forms ("raw values") of an enumeration's cases, in one table that both directions of
// the conversion read: a case is written once with its string, and a string that names no case
// converts to nothing.
template <typename Enum, std::size_t Count> class RawValueTable
{
public:
    using Entry = std::pair<Enum, const char *>;

    constexpr explicit RawValueTable(const std::array<Entry, Count> &entries) : m_entries(entries) {}

    QString rawValue(Enum value) const
    {
        for (const auto &[entryValue, raw] : m_entries) {
            if (entryValue == value)
                return QLatin1String(raw);
        }
        return {};
    }

    std::optional<Enum> fromRawValue(QStringView raw) const
    {
        for (const auto &[entryValue, entryRaw] : m_entries) {
            if (raw == QLatin1String(entryRaw))
                return entryValue;
        }
        return std::nullopt;
    }

private:
    std::array<Entry, Count> m_entries;
};

} // namespace kestrune
