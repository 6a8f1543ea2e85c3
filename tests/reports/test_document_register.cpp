#include "core/numbers.h"
#include "reports/document_register.h"
#include "reports/report_sheet.h"

#include <QTest>

namespace {

DateTime day(int year, int month, int dayOfMonth, int hour = 0) {
    return datetime::encode(QDate(year, month, dayOfMonth), QTime(hour, 0));
}

Currency cents(qint64 value) {
    return Currency{value * 100};
}

RegisterDocument document(int key, int type, DateTime date, const QString& number, qint64 amount,
                          const QString& partner, const QString& paymentType) {
    return {key, type, date, number, cents(amount), partner, paymentType};
}

RegisterSection section(const QList<RegisterDocument>& documents) {
    RegisterSection result{documents, {}};
    for (const RegisterDocument& document : documents)
        result.total.units += document.amount.units;
    return result;
}

const Period kFebruary = {day(2024, 2, 1), datetime::endOfDay(day(2024, 2, 29))};

// The amount of a cell as the sheet shows it.
QString shownAmount(const ReportSheet& sheet, int x, int y) {
    return formatFloat(sheet.cellNumberFormat(x, y), sheet.cellCurrency(x, y));
}

const QStringList kIncomeHead = {"№", "Дата докум.", "№ докум.", "Сумма", "От кого", "Тип платежа"};
const QStringList kIssueHead = {"№", "Дата докум.", "№ докум.", "Сумма", "Кому", "Тип платежа"};

struct SectionRoles {
    QString title;
    QString titleText;
    QString head;
    QStringList headTexts;
    QString document;
    QString total;
    QString totalText;
    bool issue = false;
};

const SectionRoles kIncomeRoles = {"ROW_INCOME_TITLE", "ПРИХОД",     "ROW_INCOME_HEAD",
                                   kIncomeHead,        "ROW_INCOME", "ROW_INCOME_TOTAL",
                                   "ИТОГО ПРИХОД",     false};
const SectionRoles kIssueRoles = {"ROW_ISSUE_TITLE", "РАСХОД",    "ROW_ISSUE_HEAD",
                                  kIssueHead,        "ROW_ISSUE", "ROW_ISSUE_TOTAL",
                                  "ИТОГО РАСХОД",    true};

// Checks one section from the empty row before it; y is left on the row after its total.
void checkSection(const ReportSheet& sheet, int& y, const RegisterSection& section,
                  const SectionRoles& roles) {
    QCOMPARE(sheet.cellParams(0, y), QString());
    QVERIFY(!sheet.cellExists(0, y) || sheet.cellText(0, y).isEmpty());
    ++y;
    QCOMPARE(sheet.rowTag(y, roles.title), QStringLiteral("Y"));
    QCOMPARE(sheet.cellText(0, y), roles.titleText);
    ++y;
    QCOMPARE(sheet.rowTag(y, roles.head), QStringLiteral("Y"));
    for (int x = 0; x < 6; ++x) {
        QCOMPARE(sheet.cellText(x, y), roles.headTexts.at(x));
        QCOMPARE(sheet.cellBorders(x, y), (SheetGrid::Borders{1, 1, 1, 1}));
    }
    ++y;
    int number = 0;
    for (const RegisterDocument& document : section.documents) {
        ++number;
        QCOMPARE(sheet.rowTag(y, roles.document), QStringLiteral("Y"));
        QCOMPARE(sheet.rowTag(y, "ROW_DOC_PRKEY"), QString::number(document.key));
        QCOMPARE(sheet.rowTag(y, "ROW_DOCTYPE"), QString::number(document.type));
        const QString date = datetime::decodeDate(document.date).toString("dd.MM.yyyy");
        QCOMPARE(sheet.rowTag(y, "ROW_DOCDATE"), roles.issue ? date : QString());
        QCOMPARE(shownAmount(sheet, 0, y), QString::number(number));
        QCOMPARE(sheet.cellAlignment(0, y), CellAlignment::Left);
        QCOMPARE(sheet.cellText(1, y), date);
        QCOMPARE(sheet.cellText(2, y), document.number);
        QCOMPARE(shownAmount(sheet, 3, y), formatAmount(document.amount.toDouble()));
        QCOMPARE(sheet.cellAlignment(3, y), CellAlignment::Right);
        QCOMPARE(sheet.cellText(4, y), document.partner);
        QCOMPARE(sheet.cellText(5, y), document.paymentType);
        for (int x = 0; x < 5; ++x)
            QCOMPARE(sheet.cellParam(x, y, "H"), QStringLiteral("1"));
        QCOMPARE(sheet.cellParam(5, y, "H"), QString());
        for (int x = 0; x < 6; ++x)
            QCOMPARE(sheet.cellBorders(x, y), SheetGrid::Borders{});
        ++y;
    }
    QCOMPARE(sheet.rowTag(y, roles.total), QStringLiteral("Y"));
    QCOMPARE(sheet.cellText(0, y), roles.totalText);
    QCOMPARE(shownAmount(sheet, 3, y), formatAmount(section.total.toDouble()));
    QCOMPARE(sheet.cellAlignment(3, y), CellAlignment::Right);
    for (int x = 0; x < 6; ++x) {
        QCOMPARE(sheet.cellBorders(x, y), (SheetGrid::Borders{0, 0, 1, 0}));
        QCOMPARE(sheet.cellParam(x, y, "H"), QString());
    }
    ++y;
}

} // namespace

