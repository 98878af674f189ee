#pragma once

// The memory of this process, in KiB: a leak shows as a resident size that
// keeps growing over a long run.
long ResidentKiB(); // now, from /proc/self/statm; 0 where unknown
long PeakKiB();     // the high-water mark of the resident size (getrusage)
