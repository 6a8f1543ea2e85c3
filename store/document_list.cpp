#include "store/document_list.h"

#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"

namespace {

// The amounts are summed as whole ten-thousandths: the sum of whole numbers is exact.
constexpr char kTotalSelect[] = "SELECT SUM(ROUND(O.SUM1*10000)) FROM OPER O, PARTS P\n";
constexpr char kRowsSelect[] = "SELECT O.*,P.LNAM FROM OPER O, PARTS P\n";
constexpr char kRowsOrder[] = "ORDER BY O.DAT DESC, P.LNAM";

QString conditions(const DocumentListFilter& filter) {
    QString text = QStringLiteral("WHERE O.LPART=P.PRKEY and O.TYP=:ITYP\n"
                                  "and O.DAT BETWEEN :SDAT and :EDAT\n");
    if (filter.partner)
        text += QStringLiteral("and O.LPART=:LPART\n");
    return text;
}

} // namespace

void selectDocumentList(fb::DataSet& rows, const DocumentListFilter& filter) {
    rows.setSQL(QLatin1String(kRowsSelect) + conditions(filter) + QLatin1String(kRowsOrder));
    rows.setParam(QStringLiteral("ITYP"), filter.type);
    rows.setParamDateTime(QStringLiteral("SDAT"), filter.start);
    rows.setParamDateTime(QStringLiteral("EDAT"), filter.end);
    if (filter.partner)
        rows.setParam(QStringLiteral("LPART"), *filter.partner);
}

Currency documentListTotal(fb::Transaction& transaction, const DocumentListFilter& filter) {
    fb::Statement total(transaction, QLatin1String(kTotalSelect) + conditions(filter));
    total.param(QStringLiteral("ITYP")).setInteger(filter.type);
    total.param(QStringLiteral("SDAT")).setDateTime(filter.start);
    total.param(QStringLiteral("EDAT")).setDateTime(filter.end);
    if (filter.partner)
        total.param(QStringLiteral("LPART")).setInteger(*filter.partner);
    total.execute();
    const Currency sum = total.fetch() && !total.field(0).isNull()
                             ? Currency{total.field(0).asInteger()}
                             : Currency{};
    total.close();
    return sum;
}
