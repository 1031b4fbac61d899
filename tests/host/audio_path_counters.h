// Counters of heap allocations and mutex locks made by anything in the
// process while counting is on.
#pragma once

void StartCounting();
void StopCounting();
long CountedAllocations();
long CountedLocks();
