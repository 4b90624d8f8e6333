#pragma once

#include <functional>

// Runs the event loop until `done` holds, checking every `intervalMs` milliseconds.
void runUntil(const std::function<bool()> &done, int intervalMs = 1);

// Runs the event loop for a while.
void runFor(int milliseconds);
