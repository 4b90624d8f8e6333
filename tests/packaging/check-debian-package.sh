#!/bin/sh
# Builds the Debian package of a configured build tree, checks it with lintian, unpacks it into a
# scratch root and runs the installed programs from there.
#
# Usage: check-debian-package.sh BUILD_DIR [LINTIAN [TAG...]]
#   LINTIAN  the lintian program; the package is not linted when it is empty
#   TAG      lintian tags that this build draws and a release build does not, not reported
# Environment: KESTRUNE_EXPECTED_MAINTAINER, "Name <mail>" the package must name as its Maintainer
# and whose mail the metadata gives as its contact; KESTRUNE_RELEASE_BUILD=1 refuses an
# example.org address there.
set -eu
BUILD_DIR=$1
LINTIAN=${2:-}
if [ $# -ge 2 ]; then
  shift 2
else
  shift $#
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 || {
  cat "$WORK/cpack.log"
  exit 1
}
PACKAGE=$(ls "$WORK"/out/*.deb)
echo "package: $(basename "$PACKAGE")"
dpkg-deb --field "$PACKAGE" Package Version Depends

# Errors, warnings and the informational tags fail; pedantic ones are shown. What cannot be
# helped is overridden in packaging/lintian-overrides, shipped with the package.
if [ -n "$LINTIAN" ]; then
  SUPPRESS=""
  if [ $# -gt 0 ]; then
    SUPPRESS="--suppress-tags=$(echo "$@" | tr ' ' ',')"
  fi
  # shellcheck disable=SC2086
  if ! "$LINTIAN" --fail-on error,warning,info --display-info --pedantic \
    $SUPPRESS "$PACKAGE" 2>"$WORK/lintian.err"; then
    grep -v "running with root privileges" "$WORK/lintian.err" || true
    echo "lintian found faults in the package"
    exit 1
  fi
else
  echo "lintian not installed: the package is not linted"
fi

DEPENDS=$(dpkg-deb --field "$PACKAGE" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6; do
  case "$DEPENDS" in
    *"$library"*) ;;
    *) echo "missing dependency on $library"; exit 1 ;;
  esac
done

ROOT="$WORK/root"
dpkg -x "$PACKAGE" "$ROOT"
DOC=usr/share/doc/kestrune-viewer
for file in \
  usr/bin/kestrune-viewer \
  usr/bin/kestrune-report \
  usr/share/applications/org.kestrune.KestruneViewer.desktop \
  usr/share/metainfo/org.kestrune.KestruneViewer.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/org.kestrune.KestruneViewer.svg \
  usr/share/icons/hicolor/16x16/apps/org.kestrune.KestruneViewer.svg \
  usr/share/icons/hicolor/24x24/apps/org.kestrune.KestruneViewer.svg \
  $DOC/copyright \
  $DOC/changelog.gz; do
  if [ ! -e "$ROOT/$file" ]; then
    echo "not installed: $file"
    exit 1
  fi
done

# Who maintains the package: as configured, in the package and in the metadata, and in a release
# build a real address.
MAINTAINER=$(dpkg-deb --field "$PACKAGE" Maintainer)
if [ -n "${KESTRUNE_EXPECTED_MAINTAINER:-}" ] && [ "$MAINTAINER" != "$KESTRUNE_EXPECTED_MAINTAINER" ]; then
  echo "the package's Maintainer is '$MAINTAINER', not '$KESTRUNE_EXPECTED_MAINTAINER'"
  exit 1
fi
CONTACT=$(sed -n 's|.*<update_contact>\(.*\)</update_contact>.*|\1|p' \
  "$ROOT/usr/share/metainfo/org.kestrune.KestruneViewer.metainfo.xml")
case "$MAINTAINER" in
  *"<$CONTACT>") ;;
  *) echo "the metadata's contact '$CONTACT' is not the Maintainer's mail ($MAINTAINER)"; exit 1 ;;
esac
if [ "${KESTRUNE_RELEASE_BUILD:-0}" = 1 ]; then
  case "$MAINTAINER" in
    *example.org*) echo "a release names a placeholder maintainer: configure KESTRUNE_MAINTAINER"; exit 1 ;;
  esac
fi

# The changelog must have an entry for the version being packaged.
zcat "$ROOT/$DOC/changelog.gz" >"$WORK/changelog"
CHANGELOG_VERSION=$(dpkg-parsechangelog -l "$WORK/changelog" -S Version)
VERSION=$(dpkg-deb --field "$PACKAGE" Version)
if [ "$CHANGELOG_VERSION" != "$VERSION" ]; then
  echo "the package is version $VERSION, its changelog's last entry $CHANGELOG_VERSION:"
  echo "add an entry to packaging/changelog"
  exit 1
fi

# Every program has a manual page that troff reads without a warning.
for program in "$ROOT"/usr/bin/*; do
  page="$ROOT/usr/share/man/man1/$(basename "$program").1.gz"
  if [ ! -e "$page" ]; then
    echo "no manual page for $(basename "$program")"
    exit 1
  fi
  zcat "$page" | groff -man -Tutf8 -ww -z >"$WORK/groff.log" 2>&1
  if [ -s "$WORK/groff.log" ]; then
    echo "$(basename "$page"):"
    cat "$WORK/groff.log"
    exit 1
  fi
done

"$ROOT/usr/bin/kestrune-report" --version
"$ROOT/usr/bin/kestrune-viewer" --version
if [ -e "$ROOT/usr/bin/kestrune-md" ]; then
  "$ROOT/usr/bin/kestrune-md" --version
  case "$DEPENDS" in
    *libcmark-gfm*) ;;
    *) echo "missing dependency on libcmark-gfm"; exit 1 ;;
  esac
fi
echo "package installs and runs"
