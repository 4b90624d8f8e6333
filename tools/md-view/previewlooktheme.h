#pragma once

#include "markdown/layout/theme.h"

// The document look of the preview pane, for trying the engine out in the viewer. The
// application's own copy lives with the preview pane.
class PreviewLookTheme
{
public:
    PreviewLookTheme() = delete;

    static Theme make();
};
