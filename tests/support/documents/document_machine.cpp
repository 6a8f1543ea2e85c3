#include "tests/support/documents/document_machine.h"

#include "documents/lookup_popup.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/document_windows.h"
#include "store/data_store.h"
#include "tests/support/documents/dictionary_machine.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// Waits for a dialog to show, answers it from inside its own event loop, then goes.
class DialogWatcher : public QObject {
public:
    explicit DialogWatcher(std::function<void(QDialog&)> answer) : m_answer(std::move(answer)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog->isModal()) {
            qApp->removeEventFilter(this);
            QPointer<QDialog> shown = dialog;
            QTimer::singleShot(0, [shown, answer = m_answer] {
                if (shown)
                    answer(*shown);
            });
            deleteLater();
        }
        return false;
    }

private:
    std::function<void(QDialog&)> m_answer;
};

} // namespace

DocumentMachine::DocumentMachine(BookKind kind) : machine(kind, QStringLiteral("Книга")) {
    machine.start();
    setOption(QStringLiteral("KibitzDelay"), QStringLiteral("0"));
}

DocumentMachine::~DocumentMachine() {
    settle();
    for (QWidget* window : DocumentWindows::windows())
        delete window;
    settle();
    if (machine.main)
        machine.main->close();
    machine.main.reset();
}

int DocumentMachine::addPartner(int type, const QString& name) {
    return addPartnerRow(type, name);
}

int DocumentMachine::addPaymentType(int type, const QString& name) {
    return addPaymentTypeRow(type, name);
}

int DocumentMachine::addDocument(const StoredDocument& document) {
    const int key = DataStore::instance().newKey(QStringLiteral("OPER"));
    fb::Transaction transaction(DataStore::instance().database());
    fb::Statement insert(
        transaction, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, LPART, REASON, SUM1, NUM, "
                                    "DAT, PURP1, PURP2, PURP3, ETC)\nVALUES (:PRKEY, :TYP, "
                                    ":LPART, :REASON, :SUM1, :NUM, :DAT, :P1, :P2, :P3, :ETC)"));
    insert.param(QStringLiteral("PRKEY")).setInteger(key);
    insert.param(QStringLiteral("TYP")).setInteger(document.type);
    insert.param(QStringLiteral("LPART")).setInteger(document.partner);
    insert.param(QStringLiteral("REASON")).setString(document.reason);
    insert.param(QStringLiteral("SUM1")).setFloat(document.amount);
    insert.param(QStringLiteral("NUM")).setString(document.number);
    insert.param(QStringLiteral("DAT")).setDateTime(document.date);
    const char* const purposes[] = {"P1", "P2", "P3"};
    for (int line = 0; line < 3; ++line)
        insert.param(QString::fromLatin1(purposes[line])).setString(document.purposes.value(line));
    insert.param(QStringLiteral("ETC")).setString(document.extra);
    insert.execute();
    transaction.commit();
    return key;
}

void DocumentMachine::execute(const QString& sql) {
    fb::Transaction transaction(DataStore::instance().database());
    fb::Statement statement(transaction, sql, fb::ParamMode::Untouched);
    statement.execute();
    transaction.commit();
}

QString DocumentMachine::value(const QString& sql) {
    fb::Transaction transaction(DataStore::instance().database(), fb::TransactionKind::ReadOnly);
    fb::Statement select(transaction, sql);
    select.execute();
    const QString text = select.fetch() ? select.field(0).asString() : QString();
    select.close();
    transaction.commit();
    return text;
}

int DocumentMachine::count(const QString& sql) {
    return value(sql).toInt();
}

void DocumentMachine::setOption(const QString& key, const QString& value) {
    DataStore::instance().options().setOption(key, value);
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

LookupPopup* shownLookup(QWidget* window) {
    for (LookupPopup* lookup : window->findChildren<LookupPopup*>())
        if (lookup->isVisible())
            return lookup;
    return nullptr;
}

void chooseInLookup(QWidget* window, const QString& text) {
    settle();
    LookupPopup* lookup = shownLookup(window);
    if (!lookup)
        qFatal("no lookup is shown");
    retype(lookup->filterEdit(), text);
    QTest::keyClick(lookup->filterEdit(), Qt::Key_Return);
    settle();
}

void whenNextDialogShows(const std::function<void(QDialog&)>& answer) {
    new DialogWatcher(answer);
}

void activate(QWidget* window) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qFatal("the window did not become active");
}
