// A thumbnail passes through several pictures of a few hundred kilobytes each (the page, its
// copy, the framed thumbnail, the PNG). malloc gives each block that large a mapping of its own
// and unmaps it when freed, so every one of their pages is faulted in anew, and a page fault costs
// more than drawing the page's pixels does. Kept in the heap instead, freed pages are reused.
#pragma once

// Serves blocks of up to 32 MiB from the heap and keeps freed memory there. Call first in main.
void ReuseFreedMemory();
