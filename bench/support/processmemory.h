#pragma once

// The memory of this process as the kernel reports it, in KiB; -1 when it cannot be read.
long residentKiB();
// The peak resident memory since the start or the last resetPeakResident().
long peakResidentKiB();
void resetPeakResident();
