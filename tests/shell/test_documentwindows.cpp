#include "shell/uDocumentWindows.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPointer>
#include <QTest>

namespace {

// A document window that answers the close question as told.
class Document : public QWidget {
public:
    explicit Document(QWidget* parent = nullptr) : QWidget(parent) {}
    bool agrees = true;
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        event->setAccepted(agrees);
    }
};

} // namespace

class TestDocumentWindows : public QObject {
    Q_OBJECT
private slots:
    void documentsAreParentlessTopLevelWindows() {
        QWidget main;
        auto* doc = new Document(&main);
        TDocumentWindows::Add(doc);
        QVERIFY(!doc->parentWidget());
        QVERIFY(doc->isWindow());
        QVERIFY(TDocumentWindows::Windows().contains(doc));
        delete doc;
        QVERIFY(!TDocumentWindows::Windows().contains(doc));
    }

    void closingStopsAtTheFirstWindowThatRefuses() {
        Document a, b, c;
        for (Document* d : {&a, &b, &c}) {
            TDocumentWindows::Add(d);
            d->show();
        }
        b.agrees = false;
        QVERIFY(!TDocumentWindows::CloseAll());
        QVERIFY(!a.isVisible());
        QVERIFY(b.isVisible());
        QVERIFY(c.isVisible());
        QCOMPARE(c.asked, 0);
        b.agrees = true;
        QVERIFY(TDocumentWindows::CloseAll());
        QVERIFY(!b.isVisible() && !c.isVisible());
        QCOMPARE(a.asked, 1); // a closed window is not asked again
    }

    void windowsThatDeleteThemselvesOnClose() {
        QPointer<Document> doc = new Document;
        doc->setAttribute(Qt::WA_DeleteOnClose);
        TDocumentWindows::Add(doc);
        doc->show();
        QVERIFY(TDocumentWindows::CloseAll());
        QTRY_VERIFY(!doc);
        QVERIFY(TDocumentWindows::CloseAll());
    }

    void dialogsBlockOnlyTheirOwnWindow() {
        Document doc;
        TDocumentWindows::Add(&doc);
        auto* inner = new QWidget(&doc);
        QDialog dialog;
        TDocumentWindows::MakeWindowModal(&dialog, inner);
        QCOMPARE(dialog.parentWidget(), &doc);
        QVERIFY(dialog.isWindow());
        QCOMPARE(dialog.windowModality(), Qt::WindowModal);
        QDialog orphan;
        TDocumentWindows::MakeWindowModal(&orphan, nullptr);
        QCOMPARE(orphan.windowModality(), Qt::ApplicationModal);
    }
};

QTEST_MAIN(TestDocumentWindows)
#include "test_documentwindows.moc"
