#pragma once

#include "platform/firebird/attachment.h"

#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// A fresh, empty database for one test: SQL dialect 1, default character set WIN1251,
// created in its own temporary folder and attached. Destroying it detaches and removes the
// folder with everything in it (backups made there included).
//
//   testsupport::TestDatabase db;
//   db.exec("CREATE TABLE T (PRKEY INTEGER NOT NULL, NAME VARCHAR(50))");
//   fb::Transaction tr(db.attachment());
//   ...
//
// The first TestDatabase of a process prepares the embedded engine (fb::prepareEmbeddedEngine),
// so a test program needs no set-up of its own. Failures throw (fb::Error, Exception); Qt Test
// reports an exception that escapes a test function as a failure.
class TestDatabase {
public:
    // fileName: the database file's name inside the temporary folder.
    explicit TestDatabase(const QString& fileName = QStringLiteral("test.fdb"));
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    fb::Attachment& attachment() { return m_attachment; }
    // The database file's path and the temporary folder that holds it.
    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // A path for another file in the same temporary folder.
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Runs each statement in its own write transaction and commits it. The text goes to the
    // server untouched (PSQL bodies with ":VARIABLE" are fine), so it takes no parameters.
    void exec(const QString& sql);
    void exec(const QStringList& statements);

private:
    QTemporaryDir m_dir;
    QString m_path;
    fb::Attachment m_attachment;
};

} // namespace testsupport
