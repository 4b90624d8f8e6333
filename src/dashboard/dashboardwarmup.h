#pragma once

#include "project/projectsummary.h"

namespace kestrune {

class WarmUpQueue;

// What the dashboard's first paint would load for the first time in a process, queued for a
// warm-up to load ahead: the fonts of each card and heading, their glyphs, the symbols at the
// sizes, weights and colours the cards draw them, and the style's polish of the page's widget
// classes. Each piece draws one sample (a summary card, a section, a card of each kind) hidden
// in the application's appearance, through the same code the page paints with, so nothing is
// listed twice; the last one draws a small page of every section and a specification.
class DashboardWarmUp
{
public:
    DashboardWarmUp() = delete;

    static void addTo(WarmUpQueue &queue);
    // The sample page's project: a change of each status, with and without dates, and one
    // specification.
    static ProjectSummary sampleSummary();
};

} // namespace kestrune
