#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/new_book.h"
#include "store/partners.h"
#include "store/payment_types.h"
#include "store/print_templates.h"
#include "store/stored_row.h"
#include "store/users.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/store/schema_support.h"

#include <QTest>

using schematest::Dialogs;
using schematest::Workplace;
using testsupport::messageOf;

namespace {

const QString kChanged = QStringLiteral("<changed elsewhere>");

// A new bank-account book open in the data store.
struct OpenBook {
    Dialogs dialogs;
    Workplace place;
    DataStore& store = place.store();
    OpenBook() {
        store.database().attach(createNewBook(BookKind::BankAccount, QStringLiteral("Счет"),
                                              place.folder(), schematest::templatesFolder()));
    }
    // Runs a statement without parameters in a transaction of its own: another copy's change.
    void execute(const QString& sql) {
        fb::Transaction transaction(store.database());
        fb::Statement statement(transaction, sql, fb::ParamMode::Untouched);
        statement.execute();
        transaction.commit();
    }
    QStringList rows(const QString& sql) { return schematest::rows(store.database(), sql); }
};

QStringList entryTexts(const QList<DictionaryEntry>& entries) {
    QStringList texts;
    for (const DictionaryEntry& entry : entries)
        texts << QString::number(entry.key) + u' ' + entry.name;
    return texts;
}

// The rows of a data set as "NAME|EXT".
QStringList templateRows(fb::DataSet& rows) {
    QStringList texts;
    for (rows.first(); !rows.eof(); rows.next())
        texts << rows.field("NAME").asString() + u'|' + rows.field("EXT").asString();
    return texts;
}

QStringList deniedKeys(const QList<Permission>& permissions) {
    QStringList keys;
    for (const Permission& permission : permissions)
        if (!permission.allowed)
            keys << rightsKey(rightsAreas().at(permission.area), permission.action);
    return keys;
}

} // namespace

