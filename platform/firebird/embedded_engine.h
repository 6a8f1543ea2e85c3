#pragma once

#include <QString>

namespace fb {

// Prepares the embedded engine so that several copies of the program can open one database
// file at the same time.
//
// Firebird 3 embedded runs in Super mode by default and then locks a database file for a single
// process. This function gives the client library a private Firebird root: a folder with its own
// firebird.conf ("ServerMode = SuperClassic"), links to the system's plugins, plugins.conf,
// message file and intl/fbintl.conf, and a copy of intl/libfbintl.so (the engine refuses the
// character-set library through a link), and points the environment variable FIREBIRD at it.
// The folder is ~/.cache/kaltro/firebird, or /tmp/kaltro-firebird-<uid> when that cannot be
// used; a folder that is a link or belongs to another user is never used.
//
// Call it once at program start, before any database use. It does nothing when FIREBIRD is
// already set by the user. Returns the root in use (the user's, the prepared one, or empty
// when the folder could not be prepared; the library then keeps its own default).
QString prepareEmbeddedEngine();

// The system's Firebird 3 folder that the private root takes its files from; empty when none.
QString systemFirebirdRoot();

} // namespace fb
