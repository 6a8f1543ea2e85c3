#include "shell/document_windows.h"

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
        DocumentWindows::add(doc);
        QVERIFY(!doc->parentWidget());
        QVERIFY(doc->isWindow());
        QVERIFY(DocumentWindows::windows().contains(doc));
        delete doc;
        QVERIFY(!DocumentWindows::windows().contains(doc));
    }

    void closingStopsAtTheFirstWindowThatRefuses() {
        Document a, b, c;
        for (Document* d : {&a, &b, &c}) {
            DocumentWindows::add(d);
            d->show();
        }
        b.agrees = false;
        QVERIFY(!DocumentWindows::closeAll());
        QVERIFY(!a.isVisible());
        QVERIFY(b.isVisible());
        QVERIFY(c.isVisible());
        QCOMPARE(c.asked, 0);
        b.agrees = true;
        QVERIFY(DocumentWindows::closeAll());
        QVERIFY(!b.isVisible() && !c.isVisible());
        QCOMPARE(a.asked, 1); // a closed window is not asked again
    }

    void windowsThatDeleteThemselvesOnClose() {
        QPointer<Document> doc = new Document;
        doc->setAttribute(Qt::WA_DeleteOnClose);
        DocumentWindows::add(doc);
        doc->show();
        QVERIFY(DocumentWindows::closeAll());
        QTRY_VERIFY(!doc);
        QVERIFY(DocumentWindows::closeAll());
    }

    void dialogsBlockOnlyTheirOwnWindow() {
        Document doc;
        DocumentWindows::add(&doc);
        auto* inner = new QWidget(&doc);
        QDialog dialog;
        DocumentWindows::makeWindowModal(&dialog, inner);
        QCOMPARE(dialog.parentWidget(), &doc);
        QVERIFY(dialog.isWindow());
        QCOMPARE(dialog.windowModality(), Qt::WindowModal);
        QDialog orphan;
        DocumentWindows::makeWindowModal(&orphan, nullptr);
        QCOMPARE(orphan.windowModality(), Qt::ApplicationModal);
    }
};

QTEST_MAIN(TestDocumentWindows)
#include "test_document_windows.moc"
