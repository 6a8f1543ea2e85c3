#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "platform/office.h"
#include "platform/work_folder.h"
#include "printing/template_edit.h"
#include "printing/template_store_dialog.h"
#include "store/data_store.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/core/warning_log.h"
#include "tests/support/platform/fake_office.h"
#include "tests/support/platform/work_folders.h"
#include "tests/support/shell/book_machine.h"
#include "tests/support/shell/pane_machine.h"
#include "tests/support/ui/dialog_recorder.h"
#include "ui/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace printing;
using testsupport::leftWorkFolders;
using testsupport::putOfficeScript;
using testsupport::writeFile;

Q_DECLARE_METATYPE(printing::TemplateProgram)

namespace {

// An editor that the user changes the file in, saves and closes.
const QByteArray kChangingEditor = R"sh(last=$(last_file "$@")
printf ' edited' >> "$last")sh";
// An editor closed without a change.
const QByteArray kReadingEditor = "exit 0";
// An editor that stays open until the file "close" appears beside it, then saves a change.
const QByteArray kOpenEditor = R"sh(last=$(last_file "$@")
while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done
printf ' edited' >> "$last")sh";

// An editor that saves a change at once and stays open until the file "close" appears beside
// it.
const QByteArray kSavedOpenEditor = R"sh(last=$(last_file "$@")
printf ' edited' >> "$last"
while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done)sh";
// An editor that stays open, nothing saved, until the file "close" appears beside it.
const QByteArray kUnsavedOpenEditor =
    R"sh(while [ ! -e "$(dirname "$0")/close" ]; do sleep 0.05; done)sh";
// An editor that saves a change and crashes.
const QByteArray kCrashingEditor = R"sh(last=$(last_file "$@")
printf ' edited' >> "$last"
kill -11 $$)sh";

const QByteArray kFileBytes("bytes\0of the file", 17);

// A cash-desk book with its default templates and three of other formats, the main window
// started on it, and an office program of the test's own. Questions are answered with
// `question`, inputs with `input` (Cancel when it is null), file choices with `file` (Cancel
// when empty); every dialog is noted.
struct StoreMachine {
    PaneMachine machine{BookKind::CashDesk, QStringLiteral("Касса")};
    QTemporaryDir office;
    QList<Answer> questions; // taken in turn; Yes when none is left
    QString input = QStringLiteral("<proposed>");
    QString file;
    Dialogs dialogs{[this](const DialogRequest& r) -> DialogAnswer {
        if (r.kind == DialogKind::OpenFile)
            return {file.isEmpty() ? Answer::Cancel : Answer::Ok, file};
        if (r.kind == DialogKind::Input)
            return {input.isNull() ? Answer::Cancel : Answer::Ok,
                    input == u"<proposed>" ? r.value : input};
        if (r.buttons == Buttons::YesNo)
            return {questions.isEmpty() ? Answer::Yes : questions.takeFirst(), {}};
        return {Answer::Ok, {}};
    }};

    StoreMachine() {
        execute(machine.book, "INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) VALUES "
                              "(2001, 1, 'Акт', 'rtf text', 'rtf')");
        execute(machine.book, "INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) VALUES "
                              "(2002, 2, 'Бланк', 'docx text', 'docx')");
        execute(machine.book, "INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) VALUES "
                              "(2003, 2, 'Ведомость', 'odt text', 'odt')");
        machine.start();
        setOfficeSearchPath(office.path());
    }
    ~StoreMachine() {
        setOfficeSearchPath(QString());
        machine.main->close();
    }

    void putEditor(const QByteArray& script) { putOfficeScript(office.path(), script); }
    void closeEditor() { writeFile(QDir(office.path()).filePath("close"), ""); }

    QString value(const QString& sql) { return readValue(machine.book, sql); }
    QByteArray data(int key) {
        fb::Transaction transaction(DataStore::instance().database());
        fb::Statement select(transaction, "SELECT DATA FROM PRINTFORMS WHERE PRKEY=:PRKEY");
        select.param(QStringLiteral("PRKEY")).setInteger(key);
        select.execute();
        return select.fetch() ? select.field(0).asBytes() : QByteArray("<no row>");
    }
};

