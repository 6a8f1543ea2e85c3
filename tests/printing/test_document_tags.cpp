#include "printing/document_tags.h"

#include <QLocale>
#include <QTest>

using namespace printing;

Q_DECLARE_METATYPE(printing::PrintedDocument)
Q_DECLARE_METATYPE(printing::TemplateDocument)

namespace {

using Tags = QList<DocumentTag>;

PartyCard owner() {
    return {QStringLiteral("ТОВ Калина"), QStringLiteral("Банк"),        QStringLiteral("Київ"),
            QStringLiteral("300001"),     QStringLiteral("26001000111"), QStringLiteral("12345678"),
            QStringLiteral("7701001"),    QStringLiteral("Бровари")};
}

PartyCard partner() {
    return {QStringLiteral("ПП Сокіл"), QStringLiteral("Аваль"),       QStringLiteral("Львів"),
            QStringLiteral("325000"),   QStringLiteral("26002000222"), QStringLiteral("87654321"),
            QStringLiteral("7702002"),  QStringLiteral("Винники")};
}

// Every field filled; the amount has one decimal, the date an hour of the day.
PrintedDocument fullDocument() {
    PrintedDocument d;
    d.number = QStringLiteral("417");
    d.date = datetime::encode(QDate(2010, 5, 5), QTime(14, 30, 15));
    d.date2 = datetime::encodeDate(2010, 11, 22);
    d.amount = currencyFromDouble(234.5);
    d.taxPart = currencyFromDouble(1001.07);
    d.purposes[0] = QStringLiteral("За канцтовари");
    d.purposes[1] = QStringLiteral("Рахунок 12");
    d.purposes[2] = QStringLiteral("Накладна 7");
    d.paymentType = QStringLiteral("Оплата");
    d.extra = QStringLiteral("DT=301") + QChar(1) + QStringLiteral("KT=A-17") + QChar(1);
    d.owner = owner();
    d.partner = partner();
    d.directorName = QStringLiteral("Іваненко І.І.");
    d.chiefAccountantName = QStringLiteral("Петренко П.П.");
    d.cashierName = QStringLiteral("Сидоренко С.С.");
    d.currency = QStringLiteral("руб.");
    return d;
}

// A new document as it is first saved: no second date, no tax part, no partner, no texts.
PrintedDocument bareDocument() {
    PrintedDocument d;
    d.date = datetime::encodeDate(2011, 1, 31);
    d.amount = currencyFromDouble(0.07);
    return d;
}

Tags fullOwnTags() {
    return {{"<CONST_CURR>", "руб."},
            {"<NUM>", "417"},
            {"<DAT>", "05.05.2010"},
            {"<DAT_FULL>", "05 травень 2010"},
            {"<DAT_DD>", "5"},
            {"<DAT_MMMM>", "травень"},
            {"<DAT_YYYY>", "2010"},
            {"<DAT_MONTH_UA>", "травень"},
            {"<DAT_MONTH2_UA>", "травня"},
            {"<DAT_MONTH_RU>", "май"},
            {"<DAT_MONTH2_RU>", "мая"},
            {"<DAT2>", "22.11.2010"},
            {"<DAT2_FULL>", "22 листопад 2010"},
            {"<DAT2_DD>", "22"},
            {"<DAT2_MMMM>", "листопад"},
            {"<DAT2_YYYY>", "2010"},
            {"<PURP1>", "За канцтовари"},
            {"<PURP2>", "Рахунок 12"},
            {"<PURP3>", "Накладна 7"},
            {"<REASON>", "Оплата"},
            {"<SUM1>", "234,50"},
            {"<SUM2>", "1001,07"},
            {"<SUM1_L>", "234"},
            {"<SUM1_R>", "50"},
            {"<SUM2_L>", "1001"},
            {"<SUM2_R>", "07"},
            {"<SUM1_WORDS_UA>", "Двісті тридцять чотири руб. 50 коп."},
            {"<SUM1_WORDS_RU>", "Двести тридцать четыре руб. 50 коп."},
            {"<SUM2_WORDS_UA>", "Одна тисяча одна руб. 07 коп."},
            {"<SUM2_WORDS_RU>", "Одна тысяча один руб. 07 коп."}};
}

// The null second date prints nothing in any of its tags; the null tax part prints an empty
// figure but zero in its parts and words.
Tags bareOwnTags() {
    return {{"<CONST_CURR>", "грн."},
            {"<NUM>", ""},
            {"<DAT>", "31.01.2011"},
            {"<DAT_FULL>", "31 січень 2011"},
            {"<DAT_DD>", "31"},
            {"<DAT_MMMM>", "січень"},
            {"<DAT_YYYY>", "2011"},
            {"<DAT_MONTH_UA>", "січень"},
            {"<DAT_MONTH2_UA>", "січня"},
            {"<DAT_MONTH_RU>", "январь"},
            {"<DAT_MONTH2_RU>", "января"},
            {"<DAT2>", ""},
            {"<DAT2_FULL>", ""},
            {"<DAT2_DD>", ""},
            {"<DAT2_MMMM>", ""},
            {"<DAT2_YYYY>", ""},
            {"<PURP1>", ""},
            {"<PURP2>", ""},
            {"<PURP3>", ""},
            {"<REASON>", ""},
            {"<SUM1>", "0,07"},
            {"<SUM2>", ""},
            {"<SUM1_L>", "0"},
            {"<SUM1_R>", "07"},
            {"<SUM2_L>", "0"},
            {"<SUM2_R>", "00"},
            {"<SUM1_WORDS_UA>", "Нуль грн. 07 коп."},
            {"<SUM1_WORDS_RU>", "Ноль грн. 07 коп."},
            {"<SUM2_WORDS_UA>", "Нуль грн. 00 коп."},
            {"<SUM2_WORDS_RU>", "Ноль грн. 00 коп."}};
}

Tags ownerTags(const QString& prefix) {
    return {{"<" + prefix + "PART>", "ТОВ Калина"}, {"<" + prefix + "CITY>", "Бровари"},
            {"<" + prefix + "INCITY>", "Київ"},     {"<" + prefix + "INBANK>", "Банк"},
            {"<" + prefix + "MFO>", "300001"},      {"<" + prefix + "RS>", "26001000111"},
            {"<" + prefix + "OKPO>", "12345678"},   {"<" + prefix + "INDN>", "7701001"}};
}

Tags partnerTags(const QString& prefix) {
    return {{"<" + prefix + "PART>", "ПП Сокіл"}, {"<" + prefix + "CITY>", "Винники"},
            {"<" + prefix + "INCITY>", "Львів"},  {"<" + prefix + "INBANK>", "Аваль"},
            {"<" + prefix + "MFO>", "325000"},    {"<" + prefix + "RS>", "26002000222"},
            {"<" + prefix + "OKPO>", "87654321"}, {"<" + prefix + "INDN>", "7702002"}};
}

Tags emptyPartyTags(const QString& prefix) {
    Tags tags;
    for (const char* suffix : {"PART", "CITY", "INCITY", "INBANK", "MFO", "RS", "OKPO", "INDN"})
        tags << DocumentTag{"<" + prefix + suffix + ">", QString()};
    return tags;
}

QString describe(const Tags& tags) {
    QStringList lines;
    for (const DocumentTag& tag : tags)
        lines << tag.tag + "=" + tag.value;
    return lines.join('\n');
}

} // namespace

