#pragma once

#include <functional>
#include <qnamespace.h>

// Shows cursor while method runs; the cursor before it comes back also when method raises.
void execWithCursor(Qt::CursorShape cursor, const std::function<void()>& method);

// execWithCursor with the wait cursor of database work.
void execWithSQLWaitCursor(const std::function<void()>& method);
