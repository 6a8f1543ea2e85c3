#include "core/date_time.h"
#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/data_set_model.h"
#include "tests/support/platform/test_database.h"
#include "ui/data_grid.h"
#include "ui/message_box.h"
#include "ui/pick_dialog.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using testsupport::TestDatabase;

namespace {

// A book with partners, and a user's data text for the layouts.
struct Book {
    TestDatabase db;
    QString userData;
    Book() {
        db.exec(QStringList{
            "CREATE TABLE PARTS (PRKEY INTEGER NOT NULL, LNAM VARCHAR(100), CITY VARCHAR(50), "
            "DAT TIMESTAMP)",
            "INSERT INTO PARTS VALUES (10001, 'Альфа', 'Киев', '2024-03-05 10:00:00')",
            "INSERT INTO PARTS VALUES (10002, 'Бета', 'Львов', NULL)",
            "INSERT INTO PARTS VALUES (10003, 'Гамма', 'Одесса', '2024-12-31 00:00:00')"});
    }
};

const QList<GridColumn> kPartColumns{
    {"PRKEY", Qt::AlignRight, QStringLiteral("Код"), 60, QColor()},
    {"LNAM", Qt::AlignLeft, QStringLiteral("Название"), 200, QColor(Qt::yellow)},
    {"CITY", Qt::AlignCenter, QStringLiteral("Город"), 0, QColor()},
};

// A grid over the partners, as a pane holds one.
struct PartsGrid {
    fb::DataSet query;
    DataGrid grid;
    explicit PartsGrid(Book& book) : query(book.db.attachment()) {
        query.setSQL("SELECT PRKEY, LNAM, CITY, DAT FROM PARTS ORDER BY PRKEY");
        query.open();
        grid.setDataSet(&query);
        setGridColumns(grid, kPartColumns);
    }
    QStringList fields() const {
        QStringList names;
        for (int i = 0; i < grid.columnCount(); ++i)
            names << grid.columnFieldName(i);
        return names;
    }
};

void onModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        action(dialog);
    });
}

// A click that goes the way of a real one, through the window system's events, where
// windows blocked by a modal one are passed over.
void systemClick(QWidget* widget) {
    QWindow* window = widget->window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {},
                      widget->mapTo(widget->window(), widget->rect().center()));
}

// A pick dialog of a kind of its own: its set-up names the window, picks and closes, lists the
// partners, and notes how often it ran and what it found of the dialog by then.
class PartnerPick : public PickDialog {
public:
    PartnerPick(fb::Attachment& database, QWidget* owner) : PickDialog(database, owner) {}
    int setUps = 0;
    bool gridOnQuery = false;
    bool closedOnPick = true;

protected:
    void initForm() override {
        ++setUps;
        gridOnQuery = grid() && grid()->dataSet() == &query();
        closedOnPick = closeOnPick();
        setWindowTitle(QStringLiteral("Партнеры"));
        setCloseOnPick(true);
        query().setSQL("SELECT PRKEY, LNAM FROM PARTS ORDER BY PRKEY");
    }
};

} // namespace

