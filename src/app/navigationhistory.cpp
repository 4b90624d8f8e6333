#include "app/navigationhistory.h"

#include <QtMath>

namespace kestrune {

namespace {

// Whether two steps of the same place stand at the same position in it; a step without one
// (the place was left before its text was there) stands wherever the other does.
bool isSamePosition(const std::optional<MarkdownPreviewView::ReadingPosition> &one,
                    const std::optional<MarkdownPreviewView::ReadingPosition> &other)
{
    if (!one || !other)
        return true;
    if (one->mode != other->mode)
        return false;
    if (one->mode == MarkdownViewMode::source)
        return one->sourceTopLine == other->sourceTopLine;
    if (!one->document || !other->document)
        return !one->document && !other->document;
    return one->document->blockIndex == other->document->blockIndex &&
           qAbs(one->document->offset - other->document->offset) < 1;
}

} // namespace

void NavigationHistory::leave(const Step &step)
{
    push(m_back, step);
    m_forward.clear();
}

std::optional<NavigationHistory::Step> NavigationHistory::back(const Step &current)
{
    if (m_back.isEmpty())
        return std::nullopt;
    push(m_forward, current);
    return m_back.takeLast();
}

std::optional<NavigationHistory::Step> NavigationHistory::forward(const Step &current)
{
    if (m_forward.isEmpty())
        return std::nullopt;
    push(m_back, current);
    return m_forward.takeLast();
}

void NavigationHistory::removeProject(const QUrl &root)
{
    const auto inProject = [&root](const Step &step) { return step.projectRoot == root; };
    m_back.removeIf(inProject);
    m_forward.removeIf(inProject);
    // Two steps that were apart may now be the same place in a row: one of them is enough.
    for (QList<Step> *steps : {&m_back, &m_forward}) {
        for (qsizetype index = steps->size() - 1; index > 0; --index) {
            if (steps->at(index).isSamePlace(steps->at(index - 1)))
                steps->removeAt(index);
        }
    }
}

void NavigationHistory::push(QList<Step> &steps, const Step &step)
{
    if (!steps.isEmpty() && steps.constLast().isSamePlace(step) &&
        isSamePosition(steps.constLast().position, step.position))
        steps.removeLast();
    steps.append(step);
    if (steps.size() > limit)
        steps.removeFirst();
}

} // namespace kestrune
