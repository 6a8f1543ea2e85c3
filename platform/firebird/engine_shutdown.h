#pragma once

namespace fb {

// Keeps the engine running when the process gets SIGINT or SIGTERM.
//
// On its first attach the client library installs handlers for those two signals that shut the
// engine down at once: every attachment is cut and the database files are closed, while the
// program goes on running. A handler installed before that first attach is still called (the
// library chains it), so the program can end on its own exit path instead; this function makes
// the engine refuse the shutdown that such a signal asks for. Shutdowns for any other reason
// go on as before.
//
// Call it once, at program start; throws fb::Error when the client library refuses.
void refuseSignalShutdown();

// Shuts the engine down: the attachments still open are cut and the engine's own threads (those
// that finish a backup, for one) end. Call it once, at the end of the program, before the exit
// unloads the engine's libraries under threads that still run in them; no database call may
// follow. Waits a few seconds at most.
void shutDownEngine();

} // namespace fb
