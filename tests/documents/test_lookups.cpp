#include "tests/support/documents/document_machine.h"
#include "tests/support/shell/pane_machine.h"

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "documents/document_partner_lookup.h"
#include "documents/partner_filter_lookup.h"
#include "documents/payment_type_lookup.h"
#include "store/data_store.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kPayers = 1;
constexpr int kRecipients = 2;
constexpr int kNobody = 3; // a partner type without partners

void setDelay(const QString& value) {
    DataStore::instance().options().setOption(QString::fromLatin1(kLookupDelayKey), value);
}

// Types text into the filter edit, one key press and release per character.
void typeInto(LookupPopup* lookup, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(lookup->filterEdit(), &press);
        QApplication::sendEvent(lookup->filterEdit(), &release);
    }
}

void press(LookupPopup* lookup, Qt::Key key) {
    QTest::keyClick(lookup->filterEdit(), key);
}

QStringList shown(const LookupListPopup* lookup) {
    QStringList names;
    for (int row = 0; row < lookup->list()->count(); ++row)
        names << lookup->list()->item(row)->text();
    return names;
}

// What the callbacks of a lookup report, one line each: "chosen <key> <text>", "chosen nothing",
// "cancelled", "not found <text>".
void watch(LookupListPopup* lookup, QStringList& events, bool handlesNotFound = false) {
    lookup->setOnChosen([lookup, &events] {
        events << (lookup->hasChoice() ? QStringLiteral("chosen %1 %2")
                                             .arg(lookup->chosenKey())
                                             .arg(lookup->chosenText())
                                       : QStringLiteral("chosen nothing"));
    });
    lookup->setOnCancelled([&events] { events << QStringLiteral("cancelled"); });
    lookup->setOnNotFound([&events, handlesNotFound](const QString& text) {
        events << QStringLiteral("not found ") + text;
        return handlesNotFound;
    });
}

} // namespace

class TestLookups : public QObject {
    Q_OBJECT

    std::unique_ptr<PaneMachine> m_machine;
    QLineEdit* m_anchor = nullptr;
    QMap<QString, int> m_keys; // by name: the partners and payment types added

    // New lookups over the anchor edit.
    PartnerFilterLookup* partnerFilter(int partnerType) {
        auto* lookup = new PartnerFilterLookup(m_anchor);
        lookup->setPartnerType(partnerType);
        return lookup;
    }
    DocumentPartnerLookup* documentPartner(int partnerType) {
        auto* lookup = new DocumentPartnerLookup(m_anchor);
        lookup->setPartnerType(partnerType);
        return lookup;
    }
    PaymentTypeLookup* paymentType(int paymentType) {
        auto* lookup = new PaymentTypeLookup(m_anchor);
        lookup->setPaymentType(paymentType);
        return lookup;
    }

    // Shows a lookup over the anchor edit.
    void show(LookupPopup* lookup, const QString& text = QString()) {
        lookup->popUp(m_anchor, text);
        QVERIFY(lookup->isVisible());
    }

    QString chosen(const QString& name) const {
        return QStringLiteral("chosen %1 %2").arg(m_keys.value(name)).arg(name);
    }

private slots:
    void initTestCase() {
        m_machine = std::make_unique<PaneMachine>(BookKind::BankAccount, QStringLiteral("Книга"));
        ShellWindow& main = m_machine->start();
        m_anchor = new QLineEdit(&main);
        m_anchor->setGeometry(20, 60, 300, 24);
        m_anchor->show();
        for (const char* name : {"Альфа", "Бета-Сервис", "Ёлка", "Ґудзик", "Їжак", "Євросвіт",
                                 "Іскра", "ТОВ Вишня", "?Скрытый Альфа"})
            m_keys[QString::fromUtf8(name)] = addPartnerRow(kPayers, QString::fromUtf8(name));
        m_keys[QStringLiteral("Альфа-Получатель")] =
            addPartnerRow(kRecipients, QStringLiteral("Альфа-Получатель"));
        for (const char* name : {"Аренда", "Взнос", "?Старый взнос"})
            m_keys[QString::fromUtf8(name)] = addPaymentTypeRow(kIncome, QString::fromUtf8(name));
    }

    void init() {
        setDelay(QStringLiteral("0"));
        m_machine->messages.clear();
    }

    void cleanup() {
        settle();
        // no lookup stays behind; one left by a failure goes, so the next test starts clean
        const QList<LookupPopup*> left = m_anchor->window()->findChildren<LookupPopup*>();
        qDeleteAll(left);
        QVERIFY(left.isEmpty());
    }