class TestDBGrid : public QObject {
    Q_OBJECT
private slots:
    void columnsAsDescribed() {
        Book book;
        PartsGrid parts(book);
        QAbstractItemModel* model = parts.grid.model();
        QCOMPARE(parts.fields(), QStringList({"PRKEY", "LNAM", "CITY"}));
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Название"));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("Альфа"));
        QCOMPARE(model->data(model->index(2, 2)).toString(), QStringLiteral("Одесса"));
        QCOMPARE(model->data(model->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignCenter | Qt::AlignVCenter);
        QCOMPARE(model->data(model->index(1, 1), Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(Qt::yellow));
        QVERIFY(!model->data(model->index(1, 0), Qt::BackgroundRole).isValid());
        QCOMPARE(parts.grid.columnWidthAt(0), 60);
        QCOMPARE(parts.grid.columnWidthAt(1), 200);
        QCOMPARE(parts.grid.columnWidthAt(2), parts.grid.horizontalHeader()->defaultSectionSize());

        // A second set replaces the first.
        setGridColumns(parts.grid, {{"CITY", Qt::AlignLeft, QStringLiteral("Город"), 80, {}},
                                    {"PRKEY", Qt::AlignLeft, QStringLiteral("Код"), 0, {}}});
        QCOMPARE(parts.fields(), QStringList({"CITY", "PRKEY"}));
        QCOMPARE(model->columnCount(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Город"));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("10001"));
        QVERIFY(!model->data(model->index(0, 0), Qt::BackgroundRole).isValid());
        QCOMPARE(parts.grid.columnWidthAt(0), 80);

        addGridColumns(parts.grid, {{"LNAM", Qt::AlignLeft, QStringLiteral("Название"), 0, {}}});
        QCOMPARE(parts.fields(), QStringList({"CITY", "PRKEY", "LNAM"}));

        // A title may stand apart from its cells.
        addGridColumns(parts.grid,
                       {{"PRKEY", Qt::AlignRight, QStringLiteral("Код"), 0, {}, Qt::AlignHCenter}});
        QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignHCenter | Qt::AlignVCenter);
        QCOMPARE(model->data(model->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignLeft | Qt::AlignVCenter);
    }

    void columnsWithoutADataSet() {
        // Columns laid out first are shown once the grid gets its dataset, and kept when it
        // loses it.
        Book book;
        fb::DataSet query(book.db.attachment());
        query.setSQL("SELECT PRKEY, LNAM, CITY FROM PARTS ORDER BY PRKEY");
        query.open();
        DataGrid grid;
        setGridColumns(grid, kPartColumns);
        grid.moveColumn(2, 0);
        QCOMPARE(grid.columnFieldName(0), QStringLiteral("CITY"));
        grid.setDataSet(&query);
        QCOMPARE(grid.model()->columnCount(), 3);
        QCOMPARE(grid.columnWidthAt(columnIndexByFieldName(grid, "LNAM")), 200);
        QCOMPARE(grid.model()->data(grid.model()->index(1, 0)).toString(), QStringLiteral("Львов"));
        grid.setDataSet(nullptr);
        QCOMPARE(grid.columnCount(), 3);
        QCOMPARE(grid.model()->columnCount(), 0);
    }

    void columnIndexByFieldNameFollowsMoves() {
        Book book;
        PartsGrid parts(book);
        QCOMPARE(columnIndexByFieldName(parts.grid, "CITY"), 2);
        parts.grid.moveColumn(2, 0);
        QCOMPARE(columnIndexByFieldName(parts.grid, "CITY"), 0);
        QCOMPARE(columnIndexByFieldName(parts.grid, "PRKEY"), 1);
        for (const QString name : {"lnam", "DAT", ""}) {
            try {
                columnIndexByFieldName(parts.grid, name);
                QFAIL("no error for a field the grid does not show");
            } catch (const ListError& e) {
                QCOMPARE(e.message(), QStringLiteral("Не могу найти колонку!"));
            }
        }
    }

    void layoutSurvivesReopening() {
        Book book;
        {
            PartsGrid parts(book);
            parts.grid.setColumnWidthAt(0, 45);
            parts.grid.setColumnWidthAt(2, 130);
            parts.grid.moveColumn(2, 0); // CITY, PRKEY, LNAM
            parts.grid.moveColumn(2, 1); // CITY, LNAM, PRKEY
            saveGridColumns("TfrmPartsBrowser", parts.grid, book.userData);
        }
        const QString data = book.userData;
        QCOMPARE(getKeyValue(data, "TfrmPartsBrowser|TDBGridCITYWidth"), QStringLiteral("130"));
        QCOMPARE(getKeyValue(data, "TfrmPartsBrowser|TDBGridCITYIndex"), QStringLiteral("0"));
        QCOMPARE(getKeyValue(data, "TfrmPartsBrowser|TDBGridPRKEYIndex"), QStringLiteral("2"));

        PartsGrid parts(book);
        QCOMPARE(parts.fields(), QStringList({"PRKEY", "LNAM", "CITY"}));
        restoreGridColumns("TfrmPartsBrowser", parts.grid, book.userData);
        QCOMPARE(parts.fields(), QStringList({"CITY", "LNAM", "PRKEY"}));
        QCOMPARE(parts.grid.columnWidthAt(0), 130);
        QCOMPARE(parts.grid.columnWidthAt(1), 200);
        QCOMPARE(parts.grid.columnWidthAt(2), 45);
        // The cells follow their columns.
        const int city = parts.grid.horizontalHeader()->logicalIndex(0);
        QCOMPARE(parts.grid.model()->data(parts.grid.model()->index(0, city)).toString(),
                 QStringLiteral("Киев"));

        // Another window's grid over the same fields keeps its own layout.
        PartsGrid other(book);
        restoreGridColumns("TfrmSelectPart", other.grid, book.userData);
        QCOMPARE(other.fields(), QStringList({"PRKEY", "LNAM", "CITY"}));
        QCOMPARE(other.grid.columnWidthAt(0), 60);
        other.grid.setColumnWidthAt(0, 99);
        saveGridColumns("TfrmSelectPart", other.grid, book.userData);
        PartsGrid again(book);
        restoreGridColumns("TfrmPartsBrowser", again.grid, book.userData);
        QCOMPARE(again.grid.columnWidthAt(columnIndexByFieldName(again.grid, "PRKEY")), 45);
        restoreGridColumns("TfrmSelectPart", again.grid, book.userData);
        QCOMPARE(again.fields(), QStringList({"PRKEY", "LNAM", "CITY"}));
        QCOMPARE(again.grid.columnWidthAt(0), 99);
    }

    void storedLayoutOfAnotherSetOfFields() {
        // Layouts written before: a field the grid no longer shows, values that are no
        // numbers, and another form's keys, among other user data.
        Book book;
        QString data = setKeyValue(QString(), "Something", "else");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridOLDFIELDWidth", "300");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridOLDFIELDIndex", "0");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridLNAMWidth", "170");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridLNAMIndex", "2");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridCITYWidth", "wide");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridCITYIndex", "1");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridPRKEYWidth", "0");
        data = setKeyValue(data, "TfrmOperBrowser|TDBGridPRKEYIndex", "x");
        data = setKeyValue(data, "TfrmOther|TDBGridLNAMWidth", "20");
        book.userData = data;

        PartsGrid parts(book);
        restoreGridColumns("TfrmOperBrowser", parts.grid, book.userData);
        QCOMPARE(parts.fields(), QStringList({"PRKEY", "CITY", "LNAM"}));
        QCOMPARE(parts.grid.columnWidthAt(0), 60);
        QCOMPARE(parts.grid.columnWidthAt(2), 170);
        QCOMPARE(parts.grid.columnWidthAt(1), parts.grid.horizontalHeader()->defaultSectionSize());

        // Saving keeps the other records and the absent field's.
        saveGridColumns("TfrmOperBrowser", parts.grid, book.userData);
        const QString saved = book.userData;
        QCOMPARE(getKeyValue(saved, "Something"), QStringLiteral("else"));
        QCOMPARE(getKeyValue(saved, "TfrmOther|TDBGridLNAMWidth"), QStringLiteral("20"));
        QCOMPARE(getKeyValue(saved, "TfrmOperBrowser|TDBGridOLDFIELDWidth"), QStringLiteral("300"));
        QCOMPARE(getKeyValue(saved, "TfrmOperBrowser|TDBGridPRKEYIndex"), QStringLiteral("0"));
    }

    void emptyGridLeavesTheLayoutsAlone() {
        Book book;
        book.userData = setKeyValue(QString(), "TfrmA|TDBGridLNAMWidth", "10");
        fb::DataSet query(book.db.attachment());
        DataGrid grid;
        grid.setDataSet(&query);
        restoreGridColumns("TfrmA", grid, book.userData);
        saveGridColumns("TfrmA", grid, book.userData);
        QCOMPARE(grid.columnCount(), 0);
        QCOMPARE(book.userData, setKeyValue(QString(), "TfrmA|TDBGridLNAMWidth", "10"));
    }

    void selectionFollowsTheCursor() {
        Book book;
        PartsGrid parts(book);
        QCOMPARE(parts.grid.currentIndex().row(), 0);
        QCOMPARE(parts.grid.selectionModel()->selectedIndexes().size(), 3); // the whole row
        parts.grid.selectRow(2);
        QCOMPARE(parts.query.currentRow(), 2);
        QCOMPARE(parts.query.field("LNAM").asString(), QStringLiteral("Гамма"));
        parts.query.prior();
        QCOMPARE(parts.grid.currentIndex().row(), 1);
        QVERIFY(parts.grid.selectionModel()->isRowSelected(1, {}));
        parts.query.close();
        parts.query.open();
        QCOMPARE(parts.grid.currentIndex().row(), 0);
        parts.query.locate("PRKEY", 10003);
        QCOMPARE(parts.grid.currentIndex().row(), 2);
    }

    void enterAndDoubleClickOpen() {
        Book book;
        PartsGrid parts(book);
        parts.grid.resize(500, 200);
        parts.grid.show();
        QSignalSpy opened(&parts.grid, &DataGrid::openRequested);
        QTest::keyClick(&parts.grid, Qt::Key_Down);
        QCOMPARE(parts.query.currentRow(), 1);
        QCOMPARE(opened.count(), 0);
        QTest::keyClick(&parts.grid, Qt::Key_Return);
        QTest::keyClick(&parts.grid, Qt::Key_Enter);
        QCOMPARE(opened.count(), 2);
        const QRect cell = parts.grid.visualRect(parts.grid.model()->index(2, 1));
        QTest::mouseDClick(parts.grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(opened.count(), 3);
        QCOMPARE(parts.query.currentRow(), 2);
        // Below the last row there is nothing to open.
        QTest::mouseDClick(parts.grid.viewport(), Qt::LeftButton, {},
                           QPoint(cell.center().x(), parts.grid.viewport()->height() - 3));
        QCOMPARE(opened.count(), 3);
    }

    // A long result shows as it is read: the view asks for more as it scrolls down, and
    // Ctrl+End stands on the very last row.
    void aLongResultShowsAsItIsRead() {
        TestDatabase db;
        db.exec({"CREATE TABLE PARTS (PRKEY INTEGER NOT NULL, LNAM VARCHAR(100))",
                 "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 3000) DO BEGIN "
                 "INSERT INTO PARTS VALUES (:I, 'Фирма ' || :I); I = I + 1; END END"});
        fb::DataSet query(db.attachment());
        query.setSQL("SELECT PRKEY, LNAM FROM PARTS ORDER BY PRKEY");
        query.open();
        DataGrid grid;
        grid.setDataSet(&query);
        setGridColumns(
            grid, {{"PRKEY", Qt::AlignRight, "Код", 60}, {"LNAM", Qt::AlignLeft, "Название", 200}});
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCoreApplication::processEvents();
        const int shown = grid.model()->rowCount();
        QVERIFY(shown > 0 && shown < 3000);
        QCOMPARE(shown, query.fetchedCount());

        grid.scrollToBottom();
        QCoreApplication::processEvents();
        QVERIFY(grid.model()->rowCount() > shown);
        QCOMPARE(grid.model()->rowCount(), query.fetchedCount());
        QVERIFY(query.canFetchMore());

        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.model()->rowCount(), 3000);
        QCOMPARE(query.currentRow(), 2999);
        QCOMPARE(grid.currentIndex().row(), 2999);
        QCOMPARE(grid.model()->data(grid.model()->index(2999, 1)).toString(),
                 QStringLiteral("Фирма 3000"));
        QVERIFY(grid.viewport()->rect().intersects(grid.visualRect(grid.currentIndex())));
    }

    void pickActionsOnTheToolButtons() {
        Book book;
        const std::unique_ptr<PickDialog> made(PickDialog::create(book.db.attachment()));
        PickDialog& dialog = *made;
        QCOMPARE(dialog.objectName(), QStringLiteral("pickDialog"));
        QCOMPARE(dialog.grid(), dialog.findChild<DataGrid*>(QStringLiteral("grid")));
        QVERIFY(!dialog.closeOnPick());
        dialog.setCloseOnPick(true);
        QVERIFY(dialog.closeOnPick());
        const struct {
            QAction* action;
            const char* actionName;
            const char* buttonName;
            QString caption;
        } commands[] = {
            {dialog.selectAction(), "selectAction", "selectButton", QStringLiteral("Открыть")},
            {dialog.closeAction(), "closeAction", "closeButton", QStringLiteral("Закрыть")},
        };
        for (const auto& command : commands) {
            QVERIFY(command.action);
            QCOMPARE(command.action->objectName(), QLatin1String(command.actionName));
            QCOMPARE(command.action->text(), command.caption);
            QVERIFY(!command.action->icon().isNull());
            auto* button = dialog.findChild<QToolButton*>(QLatin1String(command.buttonName));
            QVERIFY(button);
            QCOMPARE(button->defaultAction(), command.action);
            QCOMPARE(button->text(), command.caption);
        }
    }

    void pickCallbacks() {
        Book book;
        QPointer<PickDialog> dialog = PickDialog::create(book.db.attachment());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Выберите"));
        dialog->query().setSQL("SELECT PRKEY, LNAM, DAT FROM PARTS ORDER BY PRKEY");
        dialog->query().prepare();
        dialog->query().field("DAT").setOnGetText(dateFieldText);
        dialog->query().open();
        setGridColumns(*dialog->grid(),
                       {{"LNAM", Qt::AlignLeft, QStringLiteral("Название"), 150, {}},
                        {"DAT", Qt::AlignLeft, QStringLiteral("Дата"), 0, {}}});
        QAbstractItemModel* model = dialog->grid()->model();
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("05.03.2024"));
        QCOMPARE(model->data(model->index(1, 1)).toString(), QString());

        QStringList picks;
        bool stillOpen = false;
        onModal([&](QWidget* shown) {
            QCOMPARE(shown, dialog.data());
            QVERIFY(shown->windowState() & Qt::WindowMaximized);
            dialog->grid()->selectRow(1);
            dialog->selectAction()->trigger();
            QTest::keyClick(dialog->grid(), Qt::Key_Down);
            QTest::keyClick(dialog->grid(), Qt::Key_Return);
            stillOpen = dialog->isVisible();
            QTest::keyClick(dialog->grid(), Qt::Key_Escape);
        });
        dialog->execute([&] { picks << "pick " + dialog->query().field("LNAM").asString(); },
                        [&](PickDialog* sender) {
                            picks << QStringLiteral("sender %1").arg(sender == dialog);
                        });
        QCOMPARE(picks, QStringList({"pick Бета", "sender 1", "pick Гамма", "sender 1"}));
        QVERIFY(stillOpen);
        QVERIFY(dialog.isNull()); // freed when closed
    }

