#pragma once

#include "project/projectstore.h"

#include <QMutex>
#include <QSet>
#include <QWaitCondition>

#include <atomic>
#include <memory>

namespace kestrune {

// Loads made-up projects without touching the disk. Every project's outline is
//
//     changes/             (folder)
//       add-login/         (folder, an active change)
//         proposal.md
//         specs/           (folder)
//           spec.md        (an ADDED delta specification)
//     project.md
//
// with fresh node ids at every load. A held project's loads wait until it is released.
class FakeProjects : public std::enable_shared_from_this<FakeProjects>
{
public:
    static std::shared_ptr<FakeProjects> create() { return std::make_shared<FakeProjects>(); }

    ProjectStore::Loader loader();

    void hold(const QUrl &root);
    void release(const QUrl &root);
    void releaseAll();
    int loadCount() const { return m_loads.load(); }

    static ProjectStore::LoadResult makeProject(const QUrl &root);

private:
    std::optional<ProjectStore::LoadResult> load(const QUrl &root);

    QMutex m_mutex;
    QWaitCondition m_released;
    QSet<QUrl> m_held;
    std::atomic<int> m_loads = 0;
};

} // namespace kestrune
