#include "app/program.h"
#include "printing/document_tags.h"

#include <QLocale>
#include <QTest>

using namespace printing;

namespace {

QString tagValue(const QList<DocumentTag>& tags, const char* tag) {
    for (const DocumentTag& t : tags) {
        if (t.tag == QLatin1String(tag))
            return t.value;
    }
    return QStringLiteral("missing");
}

} // namespace

// Run under LANG=C and LC_ALL=C: the user's locale speaks English, the program does not.
class TestLocale : public QObject {
    Q_OBJECT
private slots:
    void printedDatesAndMonthsAreRussianWhateverTheLanguage() {
        QCOMPARE(QLocale::system().standaloneMonthName(5), QStringLiteral("May"));
        QCOMPARE(QLocale().standaloneMonthName(5), QStringLiteral("May"));

        useRussianLocale();

        PrintedDocument document;
        document.date = datetime::encodeDate(2010, 5, 5);
        document.date2 = datetime::encodeDate(2010, 11, 22);
        document.amount = currencyFromDouble(234.5);
        const QList<DocumentTag> tags = documentTags(document, TemplateDocument::PaymentOrder);
        QCOMPARE(tagValue(tags, "<DAT_FULL>"), QStringLiteral("05 май 2010"));
        QCOMPARE(tagValue(tags, "<DAT_MMMM>"), QStringLiteral("май"));
        QCOMPARE(tagValue(tags, "<DAT2_FULL>"), QStringLiteral("22 ноябрь 2010"));
        QCOMPARE(tagValue(tags, "<SUM1>"), QStringLiteral("234,50"));
        QCOMPARE(QLocale().toString(QDate(2010, 5, 5), QStringLiteral("d MMMM yyyy")),
                 QStringLiteral("5 мая 2010"));
    }
};

QTEST_MAIN(TestLocale)
#include "test_locale.moc"