// The rows of the dialog's list as "NAME|EXT".
QStringList listed(TemplateStoreDialog& dialog) {
    QStringList rows;
    fb::DataSet& templates = dialog.templates();
    const int current = templates.currentRow();
    for (int row = 0; row < templates.recordCount(); ++row) {
        templates.moveTo(row);
        rows << templates.field("NAME").asString() + u'|' + templates.field("EXT").asString();
    }
    if (current >= 0)
        templates.moveTo(current);
    return rows;
}

int currentKey(TemplateStoreDialog& dialog) {
    return int(dialog.templates().field("PRKEY").asInteger());
}

// A dialog of the book's templates of docType for program, its list read.
std::unique_ptr<TemplateStoreDialog> storeDialog(int docType, TemplateProgram program) {
    auto dialog =
        std::make_unique<TemplateStoreDialog>(nullptr, "Выберите печатную форму", docType, program);
    dialog->refreshList();
    dialog->changeAction()->setChecked(true);
    return dialog;
}

} // namespace

// The store of the print templates: the list of a document type for a program, its changes and
// the edit of a template in the word processor.
class TestTemplateStore : public QObject {
    Q_OBJECT
private slots:
    // Word takes DOC, RTF and DOCX files, Writer ODT files, each of the document type asked
    // for, by name.
    void listShowsTheTypeAndProgram_data() {
        QTest::addColumn<int>("docType");
        QTest::addColumn<TemplateProgram>("program");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("income, Word")
            << 1 << TemplateProgram::Word
            << QStringList{"Акт|rtf", "Приходный кассовый ордер (Россия)|doc",
                           "Приходный кассовый ордер (Украина)|doc"};
        QTest::newRow("income, Writer") << 1 << TemplateProgram::Writer
                                        << QStringList{"Приходный кассовый ордер (Россия)|odt",
                                                       "Приходный кассовый ордер (Украина)|odt"};
        QTest::newRow("issue, Word")
            << 2 << TemplateProgram::Word
            << QStringList{"Бланк|docx", "Расходный кассовый ордер (Россия)|doc",
                           "Расходный кассовый ордер (Украина)|doc"};
        QTest::newRow("issue, Writer")
            << 2 << TemplateProgram::Writer
            << QStringList{"Ведомость|odt", "Расходный кассовый ордер (Россия)|odt",
                           "Расходный кассовый ордер (Украина)|odt"};
        QTest::newRow("no templates") << 3 << TemplateProgram::Word << QStringList{};
    }
    void listShowsTheTypeAndProgram() {
        QFETCH(int, docType);
        QFETCH(TemplateProgram, program);
        QFETCH(QStringList, rows);
        StoreMachine m;
        auto dialog = storeDialog(docType, program);
        QCOMPARE(listed(*dialog), rows);
    }

    // Print and Preview hand back the current template, its bytes and how it goes out; Enter on
    // the grid prints; on an empty list nothing is chosen and the dialog stays.
    void printAndPreviewChooseTheCurrentTemplate() {
        StoreMachine m;
        TemplateStoreDialog dialog(nullptr, "Выберите печатную форму", 2, TemplateProgram::Word);
        QTimer::singleShot(0, [&] {
            QCOMPARE(QApplication::activeModalWidget(), &dialog);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Выберите печатную форму"));
            QVERIFY(dialog.templates().locate("PRKEY", 2002));
            dialog.previewAction()->trigger();
        });
        std::optional<ChosenTemplate> chosen = dialog.run();
        QVERIFY(chosen);
        QCOMPARE(chosen->output, TemplateOutput::View);
        QCOMPARE(chosen->printTemplate.key, 2002);
        QCOMPARE(chosen->printTemplate.name, QStringLiteral("Бланк"));
        QCOMPARE(chosen->printTemplate.data, QByteArray("docx text"));
        QCOMPARE(chosen->printTemplate.ext, QStringLiteral("docx"));

        QTimer::singleShot(0, [&] { QTest::keyClick(dialog.grid(), Qt::Key_Return); });
        chosen = dialog.run();
        QVERIFY(chosen);
        QCOMPARE(chosen->output, TemplateOutput::Print);
        QCOMPARE(chosen->printTemplate.key, 2002);

        auto empty = storeDialog(3, TemplateProgram::Word);
        empty->show();
        QTest::keyClick(empty->grid(), Qt::Key_Return);
        empty->printAction()->trigger();
        QVERIFY(empty->isVisible());
        QTimer::singleShot(0, [&] { empty->closeAction()->trigger(); });
        QVERIFY(!empty->run());
    }

