#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace testsupport {

// Writes bytes as the whole file at path; the test fails when the file cannot be written.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The bytes of the file at path; "<missing>" when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

} // namespace testsupport
