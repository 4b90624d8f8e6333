<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="app.title">
        <source>Kestrune Viewer</source>
        <translation>Kestrune Viewer</translation>
    </message>
    <message id="app.cli.description">
        <source>Reads the planning folders of spec-driven software projects.</source>
        <translation>Liest die Planungsordner spezifikationsgetriebener Softwareprojekte.</translation>
    </message>
    <message id="app.cli.paths">
        <source>Project folders, or folders and Markdown files inside a project, to open.</source>
        <translation>Zu öffnende Projektordner oder Ordner und Markdown-Dateien innerhalb eines Projekts.</translation>
    </message>
    <message id="app.cli.new_window">
        <source>Start an independent instance instead of handing the paths to the one already running.</source>
        <translation>Eine unabhängige Instanz starten, statt die Pfade an die bereits laufende zu übergeben.</translation>
    </message>
    <message id="app.cli.exit_status">
        <source>Exit status: 0 when the program ends normally or has handed its paths to the instance already running, 1 on a usage error (an unknown option). A path that cannot be opened is named on standard error and in the window, and is no usage error.</source>
        <translation>Rückgabewert: 0, wenn das Programm normal endet oder seine Pfade an die bereits laufende Instanz übergeben hat, 1 bei einem Aufruffehler (einer unbekannten Option). Ein Pfad, der sich nicht öffnen lässt, wird auf der Standardfehlerausgabe und im Fenster genannt und ist kein Aufruffehler.</translation>
    </message>
    <message id="app.action.reopen_at_start">
        <source>Reopen Projects at Start</source>
        <translation>Projekte beim Start wieder öffnen</translation>
    </message>
    <message id="app.recent.title">
        <source>Open Recent</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message id="app.recent.missing">
        <source>%1 (missing)</source>
        <translation>%1 (fehlt)</translation>
    </message>
    <message id="app.recent.empty">
        <source>No Recent Projects</source>
        <translation>Keine zuletzt geöffneten Projekte</translation>
    </message>
    <message id="project_tab.missing">
        <source>The folder %1 is no longer there. What was last read from it stays shown, and it is read again when it comes back.</source>
        <translation>Der Ordner %1 ist nicht mehr vorhanden. Was zuletzt aus ihm gelesen wurde, bleibt sichtbar; kommt er zurück, wird er neu gelesen.</translation>
    </message>
    <message id="project_tab.missing_short">
        <source>Folder missing</source>
        <translation>Ordner fehlt</translation>
    </message>
    <message id="project_tab.updating">
        <source>Updating</source>
        <translation>Wird aktualisiert</translation>
    </message>
    <message id="app.action.watch_projects">
        <source>Follow Changes on Disk</source>
        <translation>Änderungen auf der Festplatte folgen</translation>
    </message>
    <message id="app.action.remote_images">
        <source>Load Remote Images</source>
        <translation>Bilder aus dem Netz laden</translation>
    </message>
    <message id="project.watch_limit">
        <source>Some files of “%1” cannot be followed: the system’s limit on watched files (fs.inotify.max_user_watches) is reached. The project is read again whenever this window comes to the front.</source>
        <translation>Einige Dateien von „%1“ können nicht verfolgt werden: Die Grenze des Systems für überwachte Dateien (fs.inotify.max_user_watches) ist erreicht. Das Projekt wird jedes Mal neu gelesen, wenn dieses Fenster in den Vordergrund kommt.</translation>
    </message>
    <message id="app.action.notify_changes">
        <source>Notify About Changes</source>
        <translation>Über Änderungen benachrichtigen</translation>
    </message>
    <message id="notification.action.show">
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message id="notification.change.finished">
        <source>All tasks of “%1” are done</source>
        <translation>Alle Aufgaben von „%1“ sind erledigt</translation>
    </message>
    <message id="notification.change.added">
        <source>New change “%1”</source>
        <translation>Neue Änderung „%1“</translation>
    </message>
    <message id="notification.change.archived">
        <source>“%1” was archived</source>
        <translation>„%1“ wurde archiviert</translation>
    </message>
    <message id="notification.change.more" numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weitere</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message id="app.recent.clear">
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
    <message id="theme.system">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="theme.light">
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message id="theme.dark">
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message id="theme.menu">
        <source>Theme</source>
        <translation>Darstellung</translation>
    </message>
    <message id="theme.help">
        <source>Follow the system appearance or force light or dark</source>
        <translation>Der Systemdarstellung folgen oder hell bzw. dunkel erzwingen</translation>
    </message>
    <message id="toolbar.refresh">
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message id="toolbar.refresh.help">
        <source>Scan the project again</source>
        <translation>Projekt erneut einlesen</translation>
    </message>
    <message id="toolbar.import_project">
        <source>Import Project</source>
        <translation>Projekt importieren</translation>
    </message>
    <message id="import.panel.message">
        <source>Choose a project folder that contains a kestrune folder</source>
        <translation>Wählen Sie einen Projektordner, der einen kestrune-Ordner enthält</translation>
    </message>
    <message id="import.failed.title">
        <source>Cannot Import Project</source>
        <translation>Projekt kann nicht importiert werden</translation>
    </message>
    <message id="import.failed.does_not_exist">
        <source>does not exist</source>
        <translation>existiert nicht</translation>
    </message>
    <message id="import.failed.not_a_folder">
        <source>is not a folder</source>
        <translation>ist kein Ordner</translation>
    </message>
    <message id="import.failed.no_kestrune_folder">
        <source>has no kestrune folder</source>
        <translation>enthält keinen kestrune-Ordner</translation>
    </message>
    <message id="import.failed.not_local">
        <source>is not on this computer: only local folders can be opened</source>
        <translation>liegt nicht auf diesem Computer: nur lokale Ordner können geöffnet werden</translation>
    </message>
    <message id="common.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="common.close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="common.remove_from_list">
        <source>Remove from List</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message id="sidebar.dashboard">
        <source>Dashboard</source>
        <translation>Übersicht</translation>
    </message>
    <message id="dashboard.select_project_or_file">
        <source>Import a project folder to get started</source>
        <translation>Importieren Sie einen Projektordner, um zu beginnen</translation>
    </message>
    <message id="dashboard.loading">
        <source>Loading project…</source>
        <translation>Projekt wird geladen …</translation>
    </message>
    <message id="project_tree.empty">
        <source>No files</source>
        <translation>Keine Dateien</translation>
    </message>
    <message id="dashboard.badge.draft">
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message id="dashboard.badge.active">
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message id="dashboard.badge.completed">
        <source>Completed</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message id="markdown.loading">
        <source>Loading…</source>
        <translation>Wird geladen …</translation>
    </message>
    <message id="markdown.empty">
        <source>This file is empty.</source>
        <translation>Diese Datei ist leer.</translation>
    </message>
    <message id="markdown.read_error">
        <source>This file could not be read as UTF-8 text.</source>
        <translation>Diese Datei konnte nicht als UTF-8-Text gelesen werden.</translation>
    </message>
    <message id="markdown.read_error.not_found">
        <source>This file no longer exists.</source>
        <translation>Diese Datei existiert nicht mehr.</translation>
    </message>
    <message id="markdown.read_error.permission_denied">
        <source>You do not have permission to read this file.</source>
        <translation>Sie haben keine Berechtigung, diese Datei zu lesen.</translation>
    </message>
    <message id="markdown.read_error.not_a_file">
        <source>This is not a regular file, so it is not read.</source>
        <translation>Dies ist keine gewöhnliche Datei und wird daher nicht gelesen.</translation>
    </message>
    <message id="markdown.read_error.too_large">
        <source>This file is larger than 64 MB, too large to show.</source>
        <translation>Diese Datei ist größer als 64 MB und zu groß zum Anzeigen.</translation>
    </message>
    <message id="markdown.read_error.other">
        <source>This file could not be read.</source>
        <translation>Diese Datei konnte nicht gelesen werden.</translation>
    </message>
    <message id="markdown.read_error.out_of_memory">
        <source>There is not enough memory to show this file.</source>
        <translation>Es ist nicht genug Speicher frei, um diese Datei anzuzeigen.</translation>
    </message>
    <message id="markdown.file_removed">
        <source>This file was removed from the disk. What it last held stays shown until you choose another file.</source>
        <translation>Diese Datei wurde von der Festplatte entfernt. Ihr letzter Inhalt bleibt sichtbar, bis Sie eine andere Datei wählen.</translation>
    </message>
    <message id="review.action">
        <source>Review Change</source>
        <translation>Änderung prüfen</translation>
    </message>
    <message id="review.toggle_description">
        <source>Opens or closes the requirements of this capability</source>
        <translation>Öffnet oder schließt die Anforderungen dieser Fähigkeit</translation>
    </message>
    <message id="review.loading">
        <source>Comparing with the specifications…</source>
        <translation>Vergleich mit den Spezifikationen …</translation>
    </message>
    <message id="review.flag.exists">
        <source>The specification already has a requirement of this name.</source>
        <translation>Die Spezifikation hat bereits eine Anforderung dieses Namens.</translation>
    </message>
    <message id="review.flag.missing">
        <source>The specification has no requirement of this name.</source>
        <translation>Die Spezifikation hat keine Anforderung dieses Namens.</translation>
    </message>
    <message id="review.flag.missing_suggestion">
        <source>The specification has no requirement of this name. Did you mean “%1”?</source>
        <translation>Die Spezifikation hat keine Anforderung dieses Namens. Meinten Sie „%1“?</translation>
    </message>
    <message id="review.flag.duplicate_in_change">
        <source>The change names this requirement more than once.</source>
        <translation>Die Änderung nennt diese Anforderung mehr als einmal.</translation>
    </message>
    <message id="review.flag.duplicate_in_specification">
        <source>The specification names this requirement more than once; the first is compared.</source>
        <translation>Die Spezifikation nennt diese Anforderung mehr als einmal; verglichen wird die erste.</translation>
    </message>
    <message id="review.flag.outside_sections">
        <source>“%1” stands under no ADDED, MODIFIED or REMOVED heading.</source>
        <translation>„%1“ steht unter keiner Überschrift ADDED, MODIFIED oder REMOVED.</translation>
    </message>
    <message id="review.state.already_in_specification">
        <source>Already in the specification.</source>
        <translation>Bereits in der Spezifikation.</translation>
    </message>
    <message id="review.error.delta_unreadable">
        <source>The delta specification cannot be read.</source>
        <translation>Die Delta-Spezifikation kann nicht gelesen werden.</translation>
    </message>
    <message id="review.error.specification_unreadable">
        <source>The current specification cannot be read.</source>
        <translation>Die aktuelle Spezifikation kann nicht gelesen werden.</translation>
    </message>
    <message id="review.show_result">
        <source>Show Result</source>
        <translation>Ergebnis zeigen</translation>
    </message>
    <message id="review.new_capability">
        <source>new capability</source>
        <translation>neue Fähigkeit</translation>
    </message>
    <message id="review.counts.added" numerus="yes">
        <source>+%n added</source>
        <translation>
            <numerusform>+%n hinzugefügt</numerusform>
            <numerusform>+%n hinzugefügt</numerusform>
        </translation>
    </message>
    <message id="review.counts.modified" numerus="yes">
        <source>~%n modified</source>
        <translation>
            <numerusform>~%n geändert</numerusform>
            <numerusform>~%n geändert</numerusform>
        </translation>
    </message>
    <message id="review.counts.removed" numerus="yes">
        <source>−%n removed requirements</source>
        <translation>
            <numerusform>−%n entfernte Anforderung</numerusform>
            <numerusform>−%n entfernte Anforderungen</numerusform>
        </translation>
    </message>
    <message id="review.archived_note">
        <source>compared with the specification as it is now</source>
        <translation>verglichen mit der Spezifikation, wie sie jetzt ist</translation>
    </message>
    <message id="review.no_delta_specifications">
        <source>This change has no delta specifications.</source>
        <translation>Diese Änderung hat keine Delta-Spezifikationen.</translation>
    </message>
    <message id="review.back">
        <source>Back to Review</source>
        <translation>Zurück zur Prüfung</translation>
    </message>
    <message id="review.result_title">
        <source>Specification “%1”</source>
        <translation>Spezifikation „%1“</translation>
    </message>
    <message id="review.result_after">
        <source>after %1</source>
        <translation>nach %1</translation>
    </message>
    <message id="review.baseline.compare_with">
        <source>Compare with</source>
        <translation>Vergleichen mit</translation>
    </message>
    <message id="review.baseline.current">
        <source>Current specifications</source>
        <translation>Aktuelle Spezifikationen</translation>
    </message>
    <message id="review.baseline.before_change">
        <source>%1 — before this change was proposed</source>
        <translation>%1 — bevor diese Änderung vorgeschlagen wurde</translation>
    </message>
    <message id="review.baseline.note">
        <source>Compared with the specifications as they were at %1, not as they are now.</source>
        <translation>Verglichen mit den Spezifikationen, wie sie bei %1 waren, nicht wie sie jetzt sind.</translation>
    </message>
    <message id="review.baseline.note_before_change">
        <source>Compared with the specifications as they were before this change was proposed (%1), not as they are now.</source>
        <translation>Verglichen mit den Spezifikationen, wie sie waren, bevor diese Änderung vorgeschlagen wurde (%1), nicht wie sie jetzt sind.</translation>
    </message>
    <message id="review.baseline.comparing">
        <source>Comparing with the specifications at %1…</source>
        <translation>Vergleich mit den Spezifikationen bei %1 …</translation>
    </message>
    <message id="review.history.action">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="review.history.title">
        <source>History of “%1”</source>
        <translation>Verlauf von „%1“</translation>
    </message>
    <message id="review.history.filter">
        <source>Filter the history</source>
        <translation>Verlauf filtern</translation>
    </message>
    <message id="review.history.reading">
        <source>Reading the history…</source>
        <translation>Verlauf wird gelesen …</translation>
    </message>
    <message id="review.history.none">
        <source>No commit changed this requirement.</source>
        <translation>Kein Commit hat diese Anforderung geändert.</translation>
    </message>
    <message id="review.history.unavailable">
        <source>The project’s history cannot be read.</source>
        <translation>Der Verlauf des Projekts kann nicht gelesen werden.</translation>
    </message>
    <message id="review.history.partial">
        <source>Part of the history could not be read; what was read is listed.</source>
        <translation>Ein Teil des Verlaufs konnte nicht gelesen werden; das Gelesene ist aufgeführt.</translation>
    </message>
    <message id="review.history.added">
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message id="review.history.modified">
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message id="review.history.removed">
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message id="review.history.change">
        <source>archived change %1</source>
        <translation>archivierte Änderung %1</translation>
    </message>
    <message id="review.history.open_change">
        <source>Opens the review of %1</source>
        <translation>Öffnet die Prüfung von %1</translation>
    </message>
    <message id="review.removed_here">
        <source>The requirement “%1” is removed here.</source>
        <translation>Die Anforderung „%1“ wird hier entfernt.</translation>
    </message>
    <message id="markdown.read_error.outside_project">
        <source>This file links outside the project, so it is not shown.</source>
        <translation>Diese Datei verweist aus dem Projekt hinaus und wird daher nicht angezeigt.</translation>
    </message>
    <message id="markdown.large.notice">
        <source>This file is large (%n MB), so it is shown as source. Rendering it may take a while.</source>
        <translation>Diese Datei ist groß (%n MB) und wird daher als Quelltext gezeigt. Das Darstellen kann eine Weile dauern.</translation>
    </message>
    <message id="markdown.large.render">
        <source>Render Anyway</source>
        <translation>Trotzdem darstellen</translation>
    </message>
    <message id="markdown.alert.note">
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message id="markdown.alert.tip">
        <source>Tip</source>
        <translation>Tipp</translation>
    </message>
    <message id="markdown.alert.important">
        <source>Important</source>
        <translation>Wichtig</translation>
    </message>
    <message id="markdown.alert.warning">
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message id="markdown.alert.caution">
        <source>Caution</source>
        <translation>Vorsicht</translation>
    </message>
    <message id="markdown.image.remote_off">
        <source>Remote image from %1 not loaded</source>
        <translation>Bild von %1 nicht aus dem Netz geladen</translation>
    </message>
    <message id="markdown.link.confirm_title">
        <source>Open Link?</source>
        <translation>Link öffnen?</translation>
    </message>
    <message id="markdown.link.confirm">
        <source>This link is not a web or mail address. Open it with the program your desktop chooses for it?</source>
        <translation>Dieser Link ist keine Web- oder E-Mail-Adresse. Mit dem Programm öffnen, das Ihr Desktop dafür wählt?</translation>
    </message>
    <message id="markdown.preview">
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message id="markdown.source">
        <source>Source</source>
        <translation>Quelltext</translation>
    </message>
    <message id="dashboard.summary.title">
        <source>Overview</source>
        <translation>Überblick</translation>
    </message>
    <message id="dashboard.summary.specs">
        <source>Specifications</source>
        <translation>Spezifikationen</translation>
    </message>
    <message id="dashboard.summary.draft">
        <source>Drafts</source>
        <translation>Entwürfe</translation>
    </message>
    <message id="dashboard.summary.active">
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message id="dashboard.summary.archive">
        <source>Archived</source>
        <translation>Archiviert</translation>
    </message>
    <message id="dashboard.summary.reqs_format" numerus="yes">
        <source>%n requirements</source>
        <translation>
            <numerusform>%n Anforderung</numerusform>
            <numerusform>%n Anforderungen</numerusform>
        </translation>
    </message>
    <message id="dashboard.section.draft_changes">
        <source>Draft Changes</source>
        <translation>Entwürfe</translation>
    </message>
    <message id="dashboard.section.active_changes">
        <source>Active Changes</source>
        <translation>Aktive Änderungen</translation>
    </message>
    <message id="dashboard.section.completed">
        <source>Completed</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message id="dashboard.section.archive">
        <source>Archive</source>
        <translation>Archiv</translation>
    </message>
    <message id="dashboard.empty.draft_changes">
        <source>No draft changes</source>
        <translation>Keine Entwürfe</translation>
    </message>
    <message id="dashboard.empty.active_changes">
        <source>No active changes</source>
        <translation>Keine aktiven Änderungen</translation>
    </message>
    <message id="dashboard.empty.completed">
        <source>No completed changes</source>
        <translation>Keine abgeschlossenen Änderungen</translation>
    </message>
    <message id="dashboard.empty.archived">
        <source>No archived changes</source>
        <translation>Keine archivierten Änderungen</translation>
    </message>
    <message id="dashboard.empty.specifications">
        <source>No specifications yet</source>
        <translation>Noch keine Spezifikationen</translation>
    </message>
    <message id="dashboard.specifications.title_with_count">
        <source>Specifications (%n)</source>
        <translation>Spezifikationen (%n)</translation>
    </message>
    <message id="dashboard.view_catalog">
        <source>View Catalog</source>
        <translation>Katalog anzeigen</translation>
    </message>
    <message id="dashboard.open_in_finder">
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message id="dashboard.spec_catalog.title">
        <source>Specification Catalog</source>
        <translation>Spezifikationskatalog</translation>
    </message>
    <message id="dashboard.spec_catalog.empty">
        <source>No specifications</source>
        <translation>Keine Spezifikationen</translation>
    </message>
    <message id="dashboard.task_progress">
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message id="dashboard.workflow.proposal">
        <source>Proposal</source>
        <translation>Vorschlag</translation>
    </message>
    <message id="dashboard.workflow.design">
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message id="dashboard.workflow.specs">
        <source>Specs</source>
        <translation>Spezifikationen</translation>
    </message>
    <message id="dashboard.workflow.tasks">
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message id="dashboard.archived_on_format">
        <source>Archived on %1</source>
        <translation>Archiviert am %1</translation>
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
        <translation>Projekt importieren…</translation>
    </message>
    <message id="action.close_project">
        <source>Close Project</source>
        <translation>Projekt schließen</translation>
    </message>
    <message id="action.next_project">
        <source>Next Project</source>
        <translation>Nächstes Projekt</translation>
    </message>
    <message id="action.previous_project">
        <source>Previous Project</source>
        <translation>Vorheriges Projekt</translation>
    </message>
    <message id="action.project_format">
        <source>Project %n</source>
        <translation>Projekt %n</translation>
    </message>
    <message id="action.show_dashboard">
        <source>Show Dashboard</source>
        <translation>Übersicht zeigen</translation>
    </message>
    <message id="action.focus_outline">
        <source>Focus Outline</source>
        <translation>Gliederung fokussieren</translation>
    </message>
    <message id="action.focus_document">
        <source>Focus Document</source>
        <translation>Dokument fokussieren</translation>
    </message>
    <message id="action.next_pane">
        <source>Next Pane</source>
        <translation>Nächster Bereich</translation>
    </message>
    <message id="action.previous_pane">
        <source>Previous Pane</source>
        <translation>Vorheriger Bereich</translation>
    </message>
    <message id="action.toggle_view_mode">
        <source>Toggle Preview/Source</source>
        <translation>Vorschau/Quelltext umschalten</translation>
    </message>
    <message id="action.main_menu">
        <source>Main Menu</source>
        <translation>Hauptmenü</translation>
    </message>
    <message id="action.keyboard_shortcuts">
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message id="action.about">
        <source>About Kestrune Viewer</source>
        <translation>Über Kestrune Viewer</translation>
    </message>
    <message id="action.quit">
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message id="shortcuts.group.projects">
        <source>Projects</source>
        <translation>Projekte</translation>
    </message>
    <message id="shortcuts.group.navigation">
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message id="shortcuts.group.view">
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message id="shortcuts.group.application">
        <source>Application</source>
        <translation>Programm</translation>
    </message>
    <message id="shortcuts.column.command">
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message id="shortcuts.column.keys">
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message id="shortcuts.hint.project_slots">
        <source>Go to project 1 to 9</source>
        <translation>Zu Projekt 1 bis 9 wechseln</translation>
    </message>
    <message id="shortcuts.hint.tab">
        <source>Move to the next or previous control</source>
        <translation>Zum nächsten oder vorigen Bedienelement</translation>
    </message>
    <message id="shortcuts.hint.outline_move">
        <source>Move through the outline</source>
        <translation>In der Gliederung bewegen</translation>
    </message>
    <message id="shortcuts.hint.outline_expand">
        <source>Expand a folder of the outline</source>
        <translation>Ordner der Gliederung aufklappen</translation>
    </message>
    <message id="shortcuts.hint.outline_collapse">
        <source>Collapse a folder of the outline</source>
        <translation>Ordner der Gliederung zuklappen</translation>
    </message>
    <message id="shortcuts.hint.outline_open">
        <source>Open the file chosen in the outline</source>
        <translation>In der Gliederung gewählte Datei öffnen</translation>
    </message>
    <message id="shortcuts.hint.activate">
        <source>Activate the focused card or button</source>
        <translation>Fokussierte Karte oder Schaltfläche auslösen</translation>
    </message>
    <message id="shortcuts.hint.leave_preview">
        <source>Leave the preview for the dashboard</source>
        <translation>Vorschau verlassen und Übersicht zeigen</translation>
    </message>
    <message id="about.version_format">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="about.licence">
        <source>Released under the MIT License.</source>
        <translation>Veröffentlicht unter der MIT-Lizenz.</translation>
    </message>
    <message id="drop.hint">
        <source>Drop folders to import</source>
        <translation>Ordner zum Importieren ablegen</translation>
    </message>
    <message id="project_tree.accessible_name">
        <source>Project Outline</source>
        <translation>Projektgliederung</translation>
    </message>
    <message id="dashboard.open_in_finder_named_format">
        <source>Show %1 in File Manager</source>
        <translation>%1 im Dateimanager zeigen</translation>
    </message>
    <message id="find.placeholder">
        <source>Find in Document</source>
        <translation>Im Dokument suchen</translation>
    </message>
    <message id="find.match_case">
        <source>Match Case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message id="find.whole_word">
        <source>Whole Words</source>
        <translation>Nur ganze Wörter</translation>
    </message>
    <message id="find.regular_expression">
        <source>Regular Expression</source>
        <translation>Regulärer Ausdruck</translation>
    </message>
    <message id="find.invalid_expression">
        <source>Invalid expression: %1</source>
        <translation>Ungültiger Ausdruck: %1</translation>
    </message>
    <message id="find.expression_error.at_position">
        <source>Invalid expression at position %n</source>
        <translation>Ungültiger Ausdruck an Position %n</translation>
    </message>
    <message id="find.expression_error.missing_parenthesis">
        <source>“)” missing at position %n</source>
        <translation>„)“ fehlt an Position %n</translation>
    </message>
    <message id="find.expression_error.missing_bracket">
        <source>“]” missing at position %n</source>
        <translation>„]“ fehlt an Position %n</translation>
    </message>
    <message id="find.expression_error.unmatched_parenthesis">
        <source>“)” without “(” at position %n</source>
        <translation>„)“ ohne „(“ an Position %n</translation>
    </message>
    <message id="find.expression_error.nothing_to_repeat">
        <source>nothing to repeat at position %n</source>
        <translation>nichts zu wiederholen an Position %n</translation>
    </message>
    <message id="find.expression_error.trailing_backslash">
        <source>“\” at the end</source>
        <translation>„\“ am Ende</translation>
    </message>
    <message id="find.expression_error.range_out_of_order">
        <source>range out of order at position %n</source>
        <translation>Bereich in falscher Reihenfolge an Position %n</translation>
    </message>
    <message id="find.expression_error.unknown_escape">
        <source>unknown escape sequence at position %n</source>
        <translation>unbekannte Escape-Sequenz an Position %n</translation>
    </message>
    <message id="find.previous">
        <source>Previous Match</source>
        <translation>Vorheriger Treffer</translation>
    </message>
    <message id="find.next">
        <source>Next Match</source>
        <translation>Nächster Treffer</translation>
    </message>
    <message id="find.no_matches">
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message id="find.status">
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message id="action.find">
        <source>Find…</source>
        <translation>Suchen …</translation>
    </message>
    <message id="action.find_next">
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message id="action.find_previous">
        <source>Find Previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
    <message id="markdown.headings">
        <source>Headings</source>
        <translation>Überschriften</translation>
    </message>
    <message id="markdown.headings.help">
        <source>Go to a heading of this document</source>
        <translation>Zu einer Überschrift dieses Dokuments springen</translation>
    </message>
    <message id="markdown.headings.filter">
        <source>Filter headings</source>
        <translation>Überschriften filtern</translation>
    </message>
    <message id="markdown.headings.level" numerus="yes">
        <source>Level %n</source>
        <translation>
            <numerusform>Ebene %n</numerusform>
            <numerusform>Ebene %n</numerusform>
        </translation>
    </message>
    <message id="action.back">
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message id="action.forward">
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message id="action.show_headings">
        <source>Go to Heading…</source>
        <translation>Zu Überschrift springen…</translation>
    </message>
    <message id="action.zoom_in">
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message id="action.zoom_out">
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message id="action.actual_size">
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message id="action.search_project">
        <source>Search in Project…</source>
        <translation>Im Projekt suchen …</translation>
    </message>
    <message id="search.placeholder">
        <source>Search Project</source>
        <translation>Projekt durchsuchen</translation>
    </message>
    <message id="search.all_projects">
        <source>All Projects</source>
        <translation>Alle Projekte</translation>
    </message>
    <message id="search.hide_archived">
        <source>Hide Archived</source>
        <translation>Archivierte ausblenden</translation>
    </message>
    <message id="search.results_accessible_name">
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message id="search.searching">
        <source>Searching…</source>
        <translation>Suche läuft …</translation>
    </message>
    <message id="search.status">
        <source>%1 matches in %2 files</source>
        <translation>%1 Treffer in %2 Dateien</translation>
    </message>
    <message id="search.status_one_file">
        <source>%1 matches in 1 file</source>
        <translation>%1 Treffer in 1 Datei</translation>
    </message>
    <message id="search.status_one">
        <source>1 match in 1 file</source>
        <translation>1 Treffer in 1 Datei</translation>
    </message>
    <message id="search.reading_files">
        <source>Reading files…</source>
        <translation>Dateien werden gelesen …</translation>
    </message>
    <message id="action.quick_open">
        <source>Quick Open…</source>
        <translation>Schnell öffnen…</translation>
    </message>
    <message id="quickopen.title">
        <source>Quick Open</source>
        <translation>Schnell öffnen</translation>
    </message>
    <message id="quickopen.placeholder">
        <source>Go to a file, change or specification; # for requirements</source>
        <translation>Zu Datei, Änderung oder Spezifikation; # für Anforderungen</translation>
    </message>
    <message id="quickopen.no_matches">
        <source>No matching files</source>
        <translation>Keine passenden Dateien</translation>
    </message>
    <message id="quickopen.no_requirements">
        <source>No matching requirements</source>
        <translation>Keine passenden Anforderungen</translation>
    </message>
    <message id="quickopen.kind.change">
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message id="quickopen.kind.archived_change">
        <source>Archived change</source>
        <translation>Archivierte Änderung</translation>
    </message>
    <message id="quickopen.kind.specification">
        <source>Specification</source>
        <translation>Spezifikation</translation>
    </message>
    <message id="quickopen.requirement.specification">
        <source>Specification %1</source>
        <translation>Spezifikation %1</translation>
    </message>
    <message id="quickopen.requirement.change">
        <source>Change %1</source>
        <translation>Änderung %1</translation>
    </message>
    <message id="quickopen.requirement.archived_change">
        <source>Archived change %1</source>
        <translation>Archivierte Änderung %1</translation>
    </message>
    <message id="markdown.copy_code">
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message id="markdown.copy_code.copied">
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message id="markdown.copy_code.accessible_name">
        <source>Copy Code</source>
        <translation>Code kopieren</translation>
    </message>
    <message id="markdown.mermaid_caption">
        <source>Mermaid diagram source</source>
        <translation>Mermaid-Diagrammquelle</translation>
    </message>
    <message id="markdown.copy_as_markdown">
        <source>Copy as Markdown</source>
        <translation>Als Markdown kopieren</translation>
    </message>
    <message id="action.print">
        <source>Print…</source>
        <translation>Drucken…</translation>
    </message>
    <message id="action.export_pdf">
        <source>Export as PDF…</source>
        <translation>Als PDF exportieren…</translation>
    </message>
    <message id="print.page_footer">
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message id="print.export_title">
        <source>Export as PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message id="print.pdf_filter">
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message id="print.preparing">
        <source>Preparing pages…</source>
        <translation>Seiten werden vorbereitet…</translation>
    </message>
    <message id="print.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="print.export_failed">
        <source>“%1” could not be exported as PDF: %2</source>
        <translation>„%1“ konnte nicht als PDF exportiert werden: %2</translation>
    </message>
    <message id="print.print_failed">
        <source>“%1” could not be printed: %2</source>
        <translation>„%1“ konnte nicht gedruckt werden: %2</translation>
    </message>
    <message id="print.printer_refused">
        <source>The printer did not accept the document.</source>
        <translation>Der Drucker hat das Dokument nicht angenommen.</translation>
    </message>
    <message id="markdown.accessible.heading_level">
        <source>Heading level %n</source>
        <translation>Überschrift der Ebene %n</translation>
    </message>
    <message id="reading.mark.changed">
        <source>changed since last read</source>
        <translation>seit dem letzten Lesen geändert</translation>
    </message>
    <message id="reading.mark.added">
        <source>new</source>
        <translation>neu</translation>
    </message>
    <message id="reading.mark.folder">
        <source>holds changes since last read</source>
        <translation>enthält Änderungen seit dem letzten Lesen</translation>
    </message>
    <message id="reading.action.show_marks">
        <source>Show Unread Marks</source>
        <translation>Ungelesen-Markierungen zeigen</translation>
    </message>
    <message id="reading.action.forget">
        <source>Forget Reading History…</source>
        <translation>Leseverlauf vergessen …</translation>
    </message>
    <message id="reading.action.mark_all_read">
        <source>Mark All as Read</source>
        <translation>Alles als gelesen markieren</translation>
    </message>
    <message id="reading.action.mark_read">
        <source>Mark as Read</source>
        <translation>Als gelesen markieren</translation>
    </message>
    <message id="reading.action.next_change">
        <source>Next Change</source>
        <translation>Nächste Änderung</translation>
    </message>
    <message id="reading.action.previous_change">
        <source>Previous Change</source>
        <translation>Vorherige Änderung</translation>
    </message>
    <message id="reading.preview.changed">
        <source>Changed since you last read it</source>
        <translation>Seit dem letzten Lesen geändert</translation>
    </message>
    <message id="reading.forget.title">
        <source>Forget Reading History</source>
        <translation>Leseverlauf vergessen</translation>
    </message>
    <message id="reading.forget.question">
        <source>Forget what you have read in %1? Every file will count as seen as it is now.</source>
        <translation>Vergessen, was Sie in %1 gelesen haben? Jede Datei gilt dann als gelesen, so wie sie jetzt ist.</translation>
    </message>
    <message id="reading.forget.confirm">
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message id="reading.notice.set_aside">
        <source>The reading history of %1 could not be read and was set aside; it starts again from now.</source>
        <translation>Der Leseverlauf von %1 war nicht lesbar und wurde beiseitegelegt; er beginnt ab jetzt neu.</translation>
    </message>
    <message id="reading.card.tasks_done">
        <source>%1 tasks done since you last looked</source>
        <translation>%1 Aufgaben erledigt seit Ihrem letzten Blick</translation>
    </message>
    <message id="reading.card.one_task_done">
        <source>1 task done since you last looked</source>
        <translation>1 Aufgabe erledigt seit Ihrem letzten Blick</translation>
    </message>
    <message id="reading.card.new">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="reading.card.requirements_changed">
        <source>Requirements changed since you last looked</source>
        <translation>Anforderungen geändert seit Ihrem letzten Blick</translation>
    </message>
    <message id="catchup.action">
        <source>What’s New</source>
        <translation>Was ist neu</translation>
    </message>
    <message id="catchup.title.project">
        <source>What’s New in %1</source>
        <translation>Neu in %1</translation>
    </message>
    <message id="catchup.placeholder">
        <source>Filter the files</source>
        <translation>Dateien filtern</translation>
    </message>
    <message id="catchup.empty">
        <source>Nothing new since you last looked</source>
        <translation>Nichts Neues seit Ihrem letzten Blick</translation>
    </message>
    <message id="catchup.no_matches">
        <source>No file matches</source>
        <translation>Keine Datei passt</translation>
    </message>
    <message id="catchup.group.other">
        <source>Other files</source>
        <translation>Weitere Dateien</translation>
    </message>
    <message id="catchup.change.changed">
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message id="catchup.change.removed">
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message id="catchup.accessible.not_openable">
        <source>cannot be opened</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
    <message id="catchup.summary" numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message id="catchup.accessible.lines_added" numerus="yes">
        <source>%n lines added</source>
        <translation>
            <numerusform>%n Zeile hinzugefügt</numerusform>
            <numerusform>%n Zeilen hinzugefügt</numerusform>
        </translation>
    </message>
    <message id="catchup.accessible.lines_removed" numerus="yes">
        <source>%n lines removed</source>
        <translation>
            <numerusform>%n Zeile entfernt</numerusform>
            <numerusform>%n Zeilen entfernt</numerusform>
        </translation>
    </message>
    <message id="action.show_history">
        <source>Show Change History</source>
        <translation>Änderungsverlauf anzeigen</translation>
    </message>
    <message id="history.action">
        <source>Show History</source>
        <translation>Verlauf anzeigen</translation>
    </message>
    <message id="history.button">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="history.button_description">
        <source>Shows the commits that touched %1</source>
        <translation>Zeigt die Commits, die %1 berührt haben</translation>
    </message>
    <message id="history.title">
        <source>History of %1</source>
        <translation>Verlauf von %1</translation>
    </message>
    <message id="history.loading">
        <source>Reading the history…</source>
        <translation>Verlauf wird gelesen …</translation>
    </message>
    <message id="history.reading">
        <source>Reading older commits…</source>
        <translation>Ältere Commits werden gelesen …</translation>
    </message>
    <message id="history.empty">
        <source>No commit touched this change yet.</source>
        <translation>Noch kein Commit hat diese Änderung berührt.</translation>
    </message>
    <message id="history.partial">
        <source>Part of the history could not be read, so it ends early: %1</source>
        <translation>Ein Teil des Verlaufs konnte nicht gelesen werden, daher endet er früher: %1</translation>
    </message>
    <message id="history.unavailable.no_repository">
        <source>This project is not in a git work tree, so it has no history.</source>
        <translation>Dieses Projekt liegt in keinem Git-Arbeitsverzeichnis und hat daher keinen Verlauf.</translation>
    </message>
    <message id="history.unavailable.bare_repository">
        <source>This project lies in a git repository without a work tree, so it has no history.</source>
        <translation>Dieses Projekt liegt in einem Git-Repository ohne Arbeitsverzeichnis und hat daher keinen Verlauf.</translation>
    </message>
    <message id="history.unavailable.no_commits">
        <source>The project's git repository has no commit yet.</source>
        <translation>Das Git-Repository des Projekts hat noch keinen Commit.</translation>
    </message>
    <message id="history.unavailable.unreadable">
        <source>The project's git repository could not be read: %1</source>
        <translation>Das Git-Repository des Projekts konnte nicht gelesen werden: %1</translation>
    </message>
    <message id="history.event.created">
        <source>Created</source>
        <translation>Angelegt</translation>
    </message>
    <message id="history.event.proposal_added">
        <source>Proposal added</source>
        <translation>Vorschlag hinzugefügt</translation>
    </message>
    <message id="history.event.proposal_edited">
        <source>Proposal edited</source>
        <translation>Vorschlag bearbeitet</translation>
    </message>
    <message id="history.event.design_added">
        <source>Design added</source>
        <translation>Entwurf hinzugefügt</translation>
    </message>
    <message id="history.event.design_edited">
        <source>Design edited</source>
        <translation>Entwurf bearbeitet</translation>
    </message>
    <message id="history.event.delta_added">
        <source>Delta spec %1 added</source>
        <translation>Delta-Spezifikation %1 hinzugefügt</translation>
    </message>
    <message id="history.event.delta_edited">
        <source>Delta spec %1 edited</source>
        <translation>Delta-Spezifikation %1 bearbeitet</translation>
    </message>
    <message id="history.event.tasks_added">
        <source>Task list added</source>
        <translation>Aufgabenliste hinzugefügt</translation>
    </message>
    <message id="history.event.tasks_edited">
        <source>Task list edited</source>
        <translation>Aufgabenliste bearbeitet</translation>
    </message>
    <message id="history.event.tasks_ticked">
        <source>Tasks ticked %1 → %2 of %3</source>
        <translation>Aufgaben abgehakt %1 → %2 von %3</translation>
    </message>
    <message id="history.event.tasks_changed">
        <source>Tasks %1 → %2 of %3</source>
        <translation>Aufgaben %1 → %2 von %3</translation>
    </message>
    <message id="history.event.files_edited">
        <source>Files edited</source>
        <translation>Dateien bearbeitet</translation>
    </message>
    <message id="history.event.other_files_edited">
        <source>other files edited</source>
        <translation>weitere Dateien bearbeitet</translation>
    </message>
    <message id="history.event.archived">
        <source>Archived → %1</source>
        <translation>Archiviert → %1</translation>
    </message>
    <message id="history.event.moved">
        <source>Moved from %1</source>
        <translation>Verschoben von %1</translation>
    </message>
    <message id="history.row.files">
        <source>files %1</source>
        <translation>Dateien %1</translation>
    </message>
    <message id="filehistory.action">
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message id="filehistory.action.help">
        <source>The commits that changed this file, and its earlier versions</source>
        <translation>Die Commits, die diese Datei geändert haben, und ihre früheren Fassungen</translation>
    </message>
    <message id="action.file_history">
        <source>File History…</source>
        <translation>Dateiverlauf…</translation>
    </message>
    <message id="history.version.label">
        <source>Version of %1, %2: %3</source>
        <translation>Fassung vom %1, %2: %3</translation>
    </message>
    <message id="history.version.compared">
        <source>Current text, marked where it changed since the version of %1, %2: %3</source>
        <translation>Aktueller Text, markiert, wo er sich seit der Fassung vom %1, %2 geändert hat: %3</translation>
    </message>
    <message id="history.version.compare">
        <source>Compare with Current</source>
        <translation>Mit aktueller Fassung vergleichen</translation>
    </message>
    <message id="history.version.compare.help">
        <source>Show the current text, marked where it changed since this version</source>
        <translation>Den aktuellen Text zeigen, markiert, wo er sich seit dieser Fassung geändert hat</translation>
    </message>
    <message id="history.version.back">
        <source>Back to Current</source>
        <translation>Zurück zur aktuellen Fassung</translation>
    </message>
    <message id="history.version.unreadable">
        <source>This version could not be read: %1</source>
        <translation>Diese Fassung konnte nicht gelesen werden: %1</translation>
    </message>
    <message id="history.file.title">
        <source>Versions of the file</source>
        <translation>Fassungen der Datei</translation>
    </message>
    <message id="history.file.filter">
        <source>Filter by subject, author or commit</source>
        <translation>Nach Betreff, Autor oder Commit filtern</translation>
    </message>
    <message id="history.file.reading">
        <source>Reading the history…</source>
        <translation>Der Verlauf wird gelesen…</translation>
    </message>
    <message id="history.file.none">
        <source>No commit holds this file yet.</source>
        <translation>Noch kein Commit enthält diese Datei.</translation>
    </message>
    <message id="history.file.renamed_from">
        <source>renamed from %1</source>
        <translation>umbenannt von %1</translation>
    </message>
    <message id="history.file.partial">
        <source>Some commits could not be read: %1</source>
        <translation>Einige Commits konnten nicht gelesen werden: %1</translation>
    </message>
    <message id="history.file.count" numerus="yes">
        <source>%n commits</source>
        <translation>
            <numerusform>%n Commit</numerusform>
            <numerusform>%n Commits</numerusform>
        </translation>
    </message>
</context>
</TS>
