#include "changestory.h"

namespace kestrune {

namespace {

QByteArray tasksText(int done)
{
    QByteArray text = "# Tasks\n\n";
    for (int task = 0; task < 3; ++task)
        text += (task < done ? "- [x] " : "- [ ] ") + QByteArray::number(task + 1) + ". step\n";
    return text;
}

} // namespace

ChangeStory ChangeStory::write(TestRepository &repository, const QByteArray &prefix)
{
    const QByteArray changes = prefix + "kestrune/changes/";
    const QByteArray folder = changes + change + '/';
    ChangeStory story;
    repository.write(prefix + "kestrune/specs/tagging/spec.md",
                     "# Tagging\n\n## Requirements\n\n### Requirement: Tags\n\nNotes MAY have tags.\n");
    repository.write(changes + "other-change/proposal.md", "# Other\n");
    repository.commit("Start the planning folder");

    repository.write(folder + "proposal.md", "# Add tagging\n\nWhy: notes need tags.\n");
    story.proposed = repository.commit("Propose tagging");

    repository.write(changes + "other-change/design.md", "# Design\n");
    story.other = repository.commit("Design the other change");

    repository.write(folder + "proposal.md", "# Add tagging\n\nWhy: notes need tags, and filters.\n");
    repository.write(folder + "design.md", "# Design\n");
    repository.write(folder + "specs/tagging/spec.md",
                     "## MODIFIED Requirements\n\n### Requirement: Tags\n\nNotes SHALL have tags.\n");
    repository.write(folder + "tasks.md", tasksText(0));
    story.edited = repository.commit("Design tagging");

    for (int done = 1; done <= 3; ++done) {
        repository.write(folder + "tasks.md", tasksText(done));
        story.ticked[done - 1] = repository.commit("Tick a tagging task");
        if (done == 2) {
            repository.write(changes + "other-change/tasks.md", "- [x] other\n");
            repository.commit("Tick the other change");
        }
    }

    repository.moveFolder(folder.chopped(1), changes + "archive/" + archiveFolder);
    repository.write(prefix + "kestrune/specs/tagging/spec.md",
                     "# Tagging\n\n## Requirements\n\n### Requirement: Tags\n\nNotes SHALL have tags.\n");
    story.archived = repository.commit("Archive tagging");
    return story;
}

} // namespace kestrune
