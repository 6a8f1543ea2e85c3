#include "platform/zip_archive.h"

#include "core/exceptions.h"

#include <QFile>
#include <algorithm>
#include <memory>
#include <minizip/unzip.h>
#include <minizip/zip.h>

namespace zip {

namespace {

struct UnzipCloser {
    void operator()(void* file) const { unzClose(file); }
};

Exception readError(const QString& path) {
    return Exception(QStringLiteral("Не удалось прочитать документ %1").arg(path));
}

Entry readCurrent(unzFile file, const QString& path) {
    unz_file_info info{};
    char name[1024];
    if (unzGetCurrentFileInfo(file, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
        throw readError(path);
    Entry entry;
    entry.name = QString::fromUtf8(name);
    entry.stored = info.compression_method == 0;
    entry.data.resize(qsizetype(info.uncompressed_size));
    if (unzOpenCurrentFile(file) != UNZ_OK)
        throw readError(path);
    const int got = unzReadCurrentFile(file, entry.data.data(), unsigned(entry.data.size()));
    unzCloseCurrentFile(file);
    if (got != entry.data.size())
        throw readError(path);
    return entry;
}

} // namespace

QList<Entry> read(const QString& path) {
    std::unique_ptr<void, UnzipCloser> file(unzOpen64(QFile::encodeName(path).constData()));
    if (!file)
        throw readError(path);
    QList<Entry> entries;
    int status = unzGoToFirstFile(file.get());
    while (status == UNZ_OK) {
        entries.append(readCurrent(file.get(), path));
        status = unzGoToNextFile(file.get());
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        throw readError(path);
    return entries;
}

namespace {

bool writeEntry(zipFile file, const Entry& entry) {
    const QByteArray name = entry.name.toUtf8();
    zip_fileinfo info{};
    const int method = entry.stored ? 0 : Z_DEFLATED;
    if (zipOpenNewFileInZip64(file, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                              method, Z_DEFAULT_COMPRESSION, 1) != ZIP_OK)
        return false;
    const bool written =
        zipWriteInFileInZip(file, entry.data.constData(), unsigned(entry.data.size())) == ZIP_OK;
    return zipCloseFileInZip(file) == ZIP_OK && written;
}

bool writeEntries(const QString& path, const QList<Entry>& entries) {
    zipFile file = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (file == nullptr)
        return false;
    const bool written = std::all_of(entries.begin(), entries.end(), [file](const Entry& entry) {
        return writeEntry(file, entry);
    });
    return zipClose(file, nullptr) == ZIP_OK && written;
}

} // namespace

void write(const QString& path, const QList<Entry>& entries) {
    if (!writeEntries(path, entries)) {
        QFile::remove(path);
        throw Exception(QStringLiteral("Не удалось записать документ %1").arg(path));
    }
}

} // namespace zip