    // The commands that change the list show, and work, only while "Изменить" is down.
    void changesOnlyWhileChanging() {
        StoreMachine m;
        auto dialog = storeDialog(1, TemplateProgram::Word);
        dialog->show();
        QVERIFY(dialog->editPanel()->isVisible());
        dialog->changeAction()->setChecked(false);
        QVERIFY(!dialog->editPanel()->isVisible());
        dialog->deleteAction()->trigger();
        QTest::keyClick(dialog->grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m.dialogs.texts, QStringList{});
        QCOMPARE(listed(*dialog).size(), 3);
    }

    // A file added to the list: the name proposed is the file's without its extension, the
    // extension is kept in lower case; a file of another program's kind, a blank name and the
    // cancelled dialogs add nothing.
    void addFromFile_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("message");
        QTest::newRow("docx in capitals") << "Act.DOCX"
                                          << "<proposed>"
                                          << "Act"
                                          << "Act|docx"
                                          << "";
        QTest::newRow("name of two parts") << "Акт.v2.rtf"
                                           << "Акт сверки"
                                           << "Акт.v2"
                                           << "Акт сверки|rtf"
                                           << "";
        QTest::newRow("name cancelled") << "Act.doc" << QString() << "Act"
                                        << ""
                                        << "";
        QTest::newRow("blank name") << "Act.doc"
                                    << "   "
                                    << "Act"
                                    << ""
                                    << "Укажите название печатной формы!";
        QTest::newRow("Writer's file")
            << "Act.odt"
            << "<proposed>"
            << ""
            << ""
            << "Файл Act.odt не подходит: для Microsoft Word годятся файлы doc, rtf, docx.";
        QTest::newRow("file dialog cancelled") << ""
                                               << "<proposed>"
                                               << ""
                                               << ""
                                               << "";
    }
    void addFromFile() {
        QFETCH(QString, fileName);
        QFETCH(QString, input);
        QFETCH(QString, proposed);
        QFETCH(QString, added);
        QFETCH(QString, message);
        StoreMachine m;
        QTemporaryDir files;
        if (!fileName.isEmpty()) {
            m.file = files.filePath(fileName);
            writeFile(m.file, kFileBytes);
        }
        m.input = input;
        auto dialog = storeDialog(1, TemplateProgram::Word);
        const QStringList before = listed(*dialog);
        dialog->addAction()->trigger();

        QStringList asked;
        for (const DialogRequest& r : m.dialogs.requests)
            if (r.kind == DialogKind::Input)
                asked << r.caption + ": " + r.value;
        QCOMPARE(asked, proposed.isEmpty()
                            ? QStringList{}
                            : QStringList{"Название для новой печатной формы: " + proposed});
        QCOMPARE(m.dialogs.requests.first().caption, QStringLiteral("Добавление печатной формы"));
        QStringList messages;
        for (const DialogRequest& r : m.dialogs.requests)
            if (r.kind == DialogKind::Message)
                messages << r.text;
        QCOMPARE(messages, message.isEmpty() ? QStringList{} : QStringList{message});
        if (added.isEmpty()) {
            QCOMPARE(listed(*dialog), before);
            return;
        }
        const QStringList now = listed(*dialog);
        QCOMPARE(now.size(), before.size() + 1);
        QVERIFY(now.contains(added));
        QCOMPARE(dialog->templates().field("NAME").asString() + u'|' +
                     dialog->templates().field("EXT").asString(),
                 added);
        const int key = currentKey(*dialog);
        QCOMPARE(m.data(key), kFileBytes);
        QCOMPARE(m.value(QStringLiteral("SELECT LTYP FROM PRINTFORMS WHERE PRKEY=%1").arg(key)),
                 QStringLiteral("1"));
    }

    // A rename keeps the row and its key, and the list stands on it; a cancelled one changes
    // nothing.
    void renameKeepsTheKey() {
        StoreMachine m;
        auto dialog = storeDialog(1, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2001));
        m.input = QStringLiteral("Яблоко");
        dialog->renameAction()->trigger();
        QCOMPARE(m.dialogs.requests.last().caption,
                 QStringLiteral("Новое название для печатной формы"));
        QCOMPARE(m.dialogs.requests.last().value, QStringLiteral("Акт"));
        QCOMPARE(currentKey(*dialog), 2001);
        QCOMPARE(listed(*dialog).last(), QStringLiteral("Яблоко|rtf"));
        QCOMPARE(m.value("SELECT NAME FROM PRINTFORMS WHERE PRKEY=2001"), QStringLiteral("Яблоко"));
        QCOMPARE(m.data(2001), QByteArray("rtf text"));

        m.input = QString();
        dialog->renameAction()->trigger();
        QCOMPARE(m.value("SELECT NAME FROM PRINTFORMS WHERE PRKEY=2001"), QStringLiteral("Яблоко"));
    }

    // A template is deleted only after the question is answered Yes, No being its default.
    void deleteAsksFirst() {
        StoreMachine m;
        auto dialog = storeDialog(1, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2001));
        m.questions = {Answer::No};
        dialog->deleteAction()->trigger();
        const DialogRequest asked = m.dialogs.requests.last();
        QCOMPARE(asked.caption, QStringLiteral("Удаление печатной формы"));
        QCOMPARE(asked.text,
                 QStringLiteral("Вы действительно хотите удалить печатную форму \"Акт\"?"));
        QCOMPARE(asked.defaultButton, DefaultButton::Second);
        QCOMPARE(m.value("SELECT COUNT(*) FROM PRINTFORMS WHERE PRKEY=2001"), QStringLiteral("1"));

        dialog->deleteAction()->trigger();
        QCOMPARE(m.value("SELECT COUNT(*) FROM PRINTFORMS WHERE PRKEY=2001"), QStringLiteral("0"));
        QVERIFY(!listed(*dialog).contains(QStringLiteral("Акт|rtf")));
    }

    // An edit in the word processor: when it ends with the file changed, the question; Yes
    // stores the edited file into the row it came from, No leaves the row. An unchanged file
    // asks nothing. An editor that crashed is told first. The edit's files go once it is over.
    void editStoredBack_data() {
        QTest::addColumn<QByteArray>("editor");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("told");
        const QString question = QStringLiteral("Сохранить измененный документ в программе?");
        QTest::newRow("changed, stored") << kChangingEditor << Answer::Yes
                                         << QByteArray("rtf text edited") << QStringList{question};
        QTest::newRow("changed, not stored")
            << kChangingEditor << Answer::No << QByteArray("rtf text") << QStringList{question};
        QTest::newRow("unchanged")
            << kReadingEditor << Answer::Yes << QByteArray("rtf text") << QStringList{};
        QTest::newRow("crashed") << kCrashingEditor << Answer::Yes << QByteArray("rtf text edited")
                                 << QStringList{"LibreOffice аварийно завершил работу с "
                                                "документом «Акт.rtf».",
                                                question};
    }
    void editStoredBack() {
        QFETCH(QByteArray, editor);
        QFETCH(Answer, answer);
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, told);
        StoreMachine m;
        m.putEditor(editor);
        m.questions = {answer};
        auto dialog = storeDialog(1, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2001));
        dialog->editAction()->trigger();
        dialog->templates().first();
        QTRY_COMPARE(leftWorkFolders(), QStringList{});
        QCOMPARE(m.dialogs.texts, told);
        QCOMPARE(m.data(2001), stored);
        if (stored != "rtf text")
            QCOMPARE(dialog->templates().field("DATA").asBytes(), stored);
    }

    // The program closing while a template is open in the word processor: a file saved
    // changed is offered for storing, one not saved yet is told to be out of reach; an
    // unattended close asks nothing, stores nothing and names the file on standard error. The
    // editor runs on, and its end asks nothing more.
    void closingWhileEditingOffersTheSavedFile_data() {
        QTest::addColumn<QByteArray>("editor");
        QTest::addColumn<bool>("unattended");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("told");
        const QString stillOpen =
            QStringLiteral("Печатная форма \"Акт\" еще открыта для изменения в LibreOffice.");
        const QString question =
            stillOpen + QStringLiteral("\nСохранить измененный документ в программе?");
        QTest::newRow("saved, stored") << kSavedOpenEditor << false << Answer::Yes
                                       << QByteArray("rtf text edited") << question;
        QTest::newRow("saved, not stored")
            << kSavedOpenEditor << false << Answer::No << QByteArray("rtf text") << question;
        QTest::newRow("not saved yet")
            << kUnsavedOpenEditor << false << Answer::Yes << QByteArray("rtf text")
            << stillOpen + QStringLiteral(" Изменения, сохраненные в нем после выхода из "
                                          "программы, в программу не попадут.");
        QTest::newRow("unattended")
            << kSavedOpenEditor << true << Answer::Yes << QByteArray("rtf text") << QString();
    }
    void closingWhileEditingOffersTheSavedFile() {
        QFETCH(QByteArray, editor);
        QFETCH(bool, unattended);
        QFETCH(Answer, answer);
        QFETCH(QByteArray, stored);
        QFETCH(QString, told);
        StoreMachine m;
        m.putEditor(editor);
        m.questions = {answer};
        auto dialog = storeDialog(1, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2001));
        dialog->editAction()->trigger();
        dialog.reset();
        QCOMPARE(leftWorkFolders().size(), 1);
        const QString file = testsupport::workFoldersRoot() + u'/' + leftWorkFolders()[0] +
                             QStringLiteral("/Акт.rtf");
        if (editor == kSavedOpenEditor)
            QTRY_VERIFY(testsupport::readFile(file).endsWith("edited"));

        const testsupport::WarningLog log;
        TemplateEdit::finishOpenEdits(nullptr, unattended);

        QCOMPARE(m.dialogs.texts, told.isEmpty() ? QStringList{} : QStringList{told});
        QCOMPARE(m.data(2001), stored);
        QCOMPARE(log.messages.filter(file).size(), unattended ? 1 : 0);
        QVERIFY(!qApp->findChild<TemplateEdit*>());
        // The folder is the editor's now: a later start removes it once the editor has ended.
        m.closeEditor();
        QTRY_VERIFY((removeStaleWorkFolders(), leftWorkFolders().isEmpty()));
        QTest::qWait(500);
        QCOMPARE(m.dialogs.texts.size(), told.isEmpty() ? 0 : 1);
    }

    // The dialog, and its document window, may close while the template is being edited: the
    // question still comes when the editor ends, and the file is stored into its row.
    void editOutlivesTheDialog() {
        StoreMachine m;
        m.putEditor(kOpenEditor);
        auto dialog = storeDialog(2, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2002));
        dialog->editAction()->trigger();
        dialog.reset();
        QTest::qWait(300);
        m.closeEditor();
        QTRY_COMPARE(m.dialogs.texts, QStringList{"Сохранить измененный документ в программе?"});
        QCOMPARE(m.data(2002), QByteArray("docx text edited"));
        QTRY_COMPARE(leftWorkFolders(), QStringList{});
    }

    // A store that fails (the row locked by another user) says why and asks again; the row
    // keeps its template until a store goes through.
    void failedStoreKeepsTheTemplate() {
        StoreMachine m;
        m.putEditor(kOpenEditor);
        auto dialog = storeDialog(1, TemplateProgram::Word);
        QVERIFY(dialog->templates().locate("PRKEY", 2001));
        dialog->editAction()->trigger();

        fb::Attachment other;
        other.attach(m.machine.book);
        auto lock = std::make_unique<fb::Transaction>(other);
        fb::Statement(*lock, "UPDATE PRINTFORMS SET NAME=NAME WHERE PRKEY=2001").execute();
        m.questions = {Answer::Yes, Answer::No};
        m.closeEditor();
        QTRY_COMPARE(m.dialogs.texts.size(), 4);
        QCOMPARE(m.dialogs.texts[0], QStringLiteral("Сохранить измененный документ в программе?"));
        QCOMPARE(m.dialogs.texts[1], QStringLiteral("Не могу сохранить введенные данные!"));
        QVERIFY2(m.dialogs.texts[2].contains("update conflicts"), qPrintable(m.dialogs.texts[2]));
        QCOMPARE(m.dialogs.texts[3], QStringLiteral("Сохранить измененный документ в программе?"));
        lock->rollback();
        QCOMPARE(m.data(2001), QByteArray("rtf text"));
    }
};

QTEST_MAIN(TestTemplateStore)
#include "test_template_store.moc"
