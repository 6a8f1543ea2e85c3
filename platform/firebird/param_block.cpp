#include "platform/firebird/param_block.h"

#include "core/exceptions.h"

namespace fb {

void ParamBlock::appendLittleEndian(quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        m_bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void ParamBlock::addString(char tag, const QByteArray& value) {
    if (value.size() > 255)
        throw Exception(QStringLiteral("Слишком длинное значение параметра подключения"));
    m_bytes.append(tag);
    m_bytes.append(static_cast<char>(value.size()));
    m_bytes.append(value);
}

void ParamBlock::addLongString(char tag, const QByteArray& value) {
    if (value.size() > 65535)
        throw Exception(QStringLiteral("Слишком длинное значение параметра службы"));
    m_bytes.append(tag);
    appendLittleEndian(static_cast<quint32>(value.size()), 2);
    m_bytes.append(value);
}

void ParamBlock::addInteger(char tag, int value) {
    m_bytes.append(tag);
    m_bytes.append(char(4));
    appendLittleEndian(static_cast<quint32>(value), 4);
}

void ParamBlock::addServiceInteger(char tag, int value) {
    m_bytes.append(tag);
    appendLittleEndian(static_cast<quint32>(value), 4);
}

} // namespace fb
