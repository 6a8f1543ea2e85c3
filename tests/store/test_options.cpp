#include "../shell/paneTestSupport.h"

#include "platform/IniFile.h"
#include "store/fmOptions.h"
#include "store/uNewDatabase.h"

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
class TfrmNestedOptions : public TfrmOptions {
public:
    explicit TfrmNestedOptions(QWidget* owner) : TfrmOptions(owner) {
        auto* sheet = new QWidget;
        auto* inner = new QTabWidget(sheet);
        (new QVBoxLayout(sheet))->addWidget(inner);
        inner->addTab(new QWidget, QStringLiteral("Документы"));
        inner->addTab(new QWidget, QStringLiteral("Отчеты"));
        pgctrlOptions->addTab(sheet, QStringLiteral("Печать"));
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
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        m.start();
        TfrmOptions::SetOption("ReservBackupFlag", stored);
        TfrmOptions::SetOption("YesterdayBackupFlag", stored);
        TfrmOptions::SetOption("WeekBackupFlag", stored);
        QCOMPARE(TfrmOptions::GetOption("ReservBackupFlag"), stored);
        QCOMPARE(TfrmOptions::GetReservBackupFlag(), flag);
        QCOMPARE(TfrmOptions::GetYesterdayBackupFlag(), flag);
        QCOMPARE(TfrmOptions::GetWeekBackupFlag(), flag);
    }

    void aNewBookReadsTheDefaultsAndOptionsReadBackAsWritten() {
        TPaneMachine m(otBankAccount, QStringLiteral("Счет"));
        m.start();
        QVERIFY(TfrmOptions::GetReservBackupFlag());
        QVERIFY(TfrmOptions::GetYesterdayBackupFlag());
        QVERIFY(TfrmOptions::GetWeekBackupFlag());
        QCOMPARE(TfrmOptions::GetStoreCurrency(), QStringLiteral("грн."));
        QCOMPARE(TfrmOptions::GetKibitzDelay(), 500);
        QCOMPARE(TfrmOptions::GetStoreCapt(), QStringLiteral("Счет"));
        QCOMPARE(TfrmOptions::GetRezFolder(), QString());
        const QString version = TfrmOptions::GetOption("DBVersion");
        QVERIFY(!version.isEmpty());

        TfrmOptions::SetOption("StoreCurrency", QStringLiteral("руб."));
        TfrmOptions::SetOption("KibitzDelay", QStringLiteral("250"));
        TfrmOptions::SetOption("RezFolder", QStringLiteral("/tmp/Архив"));
        QCOMPARE(TfrmOptions::GetStoreCurrency(), QStringLiteral("руб."));
        QCOMPARE(TfrmOptions::GetKibitzDelay(), 250);
        QCOMPARE(TfrmOptions::GetRezFolder(), QStringLiteral("/tmp/Архив"));
        TfrmOptions::SetOption("KibitzDelay", QStringLiteral("скоро"));
        QCOMPARE(TfrmOptions::GetKibitzDelay(), 500);
        QCOMPARE(TfrmOptions::GetOption("DBVersion"), version);
    }

    void thePaneLoadsTheOptionsAndSavesThemWhenItCloses() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        TfrmOptions::SetOption("WeekBackupFlag", "0");
        TfrmOptions::SetOption("ProductKey", "свое");
        const QString version = TfrmOptions::GetOption("DBVersion");
        auto* pane = main.ShowPane<TfrmOptions>();
        QVERIFY(pane);
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Опции"));
        QVERIFY(pane->chbxAutoBackup->isChecked());
        QVERIFY(pane->chbxAutoYesterday->isChecked());
        QVERIFY(!pane->chbxAutoWeek->isChecked());
        QCOMPARE(pane->edtDBCapt->text(), QStringLiteral("Касса"));
        QCOMPARE(pane->edtStoreCurrency->text(), QStringLiteral("грн."));
        QCOMPARE(pane->edtKibitzDelay->text(), QStringLiteral("500"));
        QCOMPARE(pane->Panel_OptionsHeader->text(), QStringLiteral("  Общие"));

        // Nothing is stored while the pane is shown.
        pane->chbxAutoBackup->setChecked(false);
        pane->chbxAutoWeek->setChecked(true);
        pane->edtDBCapt->setText(QStringLiteral("Главная касса"));
        pane->edtStoreCurrency->clear();
        pane->edtKibitzDelay->setText(QStringLiteral("abc"));
        QCOMPARE(TfrmOptions::GetOption("ReservBackupFlag"), QString());

