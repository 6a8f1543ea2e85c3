#include "core/key_value_text.h"
#include "core/numbers.h"
#include "documents/document_window.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "reports/document_register.h"
#include "reports/report_sheet.h"
#include "shell/document_windows.h"
#include "shell/period_dialog.h"
#include "store/data_store.h"
#include "tests/support/documents/document_machine.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

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

// ---- The window on a real book ----

// Answers the period dialog of the register: checks what it proposes, then confirms the dates
// given, or cancels without them.
void whenPeriodAsked(std::optional<std::pair<QDate, QDate>> chosen, QString* proposed = nullptr) {
    whenNextDialogShows([chosen, proposed](QDialog& shown) {
        auto* dialog = qobject_cast<PeriodDialog*>(&shown);
        if (!dialog)
            qFatal("no period dialog");
        if (proposed)
            *proposed = dialog->windowTitle() + QLatin1Char(' ') +
                        dialog->startDateEdit()->date().toString(QStringLiteral("dd.MM.yyyy")) +
                        QLatin1Char('-') +
                        dialog->endDateEdit()->date().toString(QStringLiteral("dd.MM.yyyy"));
        if (!chosen) {
            dialog->cancelButton()->click();
            return;
        }
        dialog->startDateEdit()->setDate(chosen->first);
        dialog->endDateEdit()->setDate(chosen->second);
        dialog->okButton()->click();
    });
}

const std::pair<QDate, QDate> kFebruaryDates = {QDate(2024, 2, 1), QDate(2024, 2, 29)};

// The register opened on February 2024.
DocumentRegister* openFebruary() {
    whenPeriodAsked(kFebruaryDates);
    return DocumentRegister::open();
}

QList<DocumentRegister*> shownRegisters() {
    QList<DocumentRegister*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<DocumentRegister*>(window))
            found << shown;
    return found;
}

// The row of the document key on the sheet; -1 when there is none.
int rowOf(const ReportSheet& sheet, int key) {
    int y = -1;
    if (!sheet.findFirstRow(y, {QStringLiteral("ROW_DOC_PRKEY")}, {QString::number(key)}))
        return -1;
    return y;
}

QList<DocumentWindow*> documentWindows() {
    QList<DocumentWindow*> found;
    for (QWidget* window : DocumentWindows::windows())
        if (auto* document = qobject_cast<DocumentWindow*>(window))
            found << document;
    return found;
}

} // namespace

Q_DECLARE_METATYPE(RegisterFigures)

// The register's sheet laid out from its figures, without a window.
class TestDocumentRegister : public QObject {
    Q_OBJECT
private slots:
    void init() {
        datetime::setNowForTesting(
            [] { return datetime::encode(QDate(2024, 2, 15), QTime(10, 30)); });
    }
    void cleanup() { datetime::setNowForTesting({}); }

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

    void cancelLeavesNoWindow() {
        DocumentMachine m(BookKind::BankAccount);
        QString proposed;
        whenPeriodAsked(std::nullopt, &proposed);
        QCOMPARE(DocumentRegister::open(), nullptr);
        settle();
        QCOMPARE(proposed, QStringLiteral("Период отчёта 01.02.2024-29.02.2024"));
        QVERIFY(shownRegisters().isEmpty());
        QVERIFY(DocumentWindows::windows().isEmpty());
    }

    // Beside the main window, the whole last day counted; a recalc keeps the period; closed, it
    // is gone.
    void opensBesideTheMainWindow() {
        DocumentMachine m(BookKind::CashDesk);
        const int payer = m.addPartner(kPayer, QStringLiteral("ООО Альфа"));
        const int lastEvening =
            m.addDocument({kIncome, payer, QStringLiteral("Аренда"), 10, QStringLiteral("1"),
                           datetime::encode(QDate(2024, 2, 29), QTime(23, 59, 58))});
        m.addDocument({kIncome, payer, QStringLiteral("Аренда"), 20, QStringLiteral("2"),
                       datetime::encode(QDate(2024, 3, 1))});

        QPointer<DocumentRegister> window = openFebruary();
        QVERIFY(window);
        QCOMPARE(shownRegisters(), QList<DocumentRegister*>{window});
        QVERIFY(window->isVisible());
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        QCOMPARE(window->parentWidget(), nullptr);
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QCOMPARE(window->windowTitle(), QStringLiteral("Реестр документов"));
        QVERIFY(DocumentWindows::windows().contains(window.data()));
        ReportSheet& sheet = *window->sheet();
        QCOMPARE(sheet.cellText(0, 2), QStringLiteral("за период с 01.02.2024 по 29.02.2024"));
        QCOMPARE(rowOf(sheet, lastEvening), 6);
        QCOMPARE(sheet.rowTag(7, "ROW_INCOME_TOTAL"), QStringLiteral("Y"));

        const int added = m.addDocument({kIncome, payer, QStringLiteral("Аренда"), 30,
                                         QStringLiteral("3"), datetime::encode(QDate(2024, 2, 1))});
        window->recalcAction()->trigger();
        QCOMPARE(sheet.cellText(0, 2), QStringLiteral("за период с 01.02.2024 по 29.02.2024"));
        QCOMPARE(rowOf(sheet, added), 6);
        QCOMPARE(rowOf(sheet, lastEvening), 7);
        QCOMPARE(shownAmount(sheet, 3, 8), QStringLiteral("40.00"));

        window->closeAction()->trigger();
        settle();
        QVERIFY(!window);
        QVERIFY(DocumentWindows::windows().isEmpty());
        QVERIFY(m.dialogs.texts.isEmpty());
    }

