#pragma once

#include <QByteArray>
#include <ibase.h>

// Whole blobs as raw bytes: no filter, no transliteration, every byte kept.
namespace fb::blob {

// Reads the blob id of one row; throws fb::Error.
QByteArray read(isc_db_handle* database, isc_tr_handle* transaction, ISC_QUAD id);

// Writes bytes into a new blob and returns its id, to be sent as a parameter value;
// throws fb::Error (the unfinished blob is cancelled).
ISC_QUAD write(isc_db_handle* database, isc_tr_handle* transaction, const QByteArray& bytes);

} // namespace fb::blob
