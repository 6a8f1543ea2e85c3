// The register of documents on a sample book, to look at: a few incoming and outgoing documents
// of February 2024, the period confirmed as the user would.
//
//   sample_register

#include "reports/document_register.h"
#include "shell/period_dialog.h"
#include "tests/support/store/report_book.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTimer>

using namespace reportbook;

namespace {

void fillBook(ReportBook& book) {
    book.setOwnerName(QStringLiteral("ООО \"Ромашка\", касса №1"));
    const int alpha = book.addPartner(1, QStringLiteral("ООО Альфа"), QStringLiteral("Киев"));
    const int beta = book.addPartner(1, QStringLiteral("ИП Бета"), QStringLiteral("Львов"));
    const int delta = book.addPartner(2, QStringLiteral("ПАО Дельта"));
    const int bank = book.addPartner(2, QStringLiteral("АО Банк \"Надёжный\""));
    book.addDocument(1, at("2024-02-01 09:15:00"), alpha, QStringLiteral("Аренда"), cents(1250000),
                     QStringLiteral("1"));
    book.addDocument(1, at("2024-02-05 11:00:00"), beta, QStringLiteral("Услуги"), cents(98050),
                     QStringLiteral("2"));
    book.addDocument(1, at("2024-02-29 23:40:00"), alpha, QStringLiteral("Аренда"), cents(1250000),
                     QStringLiteral("3"));
    book.addDocument(2, at("2024-02-02 10:00:00"), delta, QStringLiteral("Зарплата"),
                     cents(3000000), QStringLiteral("1"));
    book.addDocument(2, at("2024-02-12 15:30:00"), bank, QStringLiteral("Банковские услуги"),
                     cents(15075), QStringLiteral("2"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ReportBook book(BookKind::CashDesk);
    fillBook(book);
    QTimer::singleShot(300, [] {
        if (auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget())) {
            dialog->startDateEdit()->setDate(QDate(2024, 2, 1));
            dialog->endDateEdit()->setDate(QDate(2024, 2, 29));
            dialog->okButton()->click();
        }
    });
    if (!DocumentRegister::open())
        return 1;
    return app.exec();
}
