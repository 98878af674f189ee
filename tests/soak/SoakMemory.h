#pragma once

// The memory of this process, in KiB: a leak shows as memory that keeps
// growing over a long run.
long ResidentKiB(); // the resident size now, from /proc/self/statm; 0 where unknown
long PeakKiB();     // the high-water mark of the resident size (getrusage)
// The heap the program holds now: blocks allocated and not yet freed. Under
// AddressSanitizer the resident size keeps every page its allocator ever
// used (freed blocks wait in its quarantine and per-size pools, which it
// does not hand back), so only this tells a leak from the allocator's habits.
long LiveHeapKiB();
