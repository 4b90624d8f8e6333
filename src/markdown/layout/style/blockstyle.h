#pragma once

#include "markdown/layout/style/blockconfiguration.h"
#include "markdown/layout/style/blockview.h"

#include <functional>
#include <memory>

namespace kestrune {

// A block style: a function from a configuration to the view that draws the block. Cheap to
// copy; assign any callable:
//
//     theme.listItem = [](const BlockConfiguration &c) { return c.label.margin(0, 4); };
template <typename Configuration> class BlockStyle
{
public:
    using Function = std::function<BlockView(const Configuration &)>;

    BlockStyle() = default; // draws the label unchanged where there is one
    template <typename F>
    requires std::is_invocable_r_v<BlockView, F, const Configuration &>
    BlockStyle(F function) // NOLINT(google-explicit-constructor)
        : m_function(std::make_shared<const Function>(std::move(function)))
    {}

    // The view of the block this configuration describes.
    BlockView build(const Configuration &configuration) const
    {
        if (m_function)
            return (*m_function)(configuration);
        if constexpr (requires { configuration.label; })
            return configuration.label;
        else
            return BlockView();
    }

private:
    std::shared_ptr<const Function> m_function;
};

// A style without configuration (the thematic break).
template <> class BlockStyle<void>
{
public:
    using Function = std::function<BlockView()>;

    BlockStyle() = default;
    template <typename F>
    requires std::is_invocable_r_v<BlockView, F> BlockStyle(F function) // NOLINT(google-explicit-constructor)
        : m_function(std::make_shared<const Function>(std::move(function)))
    {}

    BlockView build() const { return m_function ? (*m_function)() : BlockView::divider(); }

private:
    std::shared_ptr<const Function> m_function;
};

} // namespace kestrune
