#pragma once

#include "history/changehistoryevent.h"

#include <QString>

namespace kestrune {

// One entry of a change's timeline in words, as its row says it.
namespace TimelineEventText {

// What the commit did to the change: "Created", "Proposal edited, Delta spec tagging added",
// "Tasks ticked 3 → 7 of 12", "Archived → 2026-03-02-add-tagging".
QString whatItDid(const ChangeHistoryEvent &event);
// The files it touched, relative to the change's folder, comma-separated; for a move that
// changed none, the folder before and after ("kestrune/changes/a → kestrune/changes/archive/…").
QString files(const ChangeHistoryEvent &event);
// The whole row for a screen reader: date, author, subject, what it did, files.
QString accessibleText(const ChangeHistoryEvent &event);

} // namespace TimelineEventText

} // namespace kestrune
