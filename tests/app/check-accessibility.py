#!/usr/bin/python3
"""Checks what a screen reader finds in the window, through the desktop's accessibility bus.

Usage, on a display and a session bus of their own:

    dbus-run-session -- xvfb-run -a /usr/bin/python3 tests/app/check-accessibility.py \\
        build-tests/src/app/kestrune-viewer examples/lantern-notes

Starts the program on the sample project with accessibility switched on, finds its window in the
AT-SPI tree and asserts names, roles and states: the outline is a named tree, the dashboard's
change cards are push buttons and the summary cards labels, saying all they show, every "Show in File Manager"
button names its specification, and once a file is open the preview/source switch is two radio
buttons, exactly one of them checked, and the rendered file is a document named after the file,
whose text starts with its first heading and whose headings and links are children with those
roles, links included in a file handed over by a second start, and whose first heading reads as
one run of bold text larger than the paragraph after it (KESTRUNE_ACCESSIBILITY_DUMP names
a file to write what it reads of each document to). (The rows' texts with their badges sit in folders that are
closed at the start; tests/sidebar checks them in-process.) Exits 0 when all holds, 1 with the failures listed, and 77
(skipped) when the accessibility bus cannot be reached at all.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    print("check-accessibility: python3-pyatspi is not installed, skipped")
    sys.exit(77)

TIMEOUT = 90  # seconds; the sanitised build starts slowly
SKIP = 77


def walk(node, depth=0, limit=[0]):
    """Every accessible below node, depth first, within sane bounds."""
    if node is None or depth > 40 or limit[0] > 20000:
        return
    limit[0] += 1
    yield node
    try:
        children = list(node)
    except Exception:  # an object that went away while walking
        return
    for child in children:
        yield from walk(child, depth + 1, limit)


def describe(node):
    try:
        return node.getRoleName(), node.name or ""
    except Exception:
        return "", ""


def find_application(pid, deadline):
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                continue
        time.sleep(0.5)
    return None


def wait_for(app, predicate, deadline):
    """The first accessible of the application that satisfies predicate, waiting for it."""
    while time.time() < deadline:
        for node in walk(app, limit=[0]):
            if predicate(node):
                return node
        time.sleep(0.5)
    return None


def expected_names(project):
    planning = os.path.join(project, "kestrune")
    changes_dir = os.path.join(planning, "changes")
    changes = sorted(
        name for name in os.listdir(changes_dir)
        if os.path.isdir(os.path.join(changes_dir, name)) and name not in ("archive", "archived"))
    archive_dir = os.path.join(changes_dir, "archive")
    archived = sorted(os.listdir(archive_dir)) if os.path.isdir(archive_dir) else []
    specs = sorted(os.path.splitext(name)[0] for name in os.listdir(os.path.join(planning, "specs")))
    return changes, archived, specs


def check(app, project, failures):
    deadline = time.time() + TIMEOUT
    outline = wait_for(app, lambda n: describe(n) in (("tree", "Project Outline"), ("tree table", "Project Outline")),
                       deadline)
    if outline is None:
        failures.append("no tree named 'Project Outline'")
        return
    # The dashboard comes once the project is read.
    if wait_for(app, lambda n: describe(n)[1].startswith("Specifications, "), deadline) is None:
        failures.append("no summary card 'Specifications, …'")
        return

    buttons = [name for role, name in map(describe, walk(app, limit=[0])) if role == "push button"]
    changes, archived, specs = expected_names(project)
    for change in changes + archived:
        pattern = re.compile(re.escape(change) + r", \S")
        if not any(pattern.match(name) for name in buttons):
            failures.append(f"no push button saying '{change}, …' (buttons: {buttons})")
    labels = [name for role, name in map(describe, walk(app, limit=[0])) if role == "label"]
    for card in ("Specifications, ", "Drafts, ", "Active, ", "Archived, "):
        if not any(name.startswith(card) for name in labels):
            failures.append(f"no summary card label '{card}…'")
        if any(name.startswith(card) for name in buttons):
            failures.append(f"the summary card '{card}…' is announced as a button, yet does nothing")
    for spec in specs:
        if f"Show {spec} in File Manager" not in buttons:
            failures.append(f"no button 'Show {spec} in File Manager'")
    if "Show in File Manager" in buttons:
        failures.append("a 'Show in File Manager' button does not name its specification")

    # Open the project's description through the outline's selection, then look at the switch.
    # Qt reports the rows of a tree as table cells.
    rows = [row for row in outline if describe(row) in (("tree item", "project.md"), ("table cell", "project.md"))]
    if not rows:
        failures.append(f"the outline has no row 'project.md' (rows: {[describe(row) for row in outline]})")
        return
    table = outline.queryTable()
    table.addRowSelection(table.getRowAtIndex(rows[0].getIndexInParent()))
    segment = wait_for(app, lambda n: describe(n) == ("radio button", "Source"), time.time() + TIMEOUT)
    if segment is None:
        kinds = sorted({describe(n) for n in walk(app, limit=[0]) if describe(n)[1] in ("Preview", "Source")})
        failures.append(f"no radio button 'Source' after opening a file (found {kinds})")
        return
    preview = wait_for(app, lambda n: describe(n) == ("radio button", "Preview"), time.time() + 5)
    if preview is None:
        failures.append("no radio button 'Preview'")
        return
    checked = [node.getState().contains(pyatspi.STATE_CHECKED) for node in (preview, segment)]
    if checked != [True, False]:
        failures.append(f"Preview/Source checked states are {checked}, expected [True, False]")
    check_document(app, os.path.join(project, "kestrune", "project.md"), failures)


def markdown_outline(path):
    """The file's headings without their markup, and whether it has inline links."""
    with open(path, encoding="utf-8") as source:
        text = source.read()
    headings, fenced = [], False
    for line in text.splitlines():
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced and re.match(r"#{1,6} ", line):
            headings.append(re.sub(r"[`*_]", "", line.lstrip("#").strip()))
    return headings, re.search(r"(?<!!)\[[^\]]+\]\([^)]+\)", text) is not None