Q_DECLARE_METATYPE(RegisterFigures)

// The register's sheet laid out from its figures, without a window.
class TestDocumentRegister : public QObject {
    Q_OBJECT
private slots:
    void sectionsAndTheirRows_data() {
        QTest::addColumn<RegisterFigures>("figures");
        const RegisterDocument rent =
            document(10010, 1, day(2024, 2, 1, 9), "12", 100050, "ООО Альфа", "Аренда");
        const RegisterDocument services =
            document(10011, 1, day(2024, 2, 29, 23), "", 2000, "ИП Бета", "Услуги");
        const RegisterDocument wages =
            document(10020, 2, day(2024, 2, 3, 12), "7", 30000, "ПАО Дельта", "Зарплата");
        const RegisterDocument zero =
            document(10021, 2, day(2024, 2, 28), "8", 0, "ЗАО Эпсилон", "Налоги");
        const RegisterDocument late =
            document(10022, 2, day(2024, 2, 29, 22), "9", 12345, "ПАО Дельта", "Зарплата");
        QTest::newRow("empty period") << RegisterFigures{"Касса", section({}), section({})};
        QTest::newRow("income only") << RegisterFigures{"Касса", section({rent}), section({})};
        QTest::newRow("issue only")
            << RegisterFigures{"Банк", section({}), section({wages, zero, late})};
        QTest::newRow("both") << RegisterFigures{"Банк", section({rent, services}),
                                                 section({wages, zero, late})};
    }
    void sectionsAndTheirRows() {
        QFETCH(RegisterFigures, figures);
        ReportSheet sheet;
        layoutDocumentRegister(sheet, figures, kFebruary);

        QCOMPARE(sheet.rowTag(0, "ROW_TITLE"), QStringLiteral("Y"));
        QCOMPARE(sheet.cellText(0, 0), QStringLiteral("Реестр документов"));
        QCOMPARE(sheet.rowTag(1, "ROW_HEADER1"), QStringLiteral("Y"));
        QCOMPARE(sheet.cellText(0, 1), figures.ownerName);
        QCOMPARE(sheet.rowTag(2, "ROW_HEADER2"), QStringLiteral("Y"));
        QCOMPARE(sheet.cellText(0, 2), QStringLiteral("за период с 01.02.2024 по 29.02.2024"));
        int y = 3;
        checkSection(sheet, y, figures.incoming, kIncomeRoles);
        checkSection(sheet, y, figures.outgoing, kIssueRoles);

        const int rows =
            11 + int(figures.incoming.documents.size() + figures.outgoing.documents.size());
        QCOMPARE(y, rows);
        QCOMPARE(sheet.yCount(), rows);
        QCOMPARE(sheet.xCount(), 6);
        QCOMPARE(sheet.rowCount(), rows);
        QCOMPARE(sheet.colCount(), 6);
        QCOMPARE(sheet.rowCounter(), rows + 1);
        QCOMPARE(sheet.colCounter(), 7);
    }

