#include "printing/report_output.h"
#include "printing/simple_forms.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace printing;

namespace {

// A document with every field filled, dated in the afternoon.
PrintedDocument sampleDocument() {
    PrintedDocument d;
    d.number = QStringLiteral("417");
    d.date = datetime::encode(QDate(2010, 5, 5), QTime(14, 30, 15));
    d.amount = currencyFromDouble(1234.565);
    d.taxPart = currencyFromDouble(205.76);
    d.purposes[0] = QStringLiteral("За канцтовари");
    d.purposes[1] = QStringLiteral("Рахунок 12 від 01.05.2010");
    d.purposes[2] = QStringLiteral("Накладна 7");
    d.extra = QStringLiteral("DT=301") + QChar(1) + QStringLiteral("KT=A-17") + QChar(1);
    d.owner = {QStringLiteral("ТОВ Калина"),  QStringLiteral("Банк"),
               QStringLiteral("Київ"),        QStringLiteral("300001"),
               QStringLiteral("26001000111"), QStringLiteral("12345678"),
               QStringLiteral("7701001"),     QStringLiteral("Бровари")};
    d.partner = {QStringLiteral("ПП Сокіл"),    QStringLiteral("Аваль"),
                 QStringLiteral("Львів"),       QStringLiteral("325000"),
                 QStringLiteral("26002000222"), QStringLiteral("87654321"),
                 QStringLiteral("7702002"),     QStringLiteral("Винники")};
    d.directorName = QStringLiteral("Іваненко І.І.");
    d.chiefAccountantName = QStringLiteral("Петренко П.П.");
    d.cashierName = QStringLiteral("Сидоренко С.С.");
    return d;
}

QStringList textsOf(const DisplayList& drawn) {
    QStringList texts;
    for (const DrawnItem& item : drawn) {
        if (item.kind != ElementKind::Line && item.kind != ElementKind::Frame)
            texts << item.text;
    }
    return texts;
}

// The position after each expected text found in order; fails naming the first one missing.
void verifyInOrder(const QStringList& texts, const QStringList& expected) {
    qsizetype from = 0;
    for (const QString& text : expected) {
        const qsizetype at = texts.indexOf(text, from);
        if (at < 0)
            QFAIL(qPrintable("not drawn in its place: " + text + "\nafter " +
                             texts.mid(0, from).join(" | ") + "\nthen " +
                             texts.mid(from).join(" | ")));
        from = at + 1;
    }
}

DisplayList render(SimpleForm form, const PrintedDocument& document, int copies,
                   const QString& name) {
    static QTemporaryDir dir;
    const FilledForm filled = fillSimpleForm(form, document, copies);
    const QString keep = qEnvironmentVariable("KALTRO_FORMS_PDF");
    const QString path = (keep.isEmpty() ? dir.path() : keep) + "/" + name + ".pdf";
    return printToPdf(filled.report, filled.data, path);
}

} // namespace