    void cleanupTestCase() { m_machine.reset(); }

    void filtersWhateverTheCase_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("names");
        const QStringList all{"Ґудзик", "Ёлка",  "Євросвіт",    "Їжак",
                              "Іскра",  "Альфа", "Бета-Сервис", "ТОВ Вишня"};
        QTest::newRow("nothing typed") << "" << all;
        QTest::newRow("small letters") << "альфа" << QStringList{"Альфа"};
        QTest::newRow("capitals") << "ЁЛК" << QStringList{"Ёлка"};
        QTest::newRow("mixed, ґ") << "ґУД" << QStringList{"Ґудзик"};
        QTest::newRow("ї") << "їжак" << QStringList{"Їжак"};
        QTest::newRow("Є") << "ЄВРО" << QStringList{"Євросвіт"};
        QTest::newRow("Ukrainian і") << "і" << QStringList{"Євросвіт", "Іскра"};
        QTest::newRow("Latin i is no і") << "i" << QStringList{};
        QTest::newRow("inside a name") << "-сер" << QStringList{"Бета-Сервис"};
        QTest::newRow("with a blank") << "тов в" << QStringList{"ТОВ Вишня"};
        QTest::newRow("one letter")
            << "а" << QStringList{"Ёлка", "Їжак", "Іскра", "Альфа", "Бета-Сервис"};
        QTest::newRow("hidden never") << "скрыт" << QStringList{};
    }

    void filtersWhateverTheCase() {
        QFETCH(QString, filter);
        QFETCH(QStringList, names);
        auto* lookup = documentPartner(kPayers);
        show(lookup);
        typeInto(lookup, filter);
        QCOMPARE(lookup->lastFilter(), filter);
        QCOMPARE(shown(lookup), names);
        lookup->close();
    }

    // Each small letter of the code page finds its capital and each capital its small letter,
    // alone and inside a word; letters that only look alike never match.
    void everyLetterMatchesItsCapital() {
        QString letters;
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c = cp1251::decode(QByteArray(1, char(byte)))[0];
            const QString capital = QString(c).toUpper();
            if (!c.isLower() || !cp1251::canEncode(capital))
                continue;
            letters += c;
            QVERIFY2(LookupListPopup::matches(capital, QString(c)), qPrintable(capital));
            QVERIFY2(LookupListPopup::matches(QString(c), capital), qPrintable(capital));
            QVERIFY(LookupListPopup::matches(QStringLiteral("x") + capital + QStringLiteral("y"),
                                             QStringLiteral("X") + c));
        }
        for (QChar c : QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюяґєіїўђѓєјљњћќџѕ"))
            QVERIFY2(letters.contains(c), qPrintable(QString(c)));
        QVERIFY(!LookupListPopup::matches(QStringLiteral("І"), QStringLiteral("i")));
        QVERIFY(!LookupListPopup::matches(QStringLiteral("А"), QStringLiteral("a")));
        QVERIFY(!LookupListPopup::matches(QStringLiteral("Е"), QStringLiteral("ё")));
        QVERIFY(LookupListPopup::matches(QStringLiteral("Что угодно"), QString()));
    }

    void partnerFilterListsAllFirmsFirst_data() {
        QTest::addColumn<int>("partnerType");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("selected");
        QTest::newRow("every payer")
            << kPayers << ""
            << QStringList{"Все фирмы", "Ґудзик", "Ёлка",        "Євросвіт", "Їжак",
                           "Іскра",     "Альфа",  "Бета-Сервис", "ТОВ Вишня"}
            << "Ґудзик";
        QTest::newRow("one payer")
            << kPayers << "АЛЬ" << QStringList{"Все фирмы", "Альфа"} << "Альфа";
        QTest::newRow("recipients")
            << kRecipients << "аль" << QStringList{"Все фирмы", "Альфа-Получатель"}
            << "Альфа-Получатель";
        QTest::newRow("no match") << kPayers << "нет такой" << QStringList{"Все фирмы"}
                                  << "Все фирмы";
        QTest::newRow("no partners") << kNobody << "" << QStringList{"Все фирмы"} << "Все фирмы";
    }

    void partnerFilterListsAllFirmsFirst() {
        QFETCH(int, partnerType);
        QFETCH(QString, filter);
        QFETCH(QStringList, names);
        QFETCH(QString, selected);
        QStringList events;
        auto* lookup = partnerFilter(partnerType);
        watch(lookup, events);
        show(lookup);
        typeInto(lookup, filter);
        QCOMPARE(shown(lookup), names);
        QCOMPARE(lookup->chosenText(), selected);
        press(lookup, Qt::Key_Return);
        settle();
        const int key = selected == QStringLiteral("Все фирмы") ? -1 : m_keys.value(selected);
        QCOMPARE(events, QStringList{QStringLiteral("chosen %1 %2").arg(key).arg(selected)});
    }

    void documentPartnerStandsOnItsPartner_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("selected");
        QTest::newRow("its partner") << "Іскра"
                                     << ""
                                     << "Іскра";
        QTest::newRow("its partner in the filter") << "Іскра"
                                                   << "а"
                                                   << "Іскра";
        QTest::newRow("its partner filtered out") << "Іскра"
                                                  << "ал"
                                                  << "Альфа";
        QTest::newRow("no partner yet") << ""
                                        << ""
                                        << "Ґудзик";
        QTest::newRow("a recipient's key") << "Альфа-Получатель"
                                           << ""
                                           << "Ґудзик";
    }

    void documentPartnerStandsOnItsPartner() {
        QFETCH(QString, current);
        QFETCH(QString, filter);
        QFETCH(QString, selected);
        QStringList events;
        auto* lookup = documentPartner(kPayers);
        lookup->setCurrentKey(m_keys.value(current));
        watch(lookup, events);
        show(lookup);
        typeInto(lookup, filter);
        QCOMPARE(lookup->chosenText(), selected);
        press(lookup, Qt::Key_Enter);
        settle();
        QCOMPARE(events, QStringList{chosen(selected)});
    }

    void paymentTypeOpensWithEveryType_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("selected");
        const QStringList all{"Аренда", "Взнос", "Поступление денег"};
        QTest::newRow("its type") << "Взнос"
                                  << "" << all << "Взнос";
        QTest::newRow("no type yet") << ""
                                     << "" << all << "Аренда";
        QTest::newRow("a type by another case") << "взнос"
                                                << "" << all << "Аренда";
        QTest::newRow("a text no type has") << "Прочее"
                                            << "" << all << "Аренда";
        QTest::newRow("typing narrows")
            << "Взнос"
            << "ден" << QStringList{"Поступление денег"} << "Поступление денег";
        QTest::newRow("typing a whole name") << ""
                                             << "Взнос" << QStringList{"Взнос"} << "Взнос";
        QTest::newRow("hidden never") << ""
                                      << "старый" << QStringList{} << "";
    }

    void paymentTypeOpensWithEveryType() {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        QFETCH(QString, selected);
        auto* lookup = paymentType(kIncome);
        show(lookup, start);
        QCOMPARE(lookup->filterEdit()->text(), start);
        lookup->filterEdit()->selectAll(); // what is typed takes the start text's place
        typeInto(lookup, typed);
        QCOMPARE(shown(lookup), names);
        QCOMPARE(lookup->chosenText(), selected);
        lookup->close();
    }

    // Among types of the same name the last one is chosen.
    void paymentTypeOfTwinNamesIsTheLast() {
        const int first = addPaymentTypeRow(kIssue, QStringLiteral("Двойник"));
        const int second = addPaymentTypeRow(kIssue, QStringLiteral("Двойник"));
        addPaymentTypeRow(kIssue, QStringLiteral("Двойник второй"));
        auto* lookup = paymentType(kIssue);
        show(lookup, QStringLiteral("Двойник"));
        QCOMPARE(shown(lookup).count(QStringLiteral("Двойник")), 2);
        QVERIFY(lookup->chosenKey() == first || lookup->chosenKey() == second);
        QCOMPARE(lookup->list()->selectedItems().size(), 1);
        QCOMPARE(lookup->list()->currentRow(),
                 shown(lookup).lastIndexOf(QStringLiteral("Двойник")));
        lookup->close();
    }

    void typingDelay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("interval");
        QTest::newRow("not set") << "" << 500;
        QTest::newRow("no number") << "abc" << 500;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("49") << "49" << 49;
        QTest::newRow("50") << "50" << 50;
        QTest::newRow("500") << "500" << 500;
    }

    // Below 50 ms every keystroke filters; otherwise the filter waits for a pause as long as
    // the delay, which every keystroke starts again.
    void typingDelay() {
        QFETCH(QString, option);
        QFETCH(int, interval);
        setDelay(option);
        auto* lookup = documentPartner(kPayers);
        show(lookup);
        QCOMPARE(lookup->delayTimer().interval(), interval);
        const QStringList all = shown(lookup);
        QSignalSpy pauses(&lookup->delayTimer(), &QTimer::timeout);
        typeInto(lookup, QStringLiteral("А"));
        if (interval < 50) {
            QVERIFY(!lookup->delayTimer().isActive());
            QCOMPARE(shown(lookup).size(), 5);
            typeInto(lookup, QStringLiteral("л"));
            QCOMPARE(shown(lookup), QStringList{"Альфа"});
        } else {
            QVERIFY(lookup->delayTimer().isActive());
            QCOMPARE(shown(lookup), all);
            typeInto(lookup, QStringLiteral("л"));
            QVERIFY(lookup->delayTimer().isActive());
            QCOMPARE(shown(lookup), all);
            QCOMPARE(lookup->lastFilter(), QString());
            QVERIFY(pauses.wait());
            QCOMPARE(pauses.size(), 1);
            QCOMPARE(lookup->lastFilter(), QStringLiteral("Ал"));
            QCOMPARE(shown(lookup), QStringList{"Альфа"});
            QVERIFY(!lookup->delayTimer().isActive());
        }
        QCOMPARE(pauses.size(), interval < 50 ? 0 : 1);
        lookup->close();
    }

    // The start text is no typing: the delay does not start.
    void startTextStartsNoDelay() {
        setDelay(QStringLiteral("500"));
        auto* lookup = paymentType(kIncome);
        show(lookup, QStringLiteral("Взнос"));
        QVERIFY(!lookup->delayTimer().isActive());
        QCOMPARE(lookup->lastFilter(), QStringLiteral("Взнос"));
        lookup->close();
    }

    // Enter before the pause is over chooses from the filter as typed.
    void enterAppliesTheTypedFilter() {
        setDelay(QStringLiteral("500"));
        QStringList events;
        auto* lookup = documentPartner(kPayers);
        watch(lookup, events);
        show(lookup);
        typeInto(lookup, QStringLiteral("бета"));
        QVERIFY(lookup->delayTimer().isActive());
        press(lookup, Qt::Key_Return);
        QVERIFY(!lookup->isVisible());
        QVERIFY(events.isEmpty()); // reported from the event loop, after the close
        settle();
        QCOMPARE(events, QStringList{chosen(QStringLiteral("Бета-Сервис"))});
    }

    // Page Up, Page Down, Up and Down move the list's selection; the filter edit keeps its text
    // and its caret.
    void listKeysMoveTheSelection() {
        QStringList events;
        auto* lookup = documentPartner(kPayers);
        watch(lookup, events);
        show(lookup, QStringLiteral("а"));
        QCOMPARE(lookup->list()->currentRow(), 0);
        press(lookup, Qt::Key_Down);
        QCOMPARE(lookup->list()->currentRow(), 1);
        press(lookup, Qt::Key_Down);
        QCOMPARE(lookup->list()->currentRow(), 2);
        press(lookup, Qt::Key_Up);
        QCOMPARE(lookup->list()->currentRow(), 1);
        press(lookup, Qt::Key_PageDown);
        QCOMPARE(lookup->list()->currentRow(), 4);
        press(lookup, Qt::Key_PageUp);
        QCOMPARE(lookup->list()->currentRow(), 0);
        press(lookup, Qt::Key_Down);
        QCOMPARE(lookup->filterEdit()->text(), QStringLiteral("а"));
        QCOMPARE(lookup->filterEdit()->cursorPosition(), 1);
        QCOMPARE(lookup->chosenText(), QStringLiteral("Їжак"));
        press(lookup, Qt::Key_Return);
        settle();
        QCOMPARE(events, QStringList{chosen(QStringLiteral("Їжак"))});
    }

    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("Esc") << "escape" << QStringList{"cancelled"};
        QTest::newRow("click on an item") << "item" << QStringList{chosen("Ёлка")};
        QTest::newRow("click elsewhere") << "outside" << QStringList{"cancelled"};
        // as the main window does when the application loses the focus
        QTest::newRow("hidden from outside") << "hide" << QStringList{"cancelled"};
        QTest::newRow("closed from outside") << "close" << QStringList{"cancelled"};
    }

    // Each ending reports once, after the pop-up has gone from the screen, and frees it.
    void endings() {
        QFETCH(QString, how);
        QFETCH(QStringList, events);
        QStringList reported;
        QPointer<DocumentPartnerLookup> lookup = documentPartner(kPayers);
        watch(lookup, reported);
        lookup->setOnChosen([&reported, &lookup, this] {
            QVERIFY(lookup && !lookup->isVisible());
            reported << chosen(lookup->chosenText());
        });
        show(lookup);
        if (how == QLatin1String("escape")) {
            press(lookup, Qt::Key_Escape);
        } else if (how == QLatin1String("item")) {
            QListWidget* list = lookup->list();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(1)).center());
        } else if (how == QLatin1String("outside")) {
            QWindow* main = m_anchor->window()->windowHandle();
            QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(5, 5));
        } else if (how == QLatin1String("hide")) {
            lookup->hide();
        } else {
            lookup->close();
        }
        QVERIFY(!lookup->isVisible());
        settle();
        QCOMPARE(reported, events);
        QVERIFY(!lookup);
    }

    void nothingFound_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("partner, handled")
            << "partner" << kPayers << "Новая" << true << QStringList{"not found Новая"};
        QTest::newRow("partner, not handled") << "partner" << kPayers << "Новая" << false
                                              << QStringList{"not found Новая", "chosen nothing"};
        QTest::newRow("no partners, no filter")
            << "partner" << kNobody << "" << true << QStringList{"chosen nothing"};
        QTest::newRow("partner found") << "partner" << kPayers << "Вишня" << true
                                       << QStringList{chosen(QStringLiteral("ТОВ Вишня"))};
        QTest::newRow("payment type, handled")
            << "payment type" << kIncome << "Налог" << true << QStringList{"not found Налог"};
        QTest::newRow("payment type, not handled")
            << "payment type" << kIncome << "Налог" << false
            << QStringList{"not found Налог", "chosen nothing"};
        QTest::newRow("partner filter")
            << "filter" << kPayers << "Новая" << true << QStringList{"chosen -1 Все фирмы"};
    }

    // Enter on an empty list asks the not-found callback about the filter; when it does not
    // handle it the choice is reported with nothing chosen.
    void nothingFound() {
        QFETCH(QString, kind);
        QFETCH(int, type);
        QFETCH(QString, filter);
        QFETCH(bool, handled);
        QFETCH(QStringList, events);
        LookupListPopup* lookup = nullptr;
        if (kind == QLatin1String("partner"))
            lookup = documentPartner(type);
        else if (kind == QLatin1String("payment type"))
            lookup = paymentType(type);
        else
            lookup = partnerFilter(type);
        QStringList reported;
        watch(lookup, reported, handled);
        show(lookup);
        typeInto(lookup, filter);
        press(lookup, Qt::Key_Return);
        settle();
        QCOMPARE(reported, events);
    }

    // A callback may run a modal dialog: the pop-up is off the screen and out of the way, and
    // still there for the callback to read.
    void callbackMayRunAModalDialog() {
        QPointer<DocumentPartnerLookup> lookup = documentPartner(kPayers);
        int result = -1;
        lookup->setOnCancelled([&] {
            QVERIFY(lookup);
            QVERIFY(!lookup->isVisible());
            QCOMPARE(QApplication::activePopupWidget(), nullptr);
            QDialog dialog(m_anchor->window());
            QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
            result = dialog.exec();
            QVERIFY(lookup);
        });
        show(lookup);
        QCOMPARE(QApplication::activePopupWidget(), lookup.data());
        press(lookup, Qt::Key_Escape);
        QCOMPARE(result, -1); // not from inside the close
        settle();
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(!lookup);
    }

    // A callback that raises shows its message; the pop-up goes all the same.
    void callbackThatRaisesShowsItsMessage() {
        QPointer<DocumentPartnerLookup> lookup = documentPartner(kPayers);
        lookup->setOnChosen([] { throw Exception(QStringLiteral("Не могу выбрать")); });
        show(lookup);
        press(lookup, Qt::Key_Return);
        settle();
        QCOMPARE(m_machine->messages, QStringList{"Не могу выбрать"});
        QVERIFY(!lookup);
    }

    // Nothing chosen: the caller warns through a message and opens the lookup again, as the
    // documents do; the new one shows while the old one goes.
    void callbackMayOpenTheLookupAgain() {
        QPointer<DocumentPartnerLookup> first = documentPartner(kNobody);
        QPointer<DocumentPartnerLookup> second;
        first->setOnChosen([&] {
            QVERIFY(!first->hasChoice());
            showWarning(m_anchor->window(), QStringLiteral("Выберите из списка"));
            second = documentPartner(kPayers);
            show(second);
        });
        show(first);
        press(first, Qt::Key_Return);
        settle();
        QVERIFY(!first);
        QVERIFY(second && second->isVisible());
        QCOMPARE(m_machine->messages, QStringList{"Выберите из списка"});
        QCOMPARE(QApplication::activePopupWidget(), second.data());
        second->close();
    }
};

QTEST_MAIN(TestLookups)
#include "test_lookups.moc"
