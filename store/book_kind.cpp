#include "store/book_kind.h"

#include "core/numbers.h"
#include "store/data_store.h"

int ownerType(DataStore& store) {
    return strToInt(store.fieldValue("PARTS", "LOWNER", kOwnerKey).trimmed());
}
