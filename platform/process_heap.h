#pragma once

// The program reads a browser's rows anew at each refresh and frees the old ones: tens of
// megabytes for a year of documents. The C library would hand such memory back to the system
// at every free and take it again, page by page, at the next read. keepFreedHeap asks it to
// keep up to a quarter of a gigabyte of freed memory for reuse, large blocks included. Called
// once at start-up, before the first allocation that matters.
void keepFreedHeap();
