#include "tests/support/platform/test_database.h"

#include "core/exceptions.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

namespace testsupport {

TestDatabase::TestDatabase(const QString& fileName) {
    fb::prepareEmbeddedEngine();
    if (!m_dir.isValid())
        throw Exception(
            QStringLiteral("Cannot make a temporary folder: %1").arg(m_dir.errorString()));
    m_path = m_dir.filePath(fileName);
    m_attachment.create(m_path);
}

TestDatabase::~TestDatabase() {
    try {
        m_attachment.detach();
    } catch (const Exception&) {
        // The folder goes away all the same.
    }
}

void TestDatabase::exec(const QString& sql) {
    fb::Transaction transaction(m_attachment);
    fb::Statement statement(transaction, sql, fb::ParamMode::Untouched);
    statement.execute();
    transaction.commit();
}

void TestDatabase::exec(const QStringList& statements) {
    for (const QString& sql : statements)
        exec(sql);
}

} // namespace testsupport
