#include "tests/support/shell/pane_machine.h"

#include "core/ini_file.h"
#include "shell/options_pane.h"
#include "store/new_book.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A product's options pane: one page of its own holding two inner pages.
class NestedOptionsPane : public OptionsPane {
public:
    QString layoutKey() const override { return QStringLiteral("TfrmNestedOptions"); }
    explicit NestedOptionsPane(QWidget* owner) : OptionsPane(owner) {
        auto* sheet = new QWidget;
        auto* inner = new QTabWidget(sheet);
        (new QVBoxLayout(sheet))->addWidget(inner);
        inner->addTab(new QWidget, QStringLiteral("Документы"));
        inner->addTab(new QWidget, QStringLiteral("Отчеты"));
        optionPages()->addTab(sheet, QStringLiteral("Печать"));
    }
};

QStringList treeTexts(const QTreeWidget* tree) {
    QStringList texts;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        texts << QString((*it)->parent() ? "  " : "") + (*it)->text(0);
    return texts;
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void flagsReadEveryStoredForm_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("flag");
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("other number") << "7" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("no Boolean") << "abc" << true;
        QTest::newRow("empty") << "" << true;
    }
    void flagsReadEveryStoredForm() {
        QFETCH(QString, stored);
        QFETCH(bool, flag);
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        m.start();
        DataStore::instance().options().setOption("ReservBackupFlag", stored);
        DataStore::instance().options().setOption("YesterdayBackupFlag", stored);
        DataStore::instance().options().setOption("WeekBackupFlag", stored);
        QCOMPARE(DataStore::instance().options().option("ReservBackupFlag"), stored);
        QCOMPARE(DataStore::instance().options().reservBackupFlag(), flag);
        QCOMPARE(DataStore::instance().options().yesterdayBackupFlag(), flag);
        QCOMPARE(DataStore::instance().options().weekBackupFlag(), flag);
    }

    void aNewBookReadsTheDefaultsAndOptionsReadBackAsWritten() {
        PaneMachine m(BookKind::BankAccount, QStringLiteral("Счет"));
        m.start();
        QVERIFY(DataStore::instance().options().reservBackupFlag());
        QVERIFY(DataStore::instance().options().yesterdayBackupFlag());
        QVERIFY(DataStore::instance().options().weekBackupFlag());
        QCOMPARE(DataStore::instance().options().storeCurrency(), QStringLiteral("грн."));
        QCOMPARE(DataStore::instance().options().lookupDelay(), 500);
        QCOMPARE(DataStore::instance().options().storeCaption(), QStringLiteral("Счет"));
        QCOMPARE(DataStore::instance().options().extraBackupFolder(), QString());
        const QString version = DataStore::instance().options().option("DBVersion");
        QVERIFY(!version.isEmpty());

        DataStore::instance().options().setOption("StoreCurrency", QStringLiteral("руб."));
        DataStore::instance().options().setOption("KibitzDelay", QStringLiteral("250"));
        DataStore::instance().options().setOption("RezFolder", QStringLiteral("/tmp/Архив"));
        QCOMPARE(DataStore::instance().options().storeCurrency(), QStringLiteral("руб."));
        QCOMPARE(DataStore::instance().options().lookupDelay(), 250);
        QCOMPARE(DataStore::instance().options().extraBackupFolder(), QStringLiteral("/tmp/Архив"));
        DataStore::instance().options().setOption("KibitzDelay", QStringLiteral("скоро"));
        QCOMPARE(DataStore::instance().options().lookupDelay(), 500);
        QCOMPARE(DataStore::instance().options().option("DBVersion"), version);
    }

    void thePaneLoadsTheOptionsAndSavesThemWhenItCloses() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        DataStore::instance().options().setOption("WeekBackupFlag", "0");
        DataStore::instance().options().setOption("ProductKey", "свое");
        const QString version = DataStore::instance().options().option("DBVersion");
        auto* pane = main.showPane<OptionsPane>();
        QVERIFY(pane);
        QCOMPARE(main.paneTitle(), QStringLiteral("Опции"));
        auto* help = main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("helpButton"));
        QVERIFY(help);
        QCOMPARE(help->defaultAction(), pane->helpAction());
        QCOMPARE(help->text(), QStringLiteral("Справка"));
        QVERIFY(pane->reservBackupCheck()->isChecked());
        QVERIFY(pane->yesterdayBackupCheck()->isChecked());
        QVERIFY(!pane->weeklyBackupCheck()->isChecked());
        QCOMPARE(pane->storeCaptionEdit()->text(), QStringLiteral("Касса"));
        QCOMPARE(pane->storeCurrencyEdit()->text(), QStringLiteral("грн."));
        QCOMPARE(pane->lookupDelayEdit()->text(), QStringLiteral("500"));
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Общие"));

        // Nothing is stored while the pane is shown.
        pane->reservBackupCheck()->setChecked(false);
        pane->weeklyBackupCheck()->setChecked(true);
        pane->storeCaptionEdit()->setText(QStringLiteral("Главная касса"));
        pane->storeCurrencyEdit()->clear();
        pane->lookupDelayEdit()->setText(QStringLiteral("abc"));
        QCOMPARE(DataStore::instance().options().option("ReservBackupFlag"), QString());

        main.aboutAction()->trigger();
        QVERIFY(!main.currentPane());
        QCOMPARE(DataStore::instance().options().option("ReservBackupFlag"), QStringLiteral("0"));
        QCOMPARE(DataStore::instance().options().option("YesterdayBackupFlag"),
                 QStringLiteral("-1"));
        QCOMPARE(DataStore::instance().options().option("WeekBackupFlag"), QStringLiteral("-1"));
        QCOMPARE(DataStore::instance().options().option("StoreCurrency"), QString());
        QCOMPARE(DataStore::instance().options().storeCurrency(), QStringLiteral("грн."));
        QCOMPARE(DataStore::instance().options().option("KibitzDelay"), QStringLiteral("500"));
        QCOMPARE(DataStore::instance().options().storeCaption(), QStringLiteral("Главная касса"));
        QCOMPARE(DataStore::instance().options().option("DBVersion"), version);
        QCOMPARE(DataStore::instance().options().option("ProductKey"), QStringLiteral("свое"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Главная касса"));
        QCOMPARE(IniFile(m.ini).readString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Главная касса"));
        QVERIFY(m.messages.isEmpty());
    }

    void theBooksIniEntryIsFoundByItsFileWhenTheListChanged() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        QCOMPARE(DataStore::instance().book().entry(), 0);
        // Another copy of the program put a book before this one since it was opened.
        IniFile ini(m.ini);
        ini.writeInteger("DB", "DatabaseCount", 2);
        ini.writeString("DB", "DatabaseCaption_1", ini.readString("DB", "DatabaseCaption_0", ""));
        ini.writeString("DB", "DatabasePath_1",
                        QDir(m.dir.path()).filePath("./" + QFileInfo(m.book).fileName()));
        ini.writeString("DB", "DatabaseCaption_0", QStringLiteral("Другая"));
        ini.writeString("DB", "DatabasePath_0", m.dir.filePath("Other.fdb"));
        auto* pane = main.showPane<OptionsPane>();
        pane->storeCaptionEdit()->setText(QStringLiteral("Новое имя"));
        main.aboutAction()->trigger();
        QCOMPARE(IniFile(m.ini).readString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Другая"));
        QCOMPARE(IniFile(m.ini).readString("DB", "DatabaseCaption_1", ""),
                 QStringLiteral("Новое имя"));
    }

    void theExtraBackupFolder_data() {
        QTest::addColumn<QString>("entered"); // "@" stands for the machine's folder
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("paneStays");
        QTest::newRow("empty: none") << ""
                                     << ""
                                     << "" << false;
        QTest::newRow("blanks: none") << "  "
                                      << "  "
                                      << "" << false;
        QTest::newRow("new folder made") << "@/extra/copies"
                                         << "@/extra/copies"
                                         << "" << false;
        QTest::newRow("relative refused")
            << "copies"
            << "/old"
            << "Папка для копирования архивов должна быть задана полным "
               "путем: \"copies\""
            << true;
        QTest::newRow("cannot be made") << "@/file/sub"
                                        << "@/file/sub"
                                        << "Не удается создать каталог: \"@/file/sub/\"" << true;
    }
    void theExtraBackupFolder() {
        QFETCH(QString, entered);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(bool, paneStays);
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        const QString root = m.dir.path();
        QFile file(root + "/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ShellWindow& main = m.start();
        DataStore::instance().options().setOption("RezFolder", "/old");
        auto* pane = main.showPane<OptionsPane>();
        QCOMPARE(pane->extraBackupFolderEdit()->text(), QStringLiteral("/old"));
        pane->extraBackupFolderEdit()->setText(entered.replace('@', root));
        pane->storeCaptionEdit()->setText(QStringLiteral("Касса 2"));
        main.aboutAction()->trigger();
        QCOMPARE(DataStore::instance().options().extraBackupFolder(), stored.replace('@', root));
        QCOMPARE(DataStore::instance().options().storeCaption(), QStringLiteral("Касса 2"));
        QCOMPARE(m.messages,
                 message.isEmpty() ? QStringList() : QStringList{message.replace('@', root)});
        QCOMPARE(main.currentPane() == pane, paneStays);
        if (!stored.trimmed().isEmpty() && message.isEmpty())
            QVERIFY(QFileInfo(stored).isDir());
        QVERIFY(!QFileInfo::exists(root + "/copies"));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath("copies")));
    }

    void theTreeListsEveryPageOnceAndOpensNestedPages() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        auto* pane = main.showPane<NestedOptionsPane>();
        pane->prepare();
        const QStringList expected{"Общие", "Печать", "  Документы", "  Отчеты"};
        QCOMPARE(treeTexts(pane->pageTree()), expected);
        QTreeWidgetItem* print = pane->pageTree()->topLevelItem(1);
        pane->pageTree()->setCurrentItem(print);
        QCOMPARE(pane->pageTree()->currentItem(), print->child(0));
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Печать : Документы"));
        QCOMPARE(pane->optionPages()->currentIndex(), 1);
        pane->pageTree()->setCurrentItem(print->child(1));
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Печать : Отчеты"));
        auto* inner = pane->optionPages()->widget(1)->findChild<QTabWidget*>();
        QCOMPARE(inner->currentIndex(), 1);
        pane->pageTree()->setCurrentItem(pane->pageTree()->topLevelItem(0));
        QCOMPARE(pane->optionPages()->currentWidget(), pane->generalPage());
        QCOMPARE(pane->pageTitleLabel()->text(), QStringLiteral("  Общие"));
    }
};

QTEST_MAIN(TestOptions)
#include "test_options_pane.moc"