class TestDocumentTags : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine)); }

    void tagsOfEachDocument_data() {
        QTest::addColumn<PrintedDocument>("document");
        QTest::addColumn<TemplateDocument>("kind");
        QTest::addColumn<Tags>("expected");
        const Tags dtKt = {{"<DT>", "301"}, {"<KT>", "A-17"}};
        const Tags noDtKt = {{"<DT>", ""}, {"<KT>", ""}};
        const Tags signers = {{"<PLAT_DIR>", "Іваненко І.І."},
                              {"<PLAT_GLBUH>", "Петренко П.П."},
                              {"<PLAT_KASSIR>", "Сидоренко С.С."}};
        QTest::newRow("incoming payment")
            << fullDocument() << TemplateDocument::IncomingPayment
            << fullOwnTags() + partnerTags("PLAT_") + ownerTags("POL_");
        QTest::newRow("payment order") << fullDocument() << TemplateDocument::PaymentOrder
                                       << fullOwnTags() + ownerTags("PLAT_") + partnerTags("POL_");
        QTest::newRow("cash receipt")
            << fullDocument() << TemplateDocument::CashReceipt
            << fullOwnTags() + dtKt + partnerTags("PLAT_") + ownerTags("POL_") +
                   Tags{{"<POL_GLBUH>", "Петренко П.П."}, {"<POL_KASSIR>", "Сидоренко С.С."}};
        QTest::newRow("cash disbursement")
            << fullDocument() << TemplateDocument::CashDisbursement
            << fullOwnTags() + dtKt + ownerTags("PLAT_") + signers + partnerTags("POL_");
        const Tags bareParties = emptyPartyTags("PLAT_") + emptyPartyTags("POL_");
        QTest::newRow("bare incoming payment")
            << bareDocument() << TemplateDocument::IncomingPayment << bareOwnTags() + bareParties;
        QTest::newRow("bare payment order")
            << bareDocument() << TemplateDocument::PaymentOrder << bareOwnTags() + bareParties;
        QTest::newRow("bare cash receipt") << bareDocument() << TemplateDocument::CashReceipt
                                           << bareOwnTags() + noDtKt + bareParties +
                                                  Tags{{"<POL_GLBUH>", ""}, {"<POL_KASSIR>", ""}};
        QTest::newRow("bare cash disbursement")
            << bareDocument() << TemplateDocument::CashDisbursement
            << bareOwnTags() + noDtKt + emptyPartyTags("PLAT_") +
                   Tags{{"<PLAT_DIR>", ""}, {"<PLAT_GLBUH>", ""}, {"<PLAT_KASSIR>", ""}} +
                   emptyPartyTags("POL_");
    }
    void tagsOfEachDocument() {
        QFETCH(PrintedDocument, document);
        QFETCH(TemplateDocument, kind);
        QFETCH(Tags, expected);
        const Tags tags = documentTags(document, kind);
        QCOMPARE(describe(tags), describe(expected));
    }

    // The figures and the locale's month names follow the locale; the named months do not.
    void figuresAndMonthsFollowTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const Tags tags = documentTags(fullDocument(), TemplateDocument::PaymentOrder);
        QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
        const auto value = [&tags](const char* tag) {
            for (const DocumentTag& t : tags) {
                if (t.tag == tag)
                    return t.value;
            }
            return QStringLiteral("missing");
        };
        QCOMPARE(value("<DAT_FULL>"), QStringLiteral("05 May 2010"));
        QCOMPARE(value("<DAT2_MMMM>"), QStringLiteral("November"));
        QCOMPARE(value("<DAT_MONTH_UA>"), QStringLiteral("травень"));
        QCOMPARE(value("<SUM1>"), QStringLiteral("234.50"));
        QCOMPARE(value("<SUM2_L>"), QStringLiteral("1001"));
    }
};

QTEST_MAIN(TestDocumentTags)
#include "test_document_tags.moc"