    void pickCloses_data() {
        QTest::addColumn<bool>("withCallbacks");
        QTest::addColumn<QString>("how");
        QTest::newRow("action, callbacks") << true << "action";
        QTest::newRow("action, no callback") << false << "action";
        QTest::newRow("button, callbacks") << true << "button";
        QTest::newRow("enter, no callback") << false << "enter";
        QTest::newRow("double click, callbacks") << true << "double click";
    }
    void pickCloses() {
        QFETCH(bool, withCallbacks);
        QFETCH(QString, how);
        Book book;
        QPointer<PickDialog> dialog = PickDialog::create(book.db.attachment());
        dialog->setCloseOnPick(true);
        dialog->query().setSQL("SELECT PRKEY FROM PARTS ORDER BY PRKEY");
        dialog->query().open();
        setGridColumns(*dialog->grid(), {{"PRKEY", Qt::AlignLeft, "Код", 0, {}}});
        int calls = 0;
        qint64 picked = 0;
        onModal([&](QWidget*) {
            dialog->query().last();
            DataGrid* grid = dialog->grid();
            if (how == "action") {
                dialog->selectAction()->trigger();
            } else if (how == "button") {
                dialog->findChild<QToolButton*>(QStringLiteral("selectButton"))->click();
            } else if (how == "enter") {
                QTest::keyClick(grid, Qt::Key_Return);
            } else {
                const QRect cell = grid->visualRect(grid->model()->index(2, 0));
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            }
            if (dialog && dialog->isVisible()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                QFAIL("the pick did not close the window");
            }
        });
        if (withCallbacks)
            dialog->execute([&] { picked = dialog->query().field("PRKEY").asInteger(); },
                            [&](PickDialog*) { ++calls; });
        else
            dialog->execute({}, {});
        QVERIFY(dialog.isNull());
        QCOMPARE(picked, withCallbacks ? 10003 : 0);
        QCOMPARE(calls, withCallbacks ? 1 : 0);
    }

