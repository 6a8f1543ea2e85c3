#include "tests/support/pane_machine.h"

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
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A product's options pane: one page of its own holding two inner pages.
class NestedOptionsPane : public OptionsPane {
public:
    explicit NestedOptionsPane(QWidget* owner) : OptionsPane(owner) {
        auto* sheet = new QWidget;
        auto* inner = new QTabWidget(sheet);
        (new QVBoxLayout(sheet))->addWidget(inner);
        inner->addTab(new QWidget, QStringLiteral("Документы"));
        inner->addTab(new QWidget, QStringLiteral("Отчеты"));
        m_optionPages->addTab(sheet, QStringLiteral("Печать"));
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
        PaneMachine m(CashDesk, QStringLiteral("Касса"));
        m.start();
        OptionsPane::setOption("ReservBackupFlag", stored);
        OptionsPane::setOption("YesterdayBackupFlag", stored);
        OptionsPane::setOption("WeekBackupFlag", stored);
        QCOMPARE(OptionsPane::option("ReservBackupFlag"), stored);
        QCOMPARE(OptionsPane::reservBackupFlag(), flag);
        QCOMPARE(OptionsPane::yesterdayBackupFlag(), flag);
        QCOMPARE(OptionsPane::weekBackupFlag(), flag);
    }

    void aNewBookReadsTheDefaultsAndOptionsReadBackAsWritten() {
        PaneMachine m(BankAccount, QStringLiteral("Счет"));
        m.start();
        QVERIFY(OptionsPane::reservBackupFlag());
        QVERIFY(OptionsPane::yesterdayBackupFlag());
        QVERIFY(OptionsPane::weekBackupFlag());
        QCOMPARE(OptionsPane::storeCurrency(), QStringLiteral("грн."));
        QCOMPARE(OptionsPane::lookupDelay(), 500);
        QCOMPARE(OptionsPane::storeCaption(), QStringLiteral("Счет"));
        QCOMPARE(OptionsPane::extraBackupFolder(), QString());
        const QString version = OptionsPane::option("DBVersion");
        QVERIFY(!version.isEmpty());

        OptionsPane::setOption("StoreCurrency", QStringLiteral("руб."));
        OptionsPane::setOption("KibitzDelay", QStringLiteral("250"));
        OptionsPane::setOption("RezFolder", QStringLiteral("/tmp/Архив"));
        QCOMPARE(OptionsPane::storeCurrency(), QStringLiteral("руб."));
        QCOMPARE(OptionsPane::lookupDelay(), 250);
        QCOMPARE(OptionsPane::extraBackupFolder(), QStringLiteral("/tmp/Архив"));
        OptionsPane::setOption("KibitzDelay", QStringLiteral("скоро"));
        QCOMPARE(OptionsPane::lookupDelay(), 500);
        QCOMPARE(OptionsPane::option("DBVersion"), version);
    }

