#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The files of a zip archive (an ODT or DOCX document), read whole and written back in order.
namespace zip {

struct Entry {
    QString name;
    QByteArray data;
    bool stored = false; // kept uncompressed (the "mimetype" entry of an ODT must be)
};

// Throws Exception when the file is no readable zip archive.
QList<Entry> read(const QString& path);

// Throws Exception when the file cannot be written.
void write(const QString& path, const QList<Entry>& entries);

} // namespace zip