    void columnsAndGrid() {
        ReportSheet sheet;
        sheet.setGridSize(1, 1, 3, 3);
        layoutDocumentRegister(sheet, RegisterFigures{"Касса", section({}), section({})},
                               kFebruary);
        const QStringList tags = {"COL_NO",      "COL_DOC_DATE", "COL_DOC_NUM",
                                  "COL_DOC_SUM", "COL_DOC_PART", "COL_DOC_TYPEPAY"};
        const QList<int> widths = {40, 80, 80, 120, 350, 350};
        for (int x = 0; x < 6; ++x) {
            QCOMPARE(sheet.columnTag(x, tags.at(x)), QStringLiteral("Y"));
            QCOMPARE(sheet.colWidth(x), widths.at(x));
        }
        QCOMPARE(sheet.gridOptions(), SheetGrid::Options{});
        QCOMPARE(sheet.fixedRows(), 0);
        QCOMPARE(sheet.fixedCols(), 0);
    }

    // A recalculation over fewer documents leaves nothing of the longer sheet before it.
    void refillReplacesTheSheet() {
        ReportSheet sheet;
        const RegisterDocument wages =
            document(10020, 2, day(2024, 2, 3), "7", 30000, "ПАО Дельта", "Зарплата");
        layoutDocumentRegister(sheet, {"Банк", section({wages, wages}), section({wages, wages})},
                               kFebruary);
        const RegisterFigures empty{"Банк", section({}), section({})};
        layoutDocumentRegister(sheet, empty, kFebruary);
        int y = 3;
        checkSection(sheet, y, empty.incoming, kIncomeRoles);
        checkSection(sheet, y, empty.outgoing, kIssueRoles);
        QCOMPARE(sheet.yCount(), 11);
        for (int x = 0; x < 6; ++x)
            QVERIFY(!sheet.cellExists(x, 11));
    }

    void documentBehindACell_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("type"); // 0: none
        QTest::addColumn<int>("key");
        // Rows: 6 and 7 the incoming documents, 8 their total, 12 the outgoing one.
        QTest::newRow("number") << 0 << 6 << 1 << 10010;
        QTest::newRow("date") << 1 << 6 << 1 << 10010;
        QTest::newRow("document number") << 2 << 7 << 1 << 10011;
        QTest::newRow("amount") << 3 << 7 << 1 << 10011;
        QTest::newRow("partner") << 4 << 12 << 2 << 10020;
        QTest::newRow("unknown type") << 0 << 13 << 5 << 10030;
        QTest::newRow("payment type") << 5 << 6 << 0 << 0;
        QTest::newRow("head row") << 0 << 5 << 0 << 0;
        QTest::newRow("total row") << 3 << 8 << 0 << 0;
        QTest::newRow("title") << 0 << 0 << 0 << 0;
        QTest::newRow("beyond the sheet") << 7 << 40 << 0 << 0;
    }
    void documentBehindACell() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, type);
        QFETCH(int, key);
        ReportSheet sheet;
        layoutDocumentRegister(
            sheet,
            {"Банк",
             section({document(10010, 1, day(2024, 2, 1), "1", 100, "А", "Аренда"),
                      document(10011, 1, day(2024, 2, 2), "2", 200, "Б", "Аренда")}),
             section({document(10020, 2, day(2024, 2, 3), "3", 300, "В", "Зарплата"),
                      document(10030, 5, day(2024, 2, 4), "4", 400, "Г", "Зарплата")})},
            kFebruary);
        const std::optional<RegisterCellDocument> found = registerCellDocument(sheet, x, y);
        QCOMPARE(found.has_value(), type != 0);
        if (found) {
            QCOMPARE(found->type, type);
            QCOMPARE(found->key, key);
        }
    }
};

QTEST_MAIN(TestDocumentRegister)
#include "test_document_register.moc"