    void thePaneLoadsTheOptionsAndSavesThemWhenItCloses() {
        PaneMachine m(CashDesk, QStringLiteral("Касса"));
        MainWindow& main = m.start();
        OptionsPane::setOption("WeekBackupFlag", "0");
        OptionsPane::setOption("ProductKey", "свое");
        const QString version = OptionsPane::option("DBVersion");
        auto* pane = main.showPane<OptionsPane>();
        QVERIFY(pane);
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Опции"));
        QVERIFY(pane->m_reservBackupCheck->isChecked());
        QVERIFY(pane->m_yesterdayBackupCheck->isChecked());
        QVERIFY(!pane->m_weeklyBackupCheck->isChecked());
        QCOMPARE(pane->m_storeCaptionEdit->text(), QStringLiteral("Касса"));
        QCOMPARE(pane->m_storeCurrencyEdit->text(), QStringLiteral("грн."));
        QCOMPARE(pane->m_lookupDelayEdit->text(), QStringLiteral("500"));
        QCOMPARE(pane->m_pageTitleLabel->text(), QStringLiteral("  Общие"));

        // Nothing is stored while the pane is shown.
        pane->m_reservBackupCheck->setChecked(false);
        pane->m_weeklyBackupCheck->setChecked(true);
        pane->m_storeCaptionEdit->setText(QStringLiteral("Главная касса"));
        pane->m_storeCurrencyEdit->clear();
        pane->m_lookupDelayEdit->setText(QStringLiteral("abc"));
        QCOMPARE(OptionsPane::option("ReservBackupFlag"), QString());

        main.onAboutTriggered();
        QVERIFY(!main.m_currentPane);
        QCOMPARE(OptionsPane::option("ReservBackupFlag"), QStringLiteral("0"));
        QCOMPARE(OptionsPane::option("YesterdayBackupFlag"), QStringLiteral("-1"));
        QCOMPARE(OptionsPane::option("WeekBackupFlag"), QStringLiteral("-1"));
        QCOMPARE(OptionsPane::option("StoreCurrency"), QString());
        QCOMPARE(OptionsPane::storeCurrency(), QStringLiteral("грн."));
        QCOMPARE(OptionsPane::option("KibitzDelay"), QStringLiteral("500"));
        QCOMPARE(OptionsPane::storeCaption(), QStringLiteral("Главная касса"));
        QCOMPARE(OptionsPane::option("DBVersion"), version);
        QCOMPARE(OptionsPane::option("ProductKey"), QStringLiteral("свое"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Главная касса"));
        QCOMPARE(IniFile(m.ini).readString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Главная касса"));
        QVERIFY(m.messages.isEmpty());
    }

    void theBooksIniEntryIsFoundByItsFileWhenTheListChanged() {
        PaneMachine m(CashDesk, QStringLiteral("Касса"));
        MainWindow& main = m.start();
        QCOMPARE(dtmdlDataStoreProto->m_storeIndex, 0);
        // Another copy of the program put a book before this one since it was opened.
        IniFile ini(m.ini);
        ini.writeInteger("DB", "DatabaseCount", 2);
        ini.writeString("DB", "DatabaseCaption_1", ini.readString("DB", "DatabaseCaption_0", ""));
        ini.writeString("DB", "DatabasePath_1",
                        QDir(m.dir.path()).filePath("./" + QFileInfo(m.book).fileName()));
        ini.writeString("DB", "DatabaseCaption_0", QStringLiteral("Другая"));
        ini.writeString("DB", "DatabasePath_0", m.dir.filePath("Other.fdb"));
        auto* pane = main.showPane<OptionsPane>();
        pane->m_storeCaptionEdit->setText(QStringLiteral("Новое имя"));
        main.onAboutTriggered();
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
        PaneMachine m(CashDesk, QStringLiteral("Касса"));
        const QString root = m.dir.path();
        QFile file(root + "/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        MainWindow& main = m.start();
        OptionsPane::setOption("RezFolder", "/old");
        auto* pane = main.showPane<OptionsPane>();
        QCOMPARE(pane->m_extraBackupFolderEdit->text(), QStringLiteral("/old"));
        pane->m_extraBackupFolderEdit->setText(entered.replace('@', root));
        pane->m_storeCaptionEdit->setText(QStringLiteral("Касса 2"));
        main.onAboutTriggered();
        QCOMPARE(OptionsPane::extraBackupFolder(), stored.replace('@', root));
        QCOMPARE(OptionsPane::storeCaption(), QStringLiteral("Касса 2"));
        QCOMPARE(m.messages,
                 message.isEmpty() ? QStringList() : QStringList{message.replace('@', root)});
        QCOMPARE(main.m_currentPane == pane, paneStays);
        if (!stored.trimmed().isEmpty() && message.isEmpty())
            QVERIFY(QFileInfo(stored).isDir());
        QVERIFY(!QFileInfo::exists(root + "/copies"));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath("copies")));
    }

    void theTreeListsEveryPageOnceAndOpensNestedPages() {
        PaneMachine m(CashDesk, QStringLiteral("Касса"));
        MainWindow& main = m.start();
        auto* pane = main.showPane<NestedOptionsPane>();
        pane->prepare();
        const QStringList expected{"Общие", "Печать", "  Документы", "  Отчеты"};
        QCOMPARE(treeTexts(pane->m_pageTree), expected);
        QTreeWidgetItem* print = pane->m_pageTree->topLevelItem(1);
        pane->m_pageTree->setCurrentItem(print);
        QCOMPARE(pane->m_pageTree->currentItem(), print->child(0));
        QCOMPARE(pane->m_pageTitleLabel->text(), QStringLiteral("  Печать : Документы"));
        QCOMPARE(pane->m_optionPages->currentIndex(), 1);
        pane->m_pageTree->setCurrentItem(print->child(1));
        QCOMPARE(pane->m_pageTitleLabel->text(), QStringLiteral("  Печать : Отчеты"));
        auto* inner = pane->m_optionPages->widget(1)->findChild<QTabWidget*>();
        QCOMPARE(inner->currentIndex(), 1);
        pane->m_pageTree->setCurrentItem(pane->m_pageTree->topLevelItem(0));
        QCOMPARE(pane->m_optionPages->currentWidget(), pane->m_generalPage);
        QCOMPARE(pane->m_pageTitleLabel->text(), QStringLiteral("  Общие"));
    }
};

QTEST_MAIN(TestOptions)
#include "test_options_pane.moc"