    // The set-up of a descendant runs once, on the finished dialog, before the caller's,
    // which has the last word.
    void descendantSetsItselfUpWhenCreated() {
        Book book;
        QPointer<PartnerPick> dialog = PickDialog::create<PartnerPick>(book.db.attachment());
        QCOMPARE(dialog->setUps, 1);
        QVERIFY(dialog->gridOnQuery);
        QVERIFY(!dialog->closedOnPick);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Партнеры"));
        QVERIFY(dialog->closeOnPick());
        dialog->setWindowTitle(QStringLiteral("Плательщики"));
        dialog->query().open();
        setGridColumns(*dialog->grid(), {{"LNAM", Qt::AlignLeft, "Название", 0, {}}});
        QString picked;
        onModal([&](QWidget* shown) {
            QCOMPARE(shown->windowTitle(), QStringLiteral("Плательщики"));
            QCOMPARE(dialog->setUps, 1);
            dialog->query().last();
            dialog->selectAction()->trigger();
            if (dialog && dialog->isVisible()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                QFAIL("the pick did not close the window");
            }
        });
        dialog->execute([&] { picked = dialog->query().field("LNAM").asString(); }, {});
        QVERIFY(dialog.isNull());
        QCOMPARE(picked, QStringLiteral("Гамма"));
    }

