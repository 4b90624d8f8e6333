#pragma once

#include "ui/dynamiccolor.h"

#include <functional>
#include <optional>

namespace kestrune {

// The fill behind each table cell, by row and column; the default fills nothing.
//
//     environment.tableBackgroundStyle = [](int row, int) -> std::optional<DynamicColor> {
//         return row % 2 ? std::optional(stripe) : std::nullopt;
//     };
using TableBackgroundStyle = std::function<std::optional<DynamicColor>(int row, int column)>;

} // namespace kestrune
