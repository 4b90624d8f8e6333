#pragma once

#include "markdown/layout/blockconfiguration.h"
#include "markdown/layout/blockview.h"

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
    using Body = std::function<BlockView(const Configuration &)>;

    BlockStyle() = default; // draws the label unchanged where there is one
    template <typename F>
    requires std::is_invocable_r_v<BlockView, F, const Configuration &>
    BlockStyle(F body) // NOLINT(google-explicit-constructor)
        : m_body(std::make_shared<const Body>(std::move(body)))
    {}

    BlockView makeBody(const Configuration &configuration) const
    {
        if (m_body)
            return (*m_body)(configuration);
        if constexpr (requires { configuration.label; })
            return configuration.label;
        else
            return BlockView();
    }

private:
    std::shared_ptr<const Body> m_body;
};

// A style without configuration (the thematic break).
template <> class BlockStyle<void>
{
public:
    using Body = std::function<BlockView()>;

    BlockStyle() = default;
    template <typename F>
    requires std::is_invocable_r_v<BlockView, F> BlockStyle(F body) // NOLINT(google-explicit-constructor)
        : m_body(std::make_shared<const Body>(std::move(body)))
    {}

    BlockView makeBody() const { return m_body ? (*m_body)() : BlockView::divider(); }

private:
    std::shared_ptr<const Body> m_body;
};

} // namespace kestrune