    void failedPickKeepsTheWindow() {
        // A callback that raises shows its message; the window stays for another try.
        Book book;
        QStringList messages;
        ScopedDialogAnswerer answerer([&](const DialogRequest& request) {
            messages << request.text;
            return DialogAnswer{Answer::Ok, {}};
        });
        QPointer<PickDialog> dialog = PickDialog::create(book.db.attachment());
        dialog->setCloseOnPick(true);
        int senderCalls = 0;
        bool stillOpen = false;
        onModal([&](QWidget*) {
            dialog->selectAction()->trigger();
            stillOpen = dialog->isVisible();
            dialog->closeAction()->trigger();
        });
        dialog->execute([] { throw Exception(QStringLiteral("Запись занята")); },
                        [&](PickDialog*) { ++senderCalls; });
        QVERIFY(dialog.isNull());
        QVERIFY(stillOpen);
        QCOMPARE(messages, QStringList{QStringLiteral("Запись занята")});
        QCOMPARE(senderCalls, 0);
    }

    void closeWithoutPick() {
        Book book;
        for (const QString how : {"action", "button", "escape"}) {
            QPointer<PickDialog> dialog = PickDialog::create(book.db.attachment());
            dialog->setCloseOnPick(true);
            int picks = 0;
            onModal([&](QWidget*) {
                if (how == "action")
                    dialog->closeAction()->trigger();
                else if (how == "button")
                    dialog->findChild<QToolButton*>(QStringLiteral("closeButton"))->click();
                else
                    QTest::keyClick(dialog->grid(), Qt::Key_Escape);
            });
            dialog->execute([&] { ++picks; }, [&](PickDialog*) { ++picks; });
            QVERIFY(dialog.isNull());
            QCOMPARE(picks, 0);
        }
    }

