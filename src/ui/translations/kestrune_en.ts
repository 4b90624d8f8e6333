<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="app.title">
        <source>Kestrune Viewer</source>
        <translation>Kestrune Viewer</translation>
    </message>
    <message id="app.cli.description">
        <source>Reads the planning folders of spec-driven software projects.</source>
        <translation>Reads the planning folders of spec-driven software projects.</translation>
    </message>
    <message id="app.cli.paths">
        <source>Project folders, or folders and Markdown files inside a project, to open.</source>
        <translation>Project folders, or folders and Markdown files inside a project, to open.</translation>
    </message>
    <message id="app.cli.new_window">
        <source>Start an independent instance instead of handing the paths to the one already running.</source>
        <translation>Start an independent instance instead of handing the paths to the one already running.</translation>
    </message>
    <message id="app.cli.exit_status">
        <source>Exit status: 0 when the program ends normally or has handed its paths to the instance already running, 1 on a usage error (an unknown option). A path that cannot be opened is named on standard error and in the window, and is no usage error.</source>
        <translation>Exit status: 0 when the program ends normally or has handed its paths to the instance already running, 1 on a usage error (an unknown option). A path that cannot be opened is named on standard error and in the window, and is no usage error.</translation>
    </message>
    <message id="app.action.reopen_at_start">
        <source>Reopen Projects at Start</source>
        <translation>Reopen Projects at Start</translation>
    </message>
    <message id="app.recent.title">
        <source>Open Recent</source>
        <translation>Open Recent</translation>
    </message>
    <message id="app.recent.missing">
        <source>%1 (missing)</source>
        <translation>%1 (missing)</translation>
    </message>
    <message id="app.recent.empty">
        <source>No Recent Projects</source>
        <translation>No Recent Projects</translation>
    </message>
    <message id="project_tab.missing">
        <source>The folder %1 is no longer there. What was last read from it stays shown, and it is read again when it comes back.</source>
        <translation>The folder %1 is no longer there. What was last read from it stays shown, and it is read again when it comes back.</translation>
    </message>
    <message id="project_tab.missing_short">
        <source>Folder missing</source>
        <translation>Folder missing</translation>
    </message>
    <message id="project_tab.updating">
        <source>Updating</source>
        <translation>Updating</translation>
    </message>
    <message id="app.action.watch_projects">
        <source>Follow Changes on Disk</source>
        <translation>Follow Changes on Disk</translation>
    </message>
    <message id="app.action.remote_images">
        <source>Load Remote Images</source>
        <translation>Load Remote Images</translation>
    </message>
    <message id="project.watch_limit">
        <source>Some files of “%1” cannot be followed: the system’s limit on watched files (fs.inotify.max_user_watches) is reached. The project is read again whenever this window comes to the front.</source>
        <translation>Some files of “%1” cannot be followed: the system’s limit on watched files (fs.inotify.max_user_watches) is reached. The project is read again whenever this window comes to the front.</translation>
    </message>
    <message id="app.action.notify_changes">
        <source>Notify About Changes</source>
        <translation>Notify About Changes</translation>
    </message>
    <message id="notification.action.show">
        <source>Show</source>
        <translation>Show</translation>
    </message>
    <message id="notification.change.finished">
        <source>All tasks of “%1” are done</source>
        <translation>All tasks of “%1” are done</translation>
    </message>
    <message id="notification.change.added">
        <source>New change “%1”</source>
        <translation>New change “%1”</translation>
    </message>
    <message id="notification.change.archived">
        <source>“%1” was archived</source>
        <translation>“%1” was archived</translation>
    </message>
    <message id="notification.change.more" numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message id="app.recent.clear">
        <source>Clear Menu</source>
        <translation>Clear Menu</translation>
    </message>
    <message id="theme.system">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="theme.light">
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message id="theme.dark">
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message id="theme.menu">
        <source>Theme</source>
        <translation>Theme</translation>
    </message>
    <message id="theme.help">
        <source>Follow the system appearance or force light or dark</source>
        <translation>Follow the system appearance or force light or dark</translation>
    </message>
    <message id="toolbar.refresh">
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message id="toolbar.refresh.help">
        <source>Scan the project again</source>
        <translation>Scan the project again</translation>
    </message>
    <message id="toolbar.import_project">
        <source>Import Project</source>
        <translation>Import Project</translation>
    </message>
    <message id="import.panel.message">
        <source>Choose a project folder that contains a kestrune folder</source>
        <translation>Choose a project folder that contains a kestrune folder</translation>
    </message>
    <message id="import.failed.title">
        <source>Cannot Import Project</source>
        <translation>Cannot Import Project</translation>
    </message>
    <message id="import.failed.does_not_exist">
        <source>does not exist</source>
        <translation>does not exist</translation>
    </message>
    <message id="import.failed.not_a_folder">
        <source>is not a folder</source>
        <translation>is not a folder</translation>
    </message>
    <message id="import.failed.no_kestrune_folder">
        <source>has no kestrune folder</source>
        <translation>has no kestrune folder</translation>
    </message>
    <message id="import.failed.not_local">
        <source>is not on this computer: only local folders can be opened</source>
        <translation>is not on this computer: only local folders can be opened</translation>
    </message>
    <message id="common.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="common.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="common.remove_from_list">
        <source>Remove from List</source>
        <translation>Remove from List</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="sidebar.dashboard">
        <source>Dashboard</source>
        <translation>Dashboard</translation>
    </message>
    <message id="dashboard.select_project_or_file">
        <source>Import a project folder to get started</source>
        <translation>Import a project folder to get started</translation>
    </message>
    <message id="dashboard.loading">
        <source>Loading project…</source>
        <translation>Loading project…</translation>
    </message>
    <message id="project_tree.empty">
        <source>No files</source>
        <translation>No files</translation>
    </message>
    <message id="dashboard.badge.draft">
        <source>Draft</source>
        <translation>Draft</translation>
    </message>
    <message id="dashboard.badge.active">
        <source>Active</source>
        <translation>Active</translation>
    </message>
    <message id="dashboard.badge.completed">
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message id="markdown.loading">
        <source>Loading…</source>
        <translation>Loading…</translation>
    </message>
    <message id="markdown.empty">
        <source>This file is empty.</source>
        <translation>This file is empty.</translation>
    </message>
    <message id="markdown.read_error">
        <source>This file could not be read as UTF-8 text.</source>
        <translation>This file could not be read as UTF-8 text.</translation>
    </message>
    <message id="markdown.read_error.not_found">
        <source>This file no longer exists.</source>
        <translation>This file no longer exists.</translation>
    </message>
    <message id="markdown.read_error.permission_denied">
        <source>You do not have permission to read this file.</source>
        <translation>You do not have permission to read this file.</translation>
    </message>
    <message id="markdown.read_error.not_a_file">
        <source>This is not a regular file, so it is not read.</source>
        <translation>This is not a regular file, so it is not read.</translation>
    </message>
    <message id="markdown.read_error.too_large">
        <source>This file is larger than 64 MB, too large to show.</source>
        <translation>This file is larger than 64 MB, too large to show.</translation>
    </message>
    <message id="markdown.read_error.other">
        <source>This file could not be read.</source>
        <translation>This file could not be read.</translation>
    </message>
    <message id="markdown.read_error.out_of_memory">
        <source>There is not enough memory to show this file.</source>
        <translation>There is not enough memory to show this file.</translation>
    </message>
    <message id="markdown.file_removed">
        <source>This file was removed from the disk. What it last held stays shown until you choose another file.</source>
        <translation>This file was removed from the disk. What it last held stays shown until you choose another file.</translation>
    </message>
    <message id="review.action">
        <source>Review Change</source>
        <translation>Review Change</translation>
    </message>
    <message id="review.toggle_description">
        <source>Opens or closes the requirements of this capability</source>
        <translation>Opens or closes the requirements of this capability</translation>
    </message>
    <message id="review.loading">
        <source>Comparing with the specifications…</source>
        <translation>Comparing with the specifications…</translation>
    </message>
    <message id="review.flag.exists">
        <source>The specification already has a requirement of this name.</source>
        <translation>The specification already has a requirement of this name.</translation>
    </message>
    <message id="review.flag.missing">
        <source>The specification has no requirement of this name.</source>
        <translation>The specification has no requirement of this name.</translation>
    </message>
    <message id="review.flag.missing_suggestion">
        <source>The specification has no requirement of this name. Did you mean “%1”?</source>
        <translation>The specification has no requirement of this name. Did you mean “%1”?</translation>
    </message>
    <message id="review.flag.duplicate_in_change">
        <source>The change names this requirement more than once.</source>
        <translation>The change names this requirement more than once.</translation>
    </message>
    <message id="review.flag.duplicate_in_specification">
        <source>The specification names this requirement more than once; the first is compared.</source>
        <translation>The specification names this requirement more than once; the first is compared.</translation>
    </message>
    <message id="review.flag.outside_sections">
        <source>“%1” stands under no ADDED, MODIFIED or REMOVED heading.</source>
        <translation>“%1” stands under no ADDED, MODIFIED or REMOVED heading.</translation>
    </message>
    <message id="review.state.already_in_specification">
        <source>Already in the specification.</source>
        <translation>Already in the specification.</translation>
    </message>
    <message id="review.error.delta_unreadable">
        <source>The delta specification cannot be read.</source>
        <translation>The delta specification cannot be read.</translation>
    </message>
    <message id="review.error.specification_unreadable">
        <source>The current specification cannot be read.</source>
        <translation>The current specification cannot be read.</translation>
    </message>
    <message id="review.show_result">
        <source>Show Result</source>
        <translation>Show Result</translation>
    </message>
    <message id="review.new_capability">
        <source>new capability</source>
        <translation>new capability</translation>
    </message>
    <message id="review.counts.added" numerus="yes">
        <source>+%n added</source>
        <translation>
            <numerusform>+%n added</numerusform>
            <numerusform>+%n added</numerusform>
        </translation>
    </message>
    <message id="review.counts.modified" numerus="yes">
        <source>~%n modified</source>
        <translation>
            <numerusform>~%n modified</numerusform>
            <numerusform>~%n modified</numerusform>
        </translation>
    </message>
    <message id="review.counts.removed" numerus="yes">
        <source>−%n removed requirements</source>
        <translation>
            <numerusform>−%n removed requirement</numerusform>
            <numerusform>−%n removed requirements</numerusform>
        </translation>
    </message>
    <message id="review.archived_note">
        <source>compared with the specification as it is now</source>
        <translation>compared with the specification as it is now</translation>
    </message>
    <message id="review.no_delta_specifications">
        <source>This change has no delta specifications.</source>
        <translation>This change has no delta specifications.</translation>
    </message>
    <message id="review.back">
        <source>Back to Review</source>
        <translation>Back to Review</translation>
    </message>
    <message id="review.result_title">
        <source>Specification “%1”</source>
        <translation>Specification “%1”</translation>
    </message>
    <message id="review.result_after">
        <source>after %1</source>
        <translation>after %1</translation>
    </message>
    <message id="review.baseline.compare_with">
        <source>Compare with</source>
        <translation>Compare with</translation>
    </message>
    <message id="review.baseline.current">
        <source>Current specifications</source>
        <translation>Current specifications</translation>
    </message>
    <message id="review.baseline.before_change">
        <source>%1 — before this change was proposed</source>
        <translation>%1 — before this change was proposed</translation>
    </message>
    <message id="review.baseline.note">
        <source>Compared with the specifications as they were at %1, not as they are now.</source>
        <translation>Compared with the specifications as they were at %1, not as they are now.</translation>
    </message>
    <message id="review.baseline.note_before_change">
        <source>Compared with the specifications as they were before this change was proposed (%1), not as they are now.</source>
        <translation>Compared with the specifications as they were before this change was proposed (%1), not as they are now.</translation>
    </message>
    <message id="review.baseline.comparing">
        <source>Comparing with the specifications at %1…</source>
        <translation>Comparing with the specifications at %1…</translation>
    </message>
    <message id="review.history.action">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="review.history.title">
        <source>History of “%1”</source>
        <translation>History of “%1”</translation>
    </message>
    <message id="review.history.filter">
        <source>Filter the history</source>
        <translation>Filter the history</translation>
    </message>
    <message id="review.history.reading">
        <source>Reading the history…</source>
        <translation>Reading the history…</translation>
    </message>
    <message id="review.history.none">
        <source>No commit changed this requirement.</source>
        <translation>No commit changed this requirement.</translation>
    </message>
    <message id="review.history.unavailable">
        <source>The project’s history cannot be read.</source>
        <translation>The project’s history cannot be read.</translation>
    </message>
    <message id="review.history.partial">
        <source>Part of the history could not be read; what was read is listed.</source>
        <translation>Part of the history could not be read; what was read is listed.</translation>
    </message>
    <message id="review.history.added">
        <source>added</source>
        <translation>added</translation>
    </message>
    <message id="review.history.modified">
        <source>changed</source>
        <translation>changed</translation>
    </message>
    <message id="review.history.removed">
        <source>removed</source>
        <translation>removed</translation>
    </message>
    <message id="review.history.change">
        <source>archived change %1</source>
        <translation>archived change %1</translation>
    </message>
    <message id="review.history.open_change">
        <source>Opens the review of %1</source>
        <translation>Opens the review of %1</translation>
    </message>
    <message id="review.removed_here">
        <source>The requirement “%1” is removed here.</source>
        <translation>The requirement “%1” is removed here.</translation>
    </message>
    <message id="markdown.read_error.outside_project">
        <source>This file links outside the project, so it is not shown.</source>
        <translation>This file links outside the project, so it is not shown.</translation>
    </message>
    <message id="markdown.large.notice">
        <source>This file is large (%n MB), so it is shown as source. Rendering it may take a while.</source>
        <translation>This file is large (%n MB), so it is shown as source. Rendering it may take a while.</translation>
    </message>
    <message id="markdown.large.render">
        <source>Render Anyway</source>
        <translation>Render Anyway</translation>
    </message>
    <message id="markdown.alert.note">
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message id="markdown.alert.tip">
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message id="markdown.alert.important">
        <source>Important</source>
        <translation>Important</translation>
    </message>
    <message id="markdown.alert.warning">
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message id="markdown.alert.caution">
        <source>Caution</source>
        <translation>Caution</translation>
    </message>
    <message id="markdown.image.remote_off">
        <source>Remote image from %1 not loaded</source>
        <translation>Remote image from %1 not loaded</translation>
    </message>
    <message id="markdown.link.confirm_title">
        <source>Open Link?</source>
        <translation>Open Link?</translation>
    </message>
    <message id="markdown.link.confirm">
        <source>This link is not a web or mail address. Open it with the program your desktop chooses for it?</source>
        <translation>This link is not a web or mail address. Open it with the program your desktop chooses for it?</translation>
    </message>
    <message id="markdown.preview">
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message id="markdown.source">
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message id="dashboard.summary.title">
        <source>Overview</source>
        <translation>Overview</translation>
    </message>
    <message id="dashboard.summary.specs">
        <source>Specifications</source>
        <translation>Specifications</translation>
    </message>
    <message id="dashboard.summary.draft">
        <source>Drafts</source>
        <translation>Drafts</translation>
    </message>
    <message id="dashboard.summary.active">
        <source>Active</source>
        <translation>Active</translation>
    </message>
    <message id="dashboard.summary.archive">
        <source>Archived</source>
        <translation>Archived</translation>
    </message>
    <message id="dashboard.summary.reqs_format" numerus="yes">
        <source>%n requirements</source>
        <translation>
            <numerusform>%n requirement</numerusform>
            <numerusform>%n requirements</numerusform>
        </translation>
    </message>
    <message id="dashboard.section.draft_changes">
        <source>Draft Changes</source>
        <translation>Draft Changes</translation>
    </message>
    <message id="dashboard.section.active_changes">
        <source>Active Changes</source>
        <translation>Active Changes</translation>
    </message>
    <message id="dashboard.section.completed">
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message id="dashboard.section.archive">
        <source>Archive</source>
        <translation>Archive</translation>
    </message>
    <message id="dashboard.empty.draft_changes">
        <source>No draft changes</source>
        <translation>No draft changes</translation>
    </message>
    <message id="dashboard.empty.active_changes">
        <source>No active changes</source>
        <translation>No active changes</translation>
    </message>
    <message id="dashboard.empty.completed">
        <source>No completed changes</source>
        <translation>No completed changes</translation>
    </message>
    <message id="dashboard.empty.archived">
        <source>No archived changes</source>
        <translation>No archived changes</translation>
    </message>
    <message id="dashboard.empty.specifications">
        <source>No specifications yet</source>
        <translation>No specifications yet</translation>
    </message>
    <message id="dashboard.specifications.title_with_count">
        <source>Specifications (%n)</source>
        <translation>Specifications (%n)</translation>
    </message>
    <message id="dashboard.view_catalog">
        <source>View Catalog</source>
        <translation>View Catalog</translation>
    </message>
    <message id="dashboard.open_in_finder">
        <source>Show in File Manager</source>
        <translation>Show in File Manager</translation>
    </message>
    <message id="dashboard.spec_catalog.title">
        <source>Specification Catalog</source>
        <translation>Specification Catalog</translation>
    </message>
    <message id="dashboard.spec_catalog.empty">
        <source>No specifications</source>
        <translation>No specifications</translation>
    </message>
    <message id="dashboard.task_progress">
        <source>Tasks</source>
        <translation>Tasks</translation>
    </message>
    <message id="dashboard.workflow.proposal">
        <source>Proposal</source>
        <translation>Proposal</translation>
    </message>
    <message id="dashboard.workflow.design">
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message id="dashboard.workflow.specs">
        <source>Specs</source>
        <translation>Specs</translation>
    </message>
    <message id="dashboard.workflow.tasks">
        <source>Tasks</source>
        <translation>Tasks</translation>
    </message>
    <message id="dashboard.archived_on_format">
        <source>Archived on %1</source>
        <translation>Archived on %1</translation>
    </message>
    <message id="%lld.">
        <source>%n.</source>
        <translation>%n.</translation>
    </message>
    <message id="-">
        <source>-</source>
        <translation>-</translation>
    </message>
    <message id="action.import_project">
        <source>Import Project…</source>
        <translation>Import Project…</translation>
    </message>
    <message id="action.close_project">
        <source>Close Project</source>
        <translation>Close Project</translation>
    </message>
    <message id="action.next_project">
        <source>Next Project</source>
        <translation>Next Project</translation>
    </message>
    <message id="action.previous_project">
        <source>Previous Project</source>
        <translation>Previous Project</translation>
    </message>
    <message id="action.project_format">
        <source>Project %n</source>
        <translation>Project %n</translation>
    </message>
    <message id="action.show_dashboard">
        <source>Show Dashboard</source>
        <translation>Show Dashboard</translation>
    </message>
    <message id="action.focus_outline">
        <source>Focus Outline</source>
        <translation>Focus Outline</translation>
    </message>
    <message id="action.focus_document">
        <source>Focus Document</source>
        <translation>Focus Document</translation>
    </message>
    <message id="action.next_pane">
        <source>Next Pane</source>
        <translation>Next Pane</translation>
    </message>
    <message id="action.previous_pane">
        <source>Previous Pane</source>
        <translation>Previous Pane</translation>
    </message>
    <message id="action.toggle_view_mode">
        <source>Toggle Preview/Source</source>
        <translation>Toggle Preview/Source</translation>
    </message>
    <message id="action.main_menu">
        <source>Main Menu</source>
        <translation>Main Menu</translation>
    </message>
    <message id="action.keyboard_shortcuts">
        <source>Keyboard Shortcuts</source>
        <translation>Keyboard Shortcuts</translation>
    </message>
    <message id="action.about">
        <source>About Kestrune Viewer</source>
        <translation>About Kestrune Viewer</translation>
    </message>
    <message id="action.quit">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="shortcuts.group.projects">
        <source>Projects</source>
        <translation>Projects</translation>
    </message>
    <message id="shortcuts.group.navigation">
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message id="shortcuts.group.view">
        <source>View</source>
        <translation>View</translation>
    </message>
    <message id="shortcuts.group.application">
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message id="shortcuts.column.command">
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message id="shortcuts.column.keys">
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message id="shortcuts.hint.project_slots">
        <source>Go to project 1 to 9</source>
        <translation>Go to project 1 to 9</translation>
    </message>
    <message id="shortcuts.hint.tab">
        <source>Move to the next or previous control</source>
        <translation>Move to the next or previous control</translation>
    </message>
    <message id="shortcuts.hint.outline_move">
        <source>Move through the outline</source>
        <translation>Move through the outline</translation>
    </message>
    <message id="shortcuts.hint.outline_expand">
        <source>Expand a folder of the outline</source>
        <translation>Expand a folder of the outline</translation>
    </message>
    <message id="shortcuts.hint.outline_collapse">
        <source>Collapse a folder of the outline</source>
        <translation>Collapse a folder of the outline</translation>
    </message>
    <message id="shortcuts.hint.outline_open">
        <source>Open the file chosen in the outline</source>
        <translation>Open the file chosen in the outline</translation>
    </message>
    <message id="shortcuts.hint.activate">
        <source>Activate the focused card or button</source>
        <translation>Activate the focused card or button</translation>
    </message>
    <message id="shortcuts.hint.leave_preview">
        <source>Leave the preview for the dashboard</source>
        <translation>Leave the preview for the dashboard</translation>
    </message>
    <message id="about.version_format">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="about.licence">
        <source>Released under the MIT License.</source>
        <translation>Released under the MIT License.</translation>
    </message>
    <message id="drop.hint">
        <source>Drop folders to import</source>
        <translation>Drop folders to import</translation>
    </message>
    <message id="project_tree.accessible_name">
        <source>Project Outline</source>
        <translation>Project Outline</translation>
    </message>
    <message id="dashboard.open_in_finder_named_format">
        <source>Show %1 in File Manager</source>
        <translation>Show %1 in File Manager</translation>
    </message>
    <message id="find.placeholder">
        <source>Find in Document</source>
        <translation>Find in Document</translation>
    </message>
    <message id="find.match_case">
        <source>Match Case</source>
        <translation>Match Case</translation>
    </message>
    <message id="find.whole_word">
        <source>Whole Words</source>
        <translation>Whole Words</translation>
    </message>
    <message id="find.regular_expression">
        <source>Regular Expression</source>
        <translation>Regular Expression</translation>
    </message>
    <message id="find.invalid_expression">
        <source>Invalid expression: %1</source>
        <translation>Invalid expression: %1</translation>
    </message>
    <message id="find.expression_error.at_position">
        <source>Invalid expression at position %n</source>
        <translation>Invalid expression at position %n</translation>
    </message>
    <message id="find.expression_error.missing_parenthesis">
        <source>“)” missing at position %n</source>
        <translation>“)” missing at position %n</translation>
    </message>
    <message id="find.expression_error.missing_bracket">
        <source>“]” missing at position %n</source>
        <translation>“]” missing at position %n</translation>
    </message>
    <message id="find.expression_error.unmatched_parenthesis">
        <source>“)” without “(” at position %n</source>
        <translation>“)” without “(” at position %n</translation>
    </message>
    <message id="find.expression_error.nothing_to_repeat">
        <source>nothing to repeat at position %n</source>
        <translation>nothing to repeat at position %n</translation>
    </message>
    <message id="find.expression_error.trailing_backslash">
        <source>“\” at the end</source>
        <translation>“\” at the end</translation>
    </message>
    <message id="find.expression_error.range_out_of_order">
        <source>range out of order at position %n</source>
        <translation>range out of order at position %n</translation>
    </message>
    <message id="find.expression_error.unknown_escape">
        <source>unknown escape sequence at position %n</source>
        <translation>unknown escape sequence at position %n</translation>
    </message>
    <message id="find.previous">
        <source>Previous Match</source>
        <translation>Previous Match</translation>
    </message>
    <message id="find.next">
        <source>Next Match</source>
        <translation>Next Match</translation>
    </message>
    <message id="find.no_matches">
        <source>No matches</source>
        <translation>No matches</translation>
    </message>
    <message id="find.status">
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message id="action.find">
        <source>Find…</source>
        <translation>Find…</translation>
    </message>
    <message id="action.find_next">
        <source>Find Next</source>
        <translation>Find Next</translation>
    </message>
    <message id="action.find_previous">
        <source>Find Previous</source>
        <translation>Find Previous</translation>
    </message>
    <message id="markdown.headings">
        <source>Headings</source>
        <translation>Headings</translation>
    </message>
    <message id="markdown.headings.help">
        <source>Go to a heading of this document</source>
        <translation>Go to a heading of this document</translation>
    </message>
    <message id="markdown.headings.filter">
        <source>Filter headings</source>
        <translation>Filter headings</translation>
    </message>
    <message id="markdown.headings.level" numerus="yes">
        <source>Level %n</source>
        <translation>
            <numerusform>Level %n</numerusform>
            <numerusform>Level %n</numerusform>
        </translation>
    </message>
    <message id="action.back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="action.forward">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="action.show_headings">
        <source>Go to Heading…</source>
        <translation>Go to Heading…</translation>
    </message>
    <message id="action.zoom_in">
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message id="action.zoom_out">
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message id="action.actual_size">
        <source>Actual Size</source>
        <translation>Actual Size</translation>
    </message>
    <message id="action.search_project">
        <source>Search in Project…</source>
        <translation>Search in Project…</translation>
    </message>
    <message id="search.placeholder">
        <source>Search Project</source>
        <translation>Search Project</translation>
    </message>
    <message id="search.all_projects">
        <source>All Projects</source>
        <translation>All Projects</translation>
    </message>
    <message id="search.hide_archived">
        <source>Hide Archived</source>
        <translation>Hide Archived</translation>
    </message>
    <message id="search.results_accessible_name">
        <source>Search Results</source>
        <translation>Search Results</translation>
    </message>
    <message id="search.searching">
        <source>Searching…</source>
        <translation>Searching…</translation>
    </message>
    <message id="search.status">
        <source>%1 matches in %2 files</source>
        <translation>%1 matches in %2 files</translation>
    </message>
    <message id="search.status_one_file">
        <source>%1 matches in 1 file</source>
        <translation>%1 matches in 1 file</translation>
    </message>
    <message id="search.status_one">
        <source>1 match in 1 file</source>
        <translation>1 match in 1 file</translation>
    </message>
    <message id="search.reading_files">
        <source>Reading files…</source>
        <translation>Reading files…</translation>
    </message>
    <message id="action.quick_open">
        <source>Quick Open…</source>
        <translation>Quick Open…</translation>
    </message>
    <message id="quickopen.title">
        <source>Quick Open</source>
        <translation>Quick Open</translation>
    </message>
    <message id="quickopen.placeholder">
        <source>Go to a file, change or specification; # for requirements</source>
        <translation>Go to a file, change or specification; # for requirements</translation>
    </message>
    <message id="quickopen.no_matches">
        <source>No matching files</source>
        <translation>No matching files</translation>
    </message>
    <message id="quickopen.no_requirements">
        <source>No matching requirements</source>
        <translation>No matching requirements</translation>
    </message>
    <message id="quickopen.kind.change">
        <source>Change</source>
        <translation>Change</translation>
    </message>
    <message id="quickopen.kind.archived_change">
        <source>Archived change</source>
        <translation>Archived change</translation>
    </message>
    <message id="quickopen.kind.specification">
        <source>Specification</source>
        <translation>Specification</translation>
    </message>
    <message id="quickopen.requirement.specification">
        <source>Specification %1</source>
        <translation>Specification %1</translation>
    </message>
    <message id="quickopen.requirement.change">
        <source>Change %1</source>
        <translation>Change %1</translation>
    </message>
    <message id="quickopen.requirement.archived_change">
        <source>Archived change %1</source>
        <translation>Archived change %1</translation>
    </message>
    <message id="markdown.copy_code">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="markdown.copy_code.copied">
        <source>Copied</source>
        <translation>Copied</translation>
    </message>
    <message id="markdown.copy_code.accessible_name">
        <source>Copy Code</source>
        <translation>Copy Code</translation>
    </message>
    <message id="markdown.mermaid_caption">
        <source>Mermaid diagram source</source>
        <translation>Mermaid diagram source</translation>
    </message>
    <message id="markdown.copy_as_markdown">
        <source>Copy as Markdown</source>
        <translation>Copy as Markdown</translation>
    </message>
    <message id="action.print">
        <source>Print…</source>
        <translation>Print…</translation>
    </message>
    <message id="action.export_pdf">
        <source>Export as PDF…</source>
        <translation>Export as PDF…</translation>
    </message>
    <message id="print.page_footer">
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message id="print.export_title">
        <source>Export as PDF</source>
        <translation>Export as PDF</translation>
    </message>
    <message id="print.pdf_filter">
        <source>PDF documents (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message id="print.preparing">
        <source>Preparing pages…</source>
        <translation>Preparing pages…</translation>
    </message>
    <message id="print.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="print.export_failed">
        <source>“%1” could not be exported as PDF: %2</source>
        <translation>“%1” could not be exported as PDF: %2</translation>
    </message>
    <message id="print.print_failed">
        <source>“%1” could not be printed: %2</source>
        <translation>“%1” could not be printed: %2</translation>
    </message>
    <message id="print.printer_refused">
        <source>The printer did not accept the document.</source>
        <translation>The printer did not accept the document.</translation>
    </message>
    <message id="markdown.accessible.heading_level">
        <source>Heading level %n</source>
        <translation>Heading level %n</translation>
    </message>
    <message id="reading.mark.changed">
        <source>changed since last read</source>
        <translation>changed since last read</translation>
    </message>
    <message id="reading.mark.added">
        <source>new</source>
        <translation>new</translation>
    </message>
    <message id="reading.mark.folder">
        <source>holds changes since last read</source>
        <translation>holds changes since last read</translation>
    </message>
    <message id="reading.action.show_marks">
        <source>Show Unread Marks</source>
        <translation>Show Unread Marks</translation>
    </message>
    <message id="reading.action.forget">
        <source>Forget Reading History…</source>
        <translation>Forget Reading History…</translation>
    </message>
    <message id="reading.action.mark_all_read">
        <source>Mark All as Read</source>
        <translation>Mark All as Read</translation>
    </message>
    <message id="reading.action.mark_read">
        <source>Mark as Read</source>
        <translation>Mark as Read</translation>
    </message>
    <message id="reading.action.next_change">
        <source>Next Change</source>
        <translation>Next Change</translation>
    </message>
    <message id="reading.action.previous_change">
        <source>Previous Change</source>
        <translation>Previous Change</translation>
    </message>
    <message id="reading.preview.changed">
        <source>Changed since you last read it</source>
        <translation>Changed since you last read it</translation>
    </message>
    <message id="reading.forget.title">
        <source>Forget Reading History</source>
        <translation>Forget Reading History</translation>
    </message>
    <message id="reading.forget.question">
        <source>Forget what you have read in %1? Every file will count as seen as it is now.</source>
        <translation>Forget what you have read in %1? Every file will count as seen as it is now.</translation>
    </message>
    <message id="reading.forget.confirm">
        <source>Forget</source>
        <translation>Forget</translation>
    </message>
    <message id="reading.notice.set_aside">
        <source>The reading history of %1 could not be read and was set aside; it starts again from now.</source>
        <translation>The reading history of %1 could not be read and was set aside; it starts again from now.</translation>
    </message>
    <message id="reading.card.tasks_done">
        <source>%1 tasks done since you last looked</source>
        <translation>%1 tasks done since you last looked</translation>
    </message>
    <message id="reading.card.one_task_done">
        <source>1 task done since you last looked</source>
        <translation>1 task done since you last looked</translation>
    </message>
    <message id="reading.card.new">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="reading.card.requirements_changed">
        <source>Requirements changed since you last looked</source>
        <translation>Requirements changed since you last looked</translation>
    </message>
    <message id="catchup.action">
        <source>What’s New</source>
        <translation>What’s New</translation>
    </message>
    <message id="catchup.title.project">
        <source>What’s New in %1</source>
        <translation>What’s New in %1</translation>
    </message>
    <message id="catchup.placeholder">
        <source>Filter the files</source>
        <translation>Filter the files</translation>
    </message>
    <message id="catchup.empty">
        <source>Nothing new since you last looked</source>
        <translation>Nothing new since you last looked</translation>
    </message>
    <message id="catchup.no_matches">
        <source>No file matches</source>
        <translation>No file matches</translation>
    </message>
    <message id="catchup.group.other">
        <source>Other files</source>
        <translation>Other files</translation>
    </message>
    <message id="catchup.change.changed">
        <source>changed</source>
        <translation>changed</translation>
    </message>
    <message id="catchup.change.removed">
        <source>removed</source>
        <translation>removed</translation>
    </message>
    <message id="catchup.accessible.not_openable">
        <source>cannot be opened</source>
        <translation>cannot be opened</translation>
    </message>
    <message id="catchup.summary" numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message id="catchup.accessible.lines_added" numerus="yes">
        <source>%n lines added</source>
        <translation>
            <numerusform>%n line added</numerusform>
            <numerusform>%n lines added</numerusform>
        </translation>
    </message>
    <message id="catchup.accessible.lines_removed" numerus="yes">
        <source>%n lines removed</source>
        <translation>
            <numerusform>%n line removed</numerusform>
            <numerusform>%n lines removed</numerusform>
        </translation>
    </message>
    <message id="action.show_history">
        <source>Show Change History</source>
        <translation>Show Change History</translation>
    </message>
    <message id="history.action">
        <source>Show History</source>
        <translation>Show History</translation>
    </message>
    <message id="history.button">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="history.button_description">
        <source>Shows the commits that touched %1</source>
        <translation>Shows the commits that touched %1</translation>
    </message>
    <message id="history.title">
        <source>History of %1</source>
        <translation>History of %1</translation>
    </message>
    <message id="history.loading">
        <source>Reading the history…</source>
        <translation>Reading the history…</translation>
    </message>
    <message id="history.reading">
        <source>Reading older commits…</source>
        <translation>Reading older commits…</translation>
    </message>
    <message id="history.empty">
        <source>No commit touched this change yet.</source>
        <translation>No commit touched this change yet.</translation>
    </message>
    <message id="history.partial">
        <source>Part of the history could not be read, so it ends early: %1</source>
        <translation>Part of the history could not be read, so it ends early: %1</translation>
    </message>
    <message id="history.unavailable.no_repository">
        <source>This project is not in a git work tree, so it has no history.</source>
        <translation>This project is not in a git work tree, so it has no history.</translation>
    </message>
    <message id="history.unavailable.bare_repository">
        <source>This project lies in a git repository without a work tree, so it has no history.</source>
        <translation>This project lies in a git repository without a work tree, so it has no history.</translation>
    </message>
    <message id="history.unavailable.no_commits">
        <source>The project's git repository has no commit yet.</source>
        <translation>The project's git repository has no commit yet.</translation>
    </message>
    <message id="history.unavailable.unreadable">
        <source>The project's git repository could not be read: %1</source>
        <translation>The project's git repository could not be read: %1</translation>
    </message>
    <message id="history.event.created">
        <source>Created</source>
        <translation>Created</translation>
    </message>
    <message id="history.event.proposal_added">
        <source>Proposal added</source>
        <translation>Proposal added</translation>
    </message>
    <message id="history.event.proposal_edited">
        <source>Proposal edited</source>
        <translation>Proposal edited</translation>
    </message>
    <message id="history.event.design_added">
        <source>Design added</source>
        <translation>Design added</translation>
    </message>
    <message id="history.event.design_edited">
        <source>Design edited</source>
        <translation>Design edited</translation>
    </message>
    <message id="history.event.delta_added">
        <source>Delta spec %1 added</source>
        <translation>Delta spec %1 added</translation>
    </message>
    <message id="history.event.delta_edited">
        <source>Delta spec %1 edited</source>
        <translation>Delta spec %1 edited</translation>
    </message>
    <message id="history.event.tasks_added">
        <source>Task list added</source>
        <translation>Task list added</translation>
    </message>
    <message id="history.event.tasks_edited">
        <source>Task list edited</source>
        <translation>Task list edited</translation>
    </message>
    <message id="history.event.tasks_ticked">
        <source>Tasks ticked %1 → %2 of %3</source>
        <translation>Tasks ticked %1 → %2 of %3</translation>
    </message>
    <message id="history.event.tasks_changed">
        <source>Tasks %1 → %2 of %3</source>
        <translation>Tasks %1 → %2 of %3</translation>
    </message>
    <message id="history.event.files_edited">
        <source>Files edited</source>
        <translation>Files edited</translation>
    </message>
    <message id="history.event.other_files_edited">
        <source>other files edited</source>
        <translation>other files edited</translation>
    </message>
    <message id="history.event.archived">
        <source>Archived → %1</source>
        <translation>Archived → %1</translation>
    </message>
    <message id="history.event.moved">
        <source>Moved from %1</source>
        <translation>Moved from %1</translation>
    </message>
    <message id="history.row.files">
        <source>files %1</source>
        <translation>files %1</translation>
    </message>
    <message id="filehistory.action">
        <source>History</source>
        <translation>History</translation>
    </message>
    <message id="filehistory.action.help">
        <source>The commits that changed this file, and its earlier versions</source>
        <translation>The commits that changed this file, and its earlier versions</translation>
    </message>
    <message id="action.file_history">
        <source>File History…</source>
        <translation>File History…</translation>
    </message>
    <message id="history.version.label">
        <source>Version of %1, %2: %3</source>
        <translation>Version of %1, %2: %3</translation>
    </message>
    <message id="history.version.compared">
        <source>Current text, marked where it changed since the version of %1, %2: %3</source>
        <translation>Current text, marked where it changed since the version of %1, %2: %3</translation>
    </message>
    <message id="history.version.compare">
        <source>Compare with Current</source>
        <translation>Compare with Current</translation>
    </message>
    <message id="history.version.compare.help">
        <source>Show the current text, marked where it changed since this version</source>
        <translation>Show the current text, marked where it changed since this version</translation>
    </message>
    <message id="history.version.back">
        <source>Back to Current</source>
        <translation>Back to Current</translation>
    </message>
    <message id="history.version.unreadable">
        <source>This version could not be read: %1</source>
        <translation>This version could not be read: %1</translation>
    </message>
    <message id="history.file.title">
        <source>Versions of the file</source>
        <translation>Versions of the file</translation>
    </message>
    <message id="history.file.filter">
        <source>Filter by subject, author or commit</source>
        <translation>Filter by subject, author or commit</translation>
    </message>
    <message id="history.file.reading">
        <source>Reading the history…</source>
        <translation>Reading the history…</translation>
    </message>
    <message id="history.file.none">
        <source>No commit holds this file yet.</source>
        <translation>No commit holds this file yet.</translation>
    </message>
    <message id="history.file.renamed_from">
        <source>renamed from %1</source>
        <translation>renamed from %1</translation>
    </message>
    <message id="history.file.partial">
        <source>Some commits could not be read: %1</source>
        <translation>Some commits could not be read: %1</translation>
    </message>
    <message id="history.file.count" numerus="yes">
        <source>%n commits</source>
        <translation>
            <numerusform>%n commit</numerusform>
            <numerusform>%n commits</numerusform>
        </translation>
    </message>
</context>
</TS>
