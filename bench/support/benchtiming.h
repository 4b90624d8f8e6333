#pragma once

#include <functional>
#include <vector>

// The median of some timings (the list is taken by value and sorted).
double median(std::vector<double> values);

// Runs the work `runs` times and returns the median wall time in milliseconds.
double medianMs(int runs, const std::function<void()> &work);