    void documentWindowFromAPick() {
        // A document window is a top-level window of its own; the pick dialog over another
        // window must not block it, while that other window stays blocked.
        Book book;
        QWidget owner;
        auto* ownerButton = new QPushButton("owner", &owner);
        owner.resize(300, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        int ownerClicks = 0, documentClicks = 0;
        QObject::connect(ownerButton, &QPushButton::clicked, [&] { ++ownerClicks; });
        std::unique_ptr<QWidget> document;

        QPointer<PickDialog> dialog = PickDialog::create(book.db.attachment(), ownerButton);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        onModal([&](QWidget*) {
            dialog->selectAction()->trigger();
            QVERIFY(document);
            auto* button = document->findChild<QPushButton*>();
            systemClick(button);
            systemClick(ownerButton);
            dialog->closeAction()->trigger();
        });
        dialog->execute(
            [&] {
                document = std::make_unique<QWidget>();
                auto* button = new QPushButton("document", document.get());
                QObject::connect(button, &QPushButton::clicked, [&] { ++documentClicks; });
                document->resize(300, 200);
                document->show();
                QVERIFY(QTest::qWaitForWindowExposed(document.get()));
            },
            {});
        QCOMPARE(documentClicks, 1);
        QCOMPARE(ownerClicks, 0);
        systemClick(ownerButton);
        QCOMPARE(ownerClicks, 1);
    }
};

QTEST_MAIN(TestDBGrid)
#include "test_data_grid.moc"