        main.mnitAboutClick();
        QVERIFY(!main.CurrentPane);
        QCOMPARE(TfrmOptions::GetOption("ReservBackupFlag"), QStringLiteral("0"));
        QCOMPARE(TfrmOptions::GetOption("YesterdayBackupFlag"), QStringLiteral("-1"));
        QCOMPARE(TfrmOptions::GetOption("WeekBackupFlag"), QStringLiteral("-1"));
        QCOMPARE(TfrmOptions::GetOption("StoreCurrency"), QString());
        QCOMPARE(TfrmOptions::GetStoreCurrency(), QStringLiteral("грн."));
        QCOMPARE(TfrmOptions::GetOption("KibitzDelay"), QStringLiteral("500"));
        QCOMPARE(TfrmOptions::GetStoreCapt(), QStringLiteral("Главная касса"));
        QCOMPARE(TfrmOptions::GetOption("DBVersion"), version);
        QCOMPARE(TfrmOptions::GetOption("ProductKey"), QStringLiteral("свое"));
        QCOMPARE(main.windowTitle(), QStringLiteral("Kaltro: Главная касса"));
        QCOMPARE(TIniFile(m.ini).ReadString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Главная касса"));
        QVERIFY(m.messages.isEmpty());
    }

    void theBooksIniEntryIsFoundByItsFileWhenTheListChanged() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        QCOMPARE(dtmdlDataStoreProto->StoreIndex, 0);
        // Another copy of the program put a book before this one since it was opened.
        TIniFile ini(m.ini);
        ini.WriteInteger("DB", "DatabaseCount", 2);
        ini.WriteString("DB", "DatabaseCaption_1", ini.ReadString("DB", "DatabaseCaption_0", ""));
        ini.WriteString("DB", "DatabasePath_1",
                        QDir(m.dir.path()).filePath("./" + QFileInfo(m.book).fileName()));
        ini.WriteString("DB", "DatabaseCaption_0", QStringLiteral("Другая"));
        ini.WriteString("DB", "DatabasePath_0", m.dir.filePath("Other.fdb"));
        auto* pane = main.ShowPane<TfrmOptions>();
        pane->edtDBCapt->setText(QStringLiteral("Новое имя"));
        main.mnitAboutClick();
        QCOMPARE(TIniFile(m.ini).ReadString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Другая"));
        QCOMPARE(TIniFile(m.ini).ReadString("DB", "DatabaseCaption_1", ""),
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
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        const QString root = m.dir.path();
        QFile file(root + "/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TfrmMain& main = m.start();
        TfrmOptions::SetOption("RezFolder", "/old");
        auto* pane = main.ShowPane<TfrmOptions>();
        QCOMPARE(pane->edtRezFolder->text(), QStringLiteral("/old"));
        pane->edtRezFolder->setText(entered.replace('@', root));
        pane->edtDBCapt->setText(QStringLiteral("Касса 2"));
        main.mnitAboutClick();
        QCOMPARE(TfrmOptions::GetRezFolder(), stored.replace('@', root));
        QCOMPARE(TfrmOptions::GetStoreCapt(), QStringLiteral("Касса 2"));
        QCOMPARE(m.messages,
                 message.isEmpty() ? QStringList() : QStringList{message.replace('@', root)});
        QCOMPARE(main.CurrentPane == pane, paneStays);
        if (!stored.trimmed().isEmpty() && message.isEmpty())
            QVERIFY(QFileInfo(stored).isDir());
        QVERIFY(!QFileInfo::exists(root + "/copies"));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath("copies")));
    }

    void theTreeListsEveryPageOnceAndOpensNestedPages() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        auto* pane = main.ShowPane<TfrmNestedOptions>();
        pane->Prepare();
        const QStringList expected{"Общие", "Печать", "  Документы", "  Отчеты"};
        QCOMPARE(treeTexts(pane->TreeView_Options), expected);
        QTreeWidgetItem* print = pane->TreeView_Options->topLevelItem(1);
        pane->TreeView_Options->setCurrentItem(print);
        QCOMPARE(pane->TreeView_Options->currentItem(), print->child(0));
        QCOMPARE(pane->Panel_OptionsHeader->text(), QStringLiteral("  Печать : Документы"));
        QCOMPARE(pane->pgctrlOptions->currentIndex(), 1);
        pane->TreeView_Options->setCurrentItem(print->child(1));
        QCOMPARE(pane->Panel_OptionsHeader->text(), QStringLiteral("  Печать : Отчеты"));
        auto* inner = pane->pgctrlOptions->widget(1)->findChild<QTabWidget*>();
        QCOMPARE(inner->currentIndex(), 1);
        pane->TreeView_Options->setCurrentItem(pane->TreeView_Options->topLevelItem(0));
        QCOMPARE(pane->pgctrlOptions->currentWidget(), pane->tbshtGeneral);
        QCOMPARE(pane->Panel_OptionsHeader->text(), QStringLiteral("  Общие"));
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
