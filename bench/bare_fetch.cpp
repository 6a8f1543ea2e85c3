#include "bench/bare_fetch.h"

#include <QFile>

#include <stdexcept>
#include <vector>

namespace {

// Throws the client library's text of a failed call.
void check(const ISC_STATUS* status) {
    if (!(status[0] == 1 && status[1] != 0))
        return;
    std::string text;
    char line[512];
    const ISC_STATUS* vector = status;
    while (fb_interpret(line, sizeof line, &vector) > 0)
        text += std::string(line) + "\n";
    throw std::runtime_error(text);
}

void addString(std::vector<char>& block, char tag, const char* value) {
    const size_t size = strlen(value);
    block.push_back(tag);
    block.push_back(char(size));
    block.insert(block.end(), value, value + size);
}

// The output descriptor of a statement with its buffers.
class Output {
public:
    explicit Output(int columns)
        : m_memory(XSQLDA_LENGTH(columns)), m_area(reinterpret_cast<XSQLDA*>(m_memory.data())) {
        m_area->version = SQLDA_VERSION1;
        m_area->sqln = short(columns);
    }
    XSQLDA* area() { return m_area; }

    // Buffers for every column the statement has.
    void allocate() {
        m_buffers.resize(m_area->sqld);
        m_nulls.resize(m_area->sqld);
        for (int i = 0; i < m_area->sqld; ++i) {
            XSQLVAR& column = m_area->sqlvar[i];
            m_buffers[i].resize(column.sqllen + sizeof(short));
            column.sqldata = m_buffers[i].data();
            column.sqlind = &m_nulls[i];
        }
    }

private:
    std::vector<char> m_memory;
    XSQLDA* m_area;
    std::vector<std::vector<char>> m_buffers;
    std::vector<short> m_nulls;
};

void readBlob(isc_db_handle* database, isc_tr_handle* transaction, ISC_QUAD* id) {
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    isc_open_blob2(status, database, transaction, &blob, id, 0, nullptr);
    check(status);
    char segment[4096];
    unsigned short length = 0;
    while (true) {
        const ISC_STATUS result = isc_get_segment(status, &blob, &length, sizeof segment, segment);
        if (result != 0 && result != isc_segment)
            break;
    }
    isc_close_blob(status, &blob);
    check(status);
}

} // namespace

BareConnection::BareConnection(const QString& path) {
    std::vector<char> dpb{char(isc_dpb_version1)};
    addString(dpb, isc_dpb_user_name, "SYSDBA");
    addString(dpb, isc_dpb_password, "kestrowan");
    addString(dpb, isc_dpb_lc_ctype, "WIN1251");
    const QByteArray name = QFile::encodeName(path);
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, short(name.size()), name.constData(), &m_database,
                        short(dpb.size()), dpb.data());
    check(status);
}

BareConnection::~BareConnection() {
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_database);
}

int BareConnection::fetch(const QByteArray& sql, int limit) {
    ISC_STATUS_ARRAY status;
    isc_tr_handle transaction = 0;
    static char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                         isc_tpb_nowait, isc_tpb_read};
    isc_start_transaction(status, &transaction, 1, &m_database, short(sizeof tpb), tpb);
    check(status);
    isc_stmt_handle statement = 0;
    isc_dsql_allocate_statement(status, &m_database, &statement);
    check(status);
    Output output(1);
    isc_dsql_prepare(status, &transaction, &statement, 0, sql.constData(), 1, output.area());
    check(status);
    Output columns(output.area()->sqld);
    isc_dsql_describe(status, &statement, 1, columns.area());
    check(status);
    columns.allocate();
    isc_dsql_execute(status, &transaction, &statement, 1, nullptr);
    check(status);
    int rows = 0;
    while (limit < 0 || rows < limit) {
        const ISC_STATUS result = isc_dsql_fetch(status, &statement, 1, columns.area());
        if (result == 100)
            break;
        check(status);
        ++rows;
        XSQLDA* area = columns.area();
        for (int i = 0; i < area->sqld; ++i) {
            XSQLVAR& column = area->sqlvar[i];
            if ((column.sqltype & ~1) == SQL_BLOB && *column.sqlind == 0)
                readBlob(&m_database, &transaction, reinterpret_cast<ISC_QUAD*>(column.sqldata));
        }
    }
    isc_dsql_free_statement(status, &statement, DSQL_drop);
    check(status);
    isc_commit_transaction(status, &transaction);
    check(status);
    return rows;
}