// The tables behind the dictionaries and the template store, on real books: what their
// classes read and write.
class TestBookTables : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fb::prepareEmbeddedEngine(); }

    // The lookups list the entries of one kind by name, the hidden ones left out.
    void listsLeaveHiddenEntriesAndOtherKindsOut_data() {
        QTest::addColumn<bool>("partners");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("payers") << true << kPayerType << QStringList{"11 Альфа", "10 Юг"};
        QTest::newRow("recipients") << true << kRecipientType << QStringList{"12 бета"};
        QTest::newRow("types of income")
            << false << kIncomePaymentType << QStringList{"21 Аванс", "1 Поступление денег"};
        QTest::newRow("types of issue")
            << false << kIssuePaymentType << QStringList{"2 Расход денег", "22 Штраф"};
    }
    void listsLeaveHiddenEntriesAndOtherKindsOut() {
        QFETCH(bool, partners);
        QFETCH(int, kind);
        QFETCH(QStringList, listed);
        OpenBook book;
        book.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (10, 1, 'Юг')");
        book.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (11, 1, 'Альфа')");
        book.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (12, 2, 'бета')");
        book.execute("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (13, 1, '?Скрытый')");
        book.execute("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (21, 1, 'Аванс')");
        book.execute("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (22, 2, 'Штраф')");
        book.execute("INSERT INTO REASONS (PRKEY, TYP, REASON) VALUES (23, 2, '?Старый')");
        const QList<DictionaryEntry> entries =
            partners ? Partners(book.store).listed(kind) : PaymentTypes(book.store).listed(kind);
        QCOMPARE(entryTexts(entries), listed);
    }

    // The owner card writes its three names into the ETC the book holds at the save, so an
    // option another copy stored meanwhile stays; a change of the requisites or of the names
    // made elsewhere meanwhile refuses the save, and nothing is written.
    void ownerNamesGoIntoTheStoredEtc_data() {
        QTest::addColumn<QString>("elsewhere"); // an option key=value, or a statement
        QTest::addColumn<QString>("refusal");   // empty: stored
        QTest::newRow("nothing") << QString() << QString();
        QTest::newRow("an option") << "StoreCapt=Другой счет" << QString();
        QTest::newRow("a name") << "KassirName=Петров" << kChanged;
        QTest::newRow("the city") << "UPDATE PARTS SET CITY='Львов' WHERE PRKEY=0" << kChanged;
    }
    void ownerNamesGoIntoTheStoredEtc() {
        QFETCH(QString, elsewhere);
        QFETCH(QString, refusal);
        OpenBook book;
        book.store.options().setOption("KassirName", "Сидоров");
        std::unique_ptr<fb::DataSet> row = book.store.createQuery();
        Partners::selectOwner(*row);
        row->open();
        const QString readEtc = row->field("ETC").asString();
        QCOMPARE(Partners::ownerNamesOf(readEtc).cashier, "Сидоров");
        if (elsewhere.startsWith("UPDATE"))
            book.execute(elsewhere);
        else if (!elsewhere.isEmpty())
            book.store.options().setOption(elsewhere.section('=', 0, 0), elsewhere.section('=', 1));
        const QString ownerRow = "SELECT CITY, ETC FROM PARTS WHERE PRKEY=0";
        const QStringList changed = book.rows(ownerRow);
        const QString changedEtc = book.store.fieldValue("PARTS", "ETC", 0);

        const OwnerNames names{"Иванов", "Петрова", "Кузнецов"};
        const QString message = messageOf([&] {
            Partners::takeOwnerNames(*row, readEtc, names, kChanged);
            book.store.postAndCommit(*row);
        });
        QCOMPARE(message, refusal);
        row.reset();
        if (refusal.isEmpty())
            QCOMPARE(book.store.fieldValue("PARTS", "ETC", 0),
                     Partners::withOwnerNames(changedEtc, names));
        else
            QCOMPARE(book.rows(ownerRow), changed);
    }

    // The rights editor shows a new user with every right denied, a stored user as his text
    // says; the right to open the users stands for the administrator's flag either way.
    void shownRightsFollowTheAdministratorsFlag_data() {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("administrator");
        QTest::addColumn<QStringList>("denied");
        const QString rights =
            setKeyValue(setKeyValue(QString(), "IncomeDoc2", "N"), "VocsUsers1", "N");
        QTest::newRow("everything allowed, no administrator")
            << QString() << false << QStringList{"VocsUsers1"};
        QTest::newRow("users denied, administrator") << rights << true << QStringList{"IncomeDoc2"};
        QTest::newRow("users denied, no administrator")
            << rights << false << QStringList{"IncomeDoc2", "VocsUsers1"};
    }
    void shownRightsFollowTheAdministratorsFlag() {
        QFETCH(QString, rights);
        QFETCH(bool, administrator);
        QFETCH(QStringList, denied);
        QCOMPARE(deniedKeys(Users::shownPermissions(false, rights, administrator)), denied);
    }

    // A new user starts with every right denied, whatever text the row held.
    void newUserStartsWithEveryRightDenied() {
        QStringList every;
        for (const Permission& permission : permissionsFromText(QString()))
            if (permission.action != RightsAction::Heading)
                every << rightsKey(rightsAreas().at(permission.area), permission.action);
        QCOMPARE(deniedKeys(Users::shownPermissions(true, QString(), false)), every);
        every.removeOne("VocsUsers1");
        QCOMPARE(deniedKeys(Users::shownPermissions(true, QString(), true)), every);
    }

    // The template store lists the templates of one document type whose files the program
    // takes, by name; a template added reads back whole, with a key of its own.
    void templatesListedByTypeAndExtension() {
        OpenBook book;
        book.execute("DELETE FROM PRINTFORMS");
        PrintTemplates templates(book.store);
        std::unique_ptr<fb::DataSet> rows = book.store.createQuery();
        PrintTemplates::setListWrites(*rows);
        PrintTemplates::selectList(*rows, 1, {"odt"});
        rows->open();
        const QByteArray data("bytes\0of the file", 17);
        const QList<std::pair<int, PrintTemplate>> added{{1, {0, "Ведомость", data, "odt"}},
                                                         {1, {0, "Бланк", "docx", "docx"}},
                                                         {1, {0, "Акт", "rtf", "rtf"}},
                                                         {2, {0, "Чужой", "odt", "odt"}}};
        for (const auto& [docType, printTemplate] : added)
            templates.insertInto(*rows, docType, printTemplate);
        book.store.postAndCommit(*rows);

        PrintTemplates::selectList(*rows, 1, {"doc", "rtf", "docx"});
        rows->open();
        QCOMPARE(templateRows(*rows), QStringList({"Акт|rtf", "Бланк|docx"}));
        PrintTemplates::selectList(*rows, 1, {"odt"});
        rows->open();
        QCOMPARE(templateRows(*rows), QStringList({"Ведомость|odt"}));
        rows->first();
        const PrintTemplate read = PrintTemplates::templateOf(*rows);
        QCOMPARE(read.data, data);
        QCOMPARE(read.ext, "odt");
        QVERIFY(read.key >= 1000);
        QCOMPARE(book.rows("SELECT COUNT(DISTINCT PRKEY) FROM PRINTFORMS"), QStringList{"4"});
    }

    // An edited file goes into its template's row; a template deleted meanwhile is said to be
    // gone.
    void editedFileIsStoredIntoItsTemplate() {
        OpenBook book;
        book.execute("INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) "
                     "VALUES (2001, 1, 'Акт', 'old', 'rtf')");
        PrintTemplates templates(book.store);
        templates.storeData(2001, QByteArray("new\0file", 8));
        QCOMPARE(book.rows("SELECT OCTET_LENGTH(DATA), NAME FROM PRINTFORMS WHERE PRKEY=2001"),
                 QStringList{"8|Акт"});
        book.execute("DELETE FROM PRINTFORMS WHERE PRKEY=2001");
        QCOMPARE(messageOf([&] { templates.storeData(2001, "newer"); }),
                 QStringLiteral("Печатная форма удалена, пока ее редактировали: измененный "
                                "документ сохранить некуда."));
    }
};

QTEST_MAIN(TestBookTables)
#include "test_book_tables.moc"