    void hotCellOpensItsDocument_data() {
        QTest::addColumn<BookKind>("kind");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("formClass");
        QTest::newRow("bank income") << BookKind::BankAccount << kIncome << false << 0
                                     << QStringLiteral("TfrmPaymentIncome");
        QTest::newRow("bank issue")
            << BookKind::BankAccount << kIssue << true << 4 << QStringLiteral("TfrmPaymentIssue");
        QTest::newRow("cash income")
            << BookKind::CashDesk << kIncome << true << 3 << QStringLiteral("TfrmKassOrderPrih");
        QTest::newRow("cash issue")
            << BookKind::CashDesk << kIssue << false << 1 << QStringLiteral("TfrmKassOrderRash");
        QTest::newRow("payment type is not hot")
            << BookKind::BankAccount << kIncome << false << 5 << QString();
    }
    void hotCellOpensItsDocument() {
        QFETCH(BookKind, kind);
        QFETCH(int, type);
        QFETCH(bool, doubleClick);
        QFETCH(int, column);
        QFETCH(QString, formClass);
        DocumentMachine m(kind);
        const int partner = m.addPartner(type, QStringLiteral("ООО Альфа"));
        const int other = m.addDocument({type, partner, QStringLiteral("Аренда"), 10,
                                         QStringLiteral("1"), datetime::encode(QDate(2024, 2, 2))});
        const int key = m.addDocument({type, partner, QStringLiteral("Аренда"), 20,
                                       QStringLiteral("2"), datetime::encode(QDate(2024, 2, 3))});
        DocumentRegister* window = openFebruary();
        QVERIFY(window);
        ReportSheet& sheet = *window->sheet();
        const int y = rowOf(sheet, key);
        QVERIFY(y > rowOf(sheet, other));
        if (doubleClick) {
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QPoint point = sheet.cellRect(column, y).center();
            QTest::mouseClick(sheet.viewport(), Qt::LeftButton, {}, point);
            QTest::mouseDClick(sheet.viewport(), Qt::LeftButton, {}, point);
        } else {
            QVERIFY(sheet.setCurrentCell(column, y));
            window->documentAction()->trigger();
        }
        settle();
        const QList<DocumentWindow*> opened = documentWindows();
        if (formClass.isEmpty()) {
            QVERIFY(opened.isEmpty());
        } else {
            QCOMPARE(opened.size(), 1);
            QCOMPARE(opened.first()->formClass(), formClass);
            QCOMPARE(opened.first()->documentKey(), key);
        }
        QVERIFY(m.dialogs.texts.isEmpty());
    }

    void anotherTypeIsUnknown() {
        DocumentMachine m(BookKind::BankAccount);
        const int partner = m.addPartner(kPayer, QStringLiteral("ООО Альфа"));
        const int key = m.addDocument({kIncome, partner, QStringLiteral("Аренда"), 10,
                                       QStringLiteral("1"), datetime::encode(QDate(2024, 2, 2))});
        DocumentRegister* window = openFebruary();
        QVERIFY(window);
        ReportSheet& sheet = *window->sheet();
        const int y = rowOf(sheet, key);
        sheet.setRowTags(y, {QStringLiteral("ROW_DOCTYPE")}, {QStringLiteral("3")});
        QVERIFY(sheet.setCurrentCell(2, y));
        window->documentAction()->trigger();
        settle();
        QCOMPARE(m.dialogs.texts, QStringList{QStringLiteral("Неизвестный документ!")});
        QVERIFY(documentWindows().isEmpty());
    }

    void rightsAndF5_data() {
        QTest::addColumn<QString>("denied"); // the action numbers of "ReestrDocs" denied
        QTest::newRow("all allowed") << QString();
        QTest::newRow("recalc denied") << QStringLiteral("6");
        QTest::newRow("print and export denied") << QStringLiteral("78");
        QTest::newRow("all denied") << QStringLiteral("678");
    }
    void rightsAndF5() {
        QFETCH(QString, denied);
        DocumentMachine m(BookKind::BankAccount);
        QString rights;
        for (QChar number : denied)
            rights =
                setKeyValue(rights, QStringLiteral("ReestrDocs") + number, QStringLiteral("N"));
        setUserRights(rights);
        const int partner = m.addPartner(kPayer, QStringLiteral("ООО Альфа"));
        DocumentRegister* window = openFebruary();
        QVERIFY(window);

        for (QAction* hidden : {window->saveAction(), window->deleteAction(), window->helpAction(),
                                window->contextHelpAction()})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        for (const char* button : {"saveButton", "deleteButton", "helpButton", "contextHelpButton"})
            QVERIFY2(!window->findChild<QToolButton*>(button)->isVisible(), button);
        QCOMPARE(window->recalcAction()->isEnabled(), !denied.contains('6'));
        QCOMPARE(window->findChild<QToolButton*>("recalcButton")->isEnabled(),
                 !denied.contains('6'));
        QCOMPARE(window->printAction()->isEnabled(), !denied.contains('7'));
        QCOMPARE(window->exportAction()->isEnabled(), !denied.contains('8'));
        QVERIFY(window->documentAction()->isVisible() && window->documentAction()->isEnabled());
        QVERIFY(window->closeAction()->isVisible() && window->closeAction()->isEnabled());

        // F5 recalculates only where the button may.
        m.addDocument({kIncome, partner, QStringLiteral("Аренда"), 10, QStringLiteral("1"),
                       datetime::encode(QDate(2024, 2, 2))});
        activate(window);
        QTest::keyClick(window->sheet(), Qt::Key_F5);
        settle();
        QCOMPARE(window->sheet()->yCount(), denied.contains('6') ? 11 : 12);
    }
};

QTEST_MAIN(TestDocumentRegister)
#include "test_document_register.moc"
