#include "platform/firebird/blob.h"

#include "platform/firebird/error.h"

namespace fb::blob {

namespace {

constexpr int kSegment = 32765;

// An open blob handle, closed on success and cancelled or closed when left by an exception.
class BlobHandle final {
public:
    explicit BlobHandle(bool writing) : m_writing(writing) {}
    ~BlobHandle() {
        if (!m_handle)
            return;
        Status status;
        if (m_writing)
            isc_cancel_blob(status, &m_handle);
        else
            isc_close_blob(status, &m_handle);
    }
    BlobHandle(const BlobHandle&) = delete;
    BlobHandle& operator=(const BlobHandle&) = delete;

    isc_blob_handle* get() { return &m_handle; }
    void close() {
        Status status;
        isc_close_blob(status, &m_handle);
        check(status);
        m_handle = 0;
    }

private:
    bool m_writing;
    isc_blob_handle m_handle = 0;
};

} // namespace

QByteArray read(isc_db_handle* database, isc_tr_handle* transaction, ISC_QUAD id) {
    BlobHandle blob(false);
    Status status;
    isc_open_blob2(status, database, transaction, blob.get(), &id, 0, nullptr);
    check(status);
    QByteArray result;
    char buffer[kSegment];
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS rc = isc_get_segment(status, blob.get(), &length, sizeof buffer, buffer);
        if (rc == isc_segstr_eof)
            break;
        if (rc != 0 && rc != isc_segment)
            check(status);
        result.append(buffer, length);
    }
    blob.close();
    return result;
}

ISC_QUAD write(isc_db_handle* database, isc_tr_handle* transaction, const QByteArray& bytes) {
    BlobHandle blob(true);
    ISC_QUAD id{};
    Status status;
    isc_create_blob2(status, database, transaction, blob.get(), &id, 0, nullptr);
    check(status);
    for (qsizetype offset = 0; offset < bytes.size(); offset += kSegment) {
        const qsizetype length = std::min<qsizetype>(kSegment, bytes.size() - offset);
        isc_put_segment(status, blob.get(), static_cast<unsigned short>(length),
                        bytes.constData() + offset);
        check(status);
    }
    blob.close();
    return id;
}

} // namespace fb::blob