class TestSimpleForms : public QObject {
    Q_OBJECT
private slots:
    // Each form shows its title, the document's fields and the parties in the order of the
    // printed document, the date as a word date or "dd.mm.yyyy" without the time of day, and
    // the amount as its figure and its words, rounded alike.
    void eachFormShowsItsFields_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("incoming payment, Ukrainian")
            << int(SimpleForm::IncomingPayment)
            << QStringList{"ПЛАТІЖНЕ ДОРУЧЕННЯ №",
                           "417",
                           "5 травня 2010 р.",
                           "Платник",
                           "ПП Сокіл",
                           "87654321",
                           "Аваль  м.Львів",
                           "325000",
                           "26002000222",
                           "Одержувач",
                           "ТОВ Калина",
                           "12345678",
                           "Банк  м.Київ",
                           "300001",
                           "26001000111",
                           "Одна тисяча двісті тридцять чотири грн. 57 коп.",
                           "1234.57",
                           "За канцтовари",
                           "Рахунок 12 від 01.05.2010",
                           "Накладна 7"};
        QTest::newRow("incoming payment, Russian")
            << int(SimpleForm::IncomingPaymentRussian)
            << QStringList{"ПЛАТЕЖНОЕ  ПОРУЧЕНИЕ  №",
                           "417",
                           "05.05.2010",
                           "Плательщик",
                           "ПП Сокіл",
                           "7702002",
                           "Аваль  г.Львів",
                           "325000",
                           "26002000222",
                           "Получатель",
                           "ТОВ Калина",
                           "7701001",
                           "Банк  г.Київ",
                           "300001",
                           "26001000111",
                           "Одна тысяча двести тридцать четыре грн. 57 коп.",
                           "1234.57",
                           "За канцтовари",
                           "Рахунок 12 від 01.05.2010",
                           "Накладна 7"};
        QTest::newRow("payment order, Ukrainian")
            << int(SimpleForm::PaymentOrder)
            << QStringList{"ПЛАТІЖНЕ ДОРУЧЕННЯ №",
                           "417",
                           "5 травня 2010 р.",
                           "Платник",
                           "ТОВ Калина",
                           "12345678",
                           "Банк  м.Київ",
                           "300001",
                           "26001000111",
                           "Одержувач",
                           "ПП Сокіл",
                           "87654321",
                           "Аваль  м.Львів",
                           "325000",
                           "26002000222",
                           "Одна тисяча двісті тридцять чотири грн. 57 коп.",
                           "1234.57",
                           "За канцтовари",
                           "Рахунок 12 від 01.05.2010",
                           "Накладна 7"};
        QTest::newRow("payment order, Russian")
            << int(SimpleForm::PaymentOrderRussian)
            << QStringList{"ПЛАТЕЖНОЕ  ПОРУЧЕНИЕ  №",
                           "417",
                           "05.05.2010",
                           "Плательщик",
                           "ТОВ Калина",
                           "7701001",
                           "Банк  г.Київ",
                           "Получатель",
                           "ПП Сокіл",
                           "7702002",
                           "Аваль  г.Львів",
                           "Одна тысяча двести тридцать четыре грн. 57 коп.",
                           "1234.57"};
        QTest::newRow("cash receipt, Ukrainian")
            << int(SimpleForm::CashReceipt)
            << QStringList{
                   "ТОВ Калина", "Ідентифікаційний код  12345678", "Прибутковий касовий ордер №",
                   "417", "від 5 травня 2010р.", "301", "A-17", "1234.57", "ПП Сокіл",
                   "За канцтовари", "Рахунок 12 від 01.05.2010",
                   "Одна тисяча двісті тридцять чотири грн. 57 коп.", "205.76", "Накладна 7",
                   "Петренко П.П.", "Сидоренко С.С.",
                   // the receipt torn off for the payer
                   "ТОВ Калина", "Квитанція", "до прибуткового касового ордера № 417",
                   "від 5 травня 2010р.", "ПП Сокіл", "За канцтовари", "Рахунок 12 від 01.05.2010",
                   "1234.57", // the words wrap in the narrow receipt
                   "Одна тисяча двісті тридцять чотири", "грн. 57 коп.", "205.76", "Петренко П.П.",
                   "Сидоренко С.С."};
        QTest::newRow("cash receipt, Russian")
            << int(SimpleForm::CashReceiptRussian)
            << QStringList{"ТОВ Калина", "ИНН  7701001", "ПРИХОДНЫЙ  КАССОВЫЙ  ОРДЕР  №", "417",
                           "05.05.2010", "301", "A-17", "1234.57", "ПП Сокіл",
                           "Одна тысяча двести тридцать четыре грн. 57 коп.", "205.76",
                           "Петренко П.П.", "Сидоренко С.С.", "ТОВ Калина", "ИНН  7701001",
                           "КВИТАНЦИЯ", "к приходному кассовому ордеру № 417", "от 5 мая 2010г.",
                           "ПП Сокіл", "1234.57",
                           // the words wrap in the narrow receipt
                           "Одна тысяча двести тридцать четыре", "грн. 57 коп.", "205.76",
                           "Петренко П.П.", "Сидоренко С.С."};
        QTest::newRow("cash disbursement, Ukrainian")
            << int(SimpleForm::CashDisbursement)
            << QStringList{"ТОВ Калина",
                           "Ідентифікаційний код  12345678",
                           "Видатковий касовий ордер",
                           "№ 417",
                           "5 травня 2010 р.",
                           "301",
                           "A-17",
                           "1234.57",
                           "ПП Сокіл",
                           "За канцтовари",
                           "Рахунок 12 від 01.05.2010",
                           "Одна тисяча двісті тридцять чотири грн. 57 коп.",
                           "Накладна 7",
                           "Іваненко І.І.",
                           "Петренко П.П.",
                           "Сидоренко С.С."};
        QTest::newRow("cash disbursement, Russian")
            << int(SimpleForm::CashDisbursementRussian)
            << QStringList{"ТОВ Калина",
                           "ИНН  7701001",
                           "РАСХОДНЫЙ  КАССОВЫЙ  ОРДЕР  №",
                           "417",
                           "05.05.2010",
                           "301",
                           "A-17",
                           "1234.57",
                           "ПП Сокіл",
                           "За канцтовари",
                           "Рахунок 12 від 01.05.2010",
                           "Одна тысяча двести тридцать четыре грн. 57 коп.",
                           "Накладна 7",
                           "Іваненко І.І.",
                           "Петренко П.П.",
                           "Сидоренко С.С."};
    }
    void eachFormShowsItsFields() {
        QFETCH(int, form);
        QFETCH(QStringList, expected);
        const DisplayList drawn = render(
            SimpleForm(form), sampleDocument(), 1,
            QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression("[ ,]+"), "_"));
        verifyInOrder(textsOf(drawn), expected);
    }

    // A payment order prints its whole form once per copy on one run, two to a page; a cash
    // order prints once.
    void copiesPrintTheWholeForm_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("printed");
        QTest::addColumn<int>("pages");
        QTest::newRow("Ukrainian, 2")
            << int(SimpleForm::PaymentOrder) << 2 << "ПЛАТІЖНЕ ДОРУЧЕННЯ №" << 2 << 1;
        QTest::newRow("Ukrainian, 3")
            << int(SimpleForm::PaymentOrder) << 3 << "ПЛАТІЖНЕ ДОРУЧЕННЯ №" << 3 << 2;
        QTest::newRow("Russian, 3")
            << int(SimpleForm::PaymentOrderRussian) << 3 << "ПЛАТЕЖНОЕ  ПОРУЧЕНИЕ  №" << 3 << 2;
        QTest::newRow("incoming, 1")
            << int(SimpleForm::IncomingPayment) << 1 << "ПЛАТІЖНЕ ДОРУЧЕННЯ №" << 1 << 1;
    }
    void copiesPrintTheWholeForm() {
        QFETCH(int, form);
        QFETCH(int, copies);
        QFETCH(QString, title);
        QFETCH(int, printed);
        QFETCH(int, pages);
        const DisplayList drawn = render(SimpleForm(form), sampleDocument(), copies, "copies");
        QCOMPARE(textsOf(drawn).count(title), printed);
        QCOMPARE(textsOf(drawn).count("ПП Сокіл"), printed);
        QCOMPARE(drawn.last().page, pages);
    }

    // With the one-signature option the second signature line goes and the label says the
    // option's text; without it both lines print and the label is empty. The Russian layout
    // has no such label.
    void oneSignatureDropsTheSecondLine() {
        PrintedDocument document = sampleDocument();
        const auto lineCount = [](const FilledForm& form) {
            int lines = 0;
            for (const Element& e : form.report.detail.elements)
                lines += e.kind == ElementKind::Line;
            return lines;
        };
        FilledForm two = fillSimpleForm(SimpleForm::PaymentOrder, document);
        QVERIFY(two.report.detail.find("secondSignature"));
        QVERIFY(!textsOf(render(SimpleForm::PaymentOrder, document, 1, "two")).contains("Право"));

        document.oneSignature = true;
        document.oneSignatureText = QStringLiteral("Право");
        FilledForm one = fillSimpleForm(SimpleForm::PaymentOrder, document);
        QVERIFY(!one.report.detail.find("secondSignature"));
        QCOMPARE(lineCount(one), lineCount(two) - 1);
        QVERIFY(textsOf(render(SimpleForm::PaymentOrder, document, 1, "one")).contains("Право"));
        QVERIFY(textsOf(render(SimpleForm::IncomingPayment, document, 1, "one")).contains("Право"));

        FilledForm russian = fillSimpleForm(SimpleForm::PaymentOrderRussian, document);
        QVERIFY(russian.report.detail.find("secondSignature"));
        QVERIFY(
            !textsOf(render(SimpleForm::PaymentOrderRussian, document, 1, "ru")).contains("Право"));
    }

    // A cash order without a correspondent account or analytical code prints them empty, and
    // one without a tax part leaves its figure out; the amount in words follows the currency.
    void missingValuesPrintEmpty() {
        PrintedDocument document = sampleDocument();
        document.extra.clear();
        document.taxPart.reset();
        document.amount = currencyFromDouble(2.996);
        document.currency = QStringLiteral("руб.");
        for (SimpleForm form : {SimpleForm::CashReceipt, SimpleForm::CashDisbursementRussian}) {
            const QStringList texts = textsOf(render(form, document, 1, "empty"));
            QVERIFY(!texts.contains("301"));
            QVERIFY(!texts.contains("A-17"));
            QVERIFY(!texts.contains("205.76"));
            QVERIFY(texts.contains("3.00"));
            QVERIFY(texts.contains("Три руб. 00 коп."));
        }
    }
};

QTEST_MAIN(TestSimpleForms)
#include "test_simple_forms.moc"