def document_dump(document, lines=40):
    """What a screen reader finds in the rendered document: its children and its first lines."""
    out = [f"[{document.getRoleName()}] {document.name!r}"]
    for child in document:
        out.append(f"  [{child.getRoleName()}] {child.name!r} {child.description!r}")
    text = document.queryText()
    out.append(f"  text: {text.characterCount} characters; the first {lines} lines:")
    out.extend("  | " + line for line in text.getText(0, -1).split("\n")[:lines])
    return "\n".join(out)


def check_document(app, path, failures):
    """The rendered file is a document named after the file, reading its text, headings and links."""
    name = os.path.basename(path)
    document = wait_for(app, lambda n: describe(n) in (("document frame", name), ("document text", name)),
                        time.time() + TIMEOUT)
    if document is None:
        found = sorted({describe(n) for n in walk(app, limit=[0]) if "document" in describe(n)[0]})
        failures.append(f"no document named '{name}' after opening it (documents: {found})")
        return
    headings, has_links = markdown_outline(path)
    text = document.queryText().getText(0, -1)
    if headings and not text.startswith(headings[0]):
        failures.append(f"the document's text starts with {text[:40]!r}, not the heading {headings[0]!r}")
    if headings:
        # The heading selected through the bus is the view's selection, read back the same way.
        reader = document.queryText()
        reader.setSelection(0, 0, len(headings[0]))
        selected = (reader.getNSelections(), tuple(reader.getSelection(0)))
        if selected != (1, (0, len(headings[0]))):
            failures.append(f"selecting the first heading of {name} reads back as {selected}")
        reader.removeSelection(0)
    if headings:
        check_attributes(document.queryText(), text, headings[0], name, failures)
    children = [describe(child) for child in document]
    found_headings = [child_name for role, child_name in children if role == "heading"]
    if found_headings[:len(headings)] != headings:
        failures.append(f"the document's headings are {found_headings}, expected {headings}")
    if has_links and not any(role == "link" for role, _ in children):
        failures.append("the document has links but no child reads as a link")
    dump = os.environ.get("KESTRUNE_ACCESSIBILITY_DUMP")
    if dump:
        with open(dump, "a", encoding="utf-8") as out:
            out.write(document_dump(document) + "\n")


