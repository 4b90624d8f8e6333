#pragma once

#include <functional>
#include <vector>

// The median of some timings (the list is taken by value and sorted).
double median(std::vector<double> values);

// The wall time of one run of the work, in milliseconds.
double timeMs(const std::function<void()> &work);

// Runs the work `runs` times and returns the median wall time in milliseconds.
double medianMs(int runs, const std::function<void()> &work);
