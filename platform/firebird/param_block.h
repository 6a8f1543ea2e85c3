#pragma once

#include <QByteArray>

namespace fb {

// The byte string of a database, transaction or service parameter block:
// a version byte, then clusters of a tag, a length and the value.
class ParamBlock final {
public:
    explicit ParamBlock(char version) { m_bytes.append(version); }
    ParamBlock(ParamBlock&&) noexcept = default;
    ParamBlock& operator=(ParamBlock&&) noexcept = default;
    ParamBlock(const ParamBlock&) = delete;
    ParamBlock& operator=(const ParamBlock&) = delete;

    // A tag alone (transaction parameter blocks).
    void addTag(char tag) { m_bytes.append(tag); }
    // A tag, one length byte and the bytes (database blocks, service attach).
    void addString(char tag, const QByteArray& value);
    // A tag, two length bytes (little endian) and the bytes (service start).
    void addLongString(char tag, const QByteArray& value);
    // A tag, a length byte of 4 and a four-byte little-endian value (database blocks).
    void addInteger(char tag, int value);
    // A tag and a four-byte little-endian value without a length (service start).
    void addServiceInteger(char tag, int value);

    const char* data() const { return m_bytes.constData(); }
    short size() const { return static_cast<short>(m_bytes.size()); }

private:
    void appendLittleEndian(quint32 value, int bytes);
    QByteArray m_bytes;
};

} // namespace fb