def attribute_run(reader, offset):
    """The text attributes at offset as a dictionary, and the run they hold for."""
    pairs, start, end = reader.getAttributeRun(offset, False)
    return dict(pair.split(":", 1) for pair in pairs if ":" in pair), start, end


def check_attributes(reader, text, heading, name, failures):
    """The first heading is one run, bold and larger than the text after it, in a named font."""
    attributes, start, end = attribute_run(reader, 1)
    if (start, end) != (0, len(heading)):
        failures.append(f"the first heading of {name} reads as the run [{start}, {end}), not [0, {len(heading)})")
    for key in ("family-name", "size", "weight", "fg-color"):
        if key not in attributes:
            failures.append(f"the first heading of {name} has no text attribute {key!r} ({attributes})")
            return
    # The bridge passes the weight on as the page gives it: a word or a number.
    if attributes["weight"] not in ("bold", "700"):
        failures.append(f"the first heading of {name} reads with weight {attributes['weight']!r}, not bold")
    body = text.find("\n", len(heading)) + 1
    if body <= 0 or body >= len(text):
        return
    following, _, _ = attribute_run(reader, body)
    try:
        larger = float(attributes["size"]) > float(following.get("size", "inf"))
    except ValueError:
        larger = False
    if not larger:
        failures.append(f"the first heading of {name} is not larger than the text after it "
                        f"({attributes.get('size')} against {following.get('size')})")


def check_linked_document(app, program, env, project, failures):
    """A file with links, handed to the running program by a second start, reads its links."""
    path = os.path.join(project, "kestrune", "specs", "sync", "overview.md")
    subprocess.run([program, path], env=env, timeout=TIMEOUT, check=False)
    document = wait_for(app, lambda n: describe(n) in (("document frame", "overview.md"),), time.time() + TIMEOUT)
    if document is None:
        failures.append("no document 'overview.md' after handing the file to the running program")
        return
    links = [name for role, name in map(describe, document) if role == "link"]
    if "note editing" not in links:
        failures.append(f"overview.md's link 'note editing' is not a child link (links: {links})")
    check_document(app, path, failures)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program, project = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if os.environ.get("KESTRUNE_ACCESSIBILITY_DUMP"):
        open(os.environ["KESTRUNE_ACCESSIBILITY_DUMP"], "w", encoding="utf-8").close()
    with tempfile.TemporaryDirectory() as config:
        env = dict(os.environ)
        env.update({
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "XDG_CONFIG_HOME": config,
            "LC_ALL": "C.UTF-8",
            "LANG": "C.UTF-8",
            "LANGUAGE": "",
            "ASAN_OPTIONS": "detect_leaks=0",
        })
        env.pop("QT_QPA_PLATFORM", None)  # the real display: offscreen has no accessibility bridge
        app_process = subprocess.Popen([program, project], env=env)
        try:
            app = find_application(app_process.pid, time.time() + TIMEOUT)
            if app is None:
                print("check-accessibility: the program never showed up on the accessibility bus, skipped")
                return SKIP
            failures = []
            check(app, project, failures)
            if not failures:
                check_linked_document(app, program, env, project, failures)
        finally:
            app_process.terminate()
            try:
                app_process.wait(20)
            except subprocess.TimeoutExpired:
                app_process.kill()
    for failure in failures:
        print("check-accessibility: FAIL:", failure)
    if failures:
        return 1
    print("check-accessibility: outline, cards, file manager buttons, view switch and document read as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
