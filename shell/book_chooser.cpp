#include "shell/book_chooser.h"

#include "core/exceptions.h"
#include "shell/help_viewer.h"
#include "shell/new_book_command.h"
#include "store/book_kind.h"
#include "store/book_list.h"
#include "store/book_restore.h"
#include "store/data_store.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char* const kManagerParam = "-dbcontrol";
const char* const kSelectBase = "Выделите необходимую базу!";
const char* const kRestoreCaption = "Восстановление";

// The words of the restore question for a backup kind folder.
QString kindAdjective(BackupKind kind) {
    switch (kind) {
    case BackupKind::Yesterday:
        return QStringLiteral("вчерашней");
    case BackupKind::Week:
        return QStringLiteral("еженедельной");
    case BackupKind::Reserv:
        break;
    }
    return QStringLiteral("текущей");
}

// Offers to create the first book, a cash desk or a bank account, until one is made or the user
// gives up; false when the user gives up. A failed attempt has shown its error.
bool offerFirstBook() {
    for (;;) {
        const Answer answer = dialogs::messageBox(
            nullptr,
            QStringLiteral("Не указано ни одной базы данных!\n\nСоздать новую базу данных?\n"
                           "«Да» — касса,\n«Нет» — расчетный счет,\n"
                           "«Отмена» — выход из программы."),
            QStringLiteral("Новая база данных"), Buttons::YesNoCancel, MessageIcon::Question);
        bool made = false;
        if (answer == Answer::Yes)
            runGuarded([&] {
                made = addBook(nullptr, BookKind::CashDesk, QStringLiteral("Название новой кассы"),
                               QStringLiteral("Новая касса"), nullptr, true);
            });
        else if (answer == Answer::No)
            runGuarded([&] {
                made = addBook(nullptr, BookKind::BankAccount,
                               QStringLiteral("Название нового расчтеного счета"),
                               QStringLiteral("Новый расчетный счет"), nullptr, true);
            });
        else
            return false;
        if (made)
            return true;
    }
}

QWidget* panelWith(QPushButton* button, const QString& name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    return panel;
}

} // namespace

BookChooser::BookChooser(Mode mode, QWidget* owner) : QDialog(owner), m_mode(mode) {
    setObjectName(QStringLiteral("bookChooser"));
    buildLayout();
    applyMode();
}

void BookChooser::buildLayout() {
    setWindowTitle(QStringLiteral("Выберите базу данных"));

    m_titleLabel =
        new QLabel(QStringLiteral("Выберете базу данных, к которой небходимо подключиться:"), this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_okButton->setToolTip(QStringLiteral("Подключение к выбранной базе данных"));
    m_okPanel = panelWith(m_okButton, QStringLiteral("okPanel"), this);

    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setToolTip(QStringLiteral("Выход из программы"));
    m_cancelPanel = panelWith(m_cancelButton, QStringLiteral("cancelPanel"), this);

    m_bookList = new QTreeWidget(this);
    m_bookList->setObjectName(QStringLiteral("bookList"));
    m_bookList->setRootIsDecorated(false);
    m_bookList->setUniformRowHeights(true);
    m_bookList->setAllColumnsShowFocus(true);
    m_bookList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_bookList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_bookList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_bookList->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Файл базы данных")});
    m_bookList->setColumnWidth(0, 200);
    m_bookList->header()->setStretchLastSection(true);

    m_deleteButton = new QPushButton(QStringLiteral("Удалить из списка"), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_deleteButton->setToolTip(QStringLiteral(
        "Удаление подключения. Удаляется только из этого списка, база данных остается."));
    m_deletePanel = panelWith(m_deleteButton, QStringLiteral("deletePanel"), this);

    m_restoreGroup = new QGroupBox(QStringLiteral("Восстановление"), this);
    m_restoreGroup->setObjectName(QStringLiteral("restoreGroup"));
    m_restoreReservButton =
        new QPushButton(QStringLiteral("Восстановить текущую копию..."), m_restoreGroup);
    m_restoreReservButton->setObjectName(QStringLiteral("restoreReservButton"));
    m_restoreYesterdayButton =
        new QPushButton(QStringLiteral("Восстановить вчерашнюю копию..."), m_restoreGroup);
    m_restoreYesterdayButton->setObjectName(QStringLiteral("restoreYesterdayButton"));
    m_restoreWeekButton =
        new QPushButton(QStringLiteral("Восстановить еженедельную копию..."), m_restoreGroup);
    m_restoreWeekButton->setObjectName(QStringLiteral("restoreWeekButton"));
    auto* restoreLayout = new QHBoxLayout(m_restoreGroup);
    restoreLayout->addWidget(m_restoreReservButton);
    restoreLayout->addWidget(m_restoreYesterdayButton);
    restoreLayout->addWidget(m_restoreWeekButton);

    m_addButton = new QPushButton(QStringLiteral("Добавить..."), this);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addPanel = panelWith(m_addButton, QStringLiteral("addPanel"), this);
    m_addPanel->hide();
    m_deletePanel->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addPanel);
    buttons->addWidget(m_deletePanel);
    buttons->addStretch(1);
    buttons->addWidget(m_okPanel);
    buttons->addWidget(m_cancelPanel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_bookList, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_restoreGroup);
    setHelpContexts();

    const auto guarded = [this](void (BookChooser::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(m_okButton, &QPushButton::clicked, this, guarded(&BookChooser::onOkClicked));
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_bookList, &QTreeWidget::itemDoubleClicked, this, guarded(&BookChooser::onOkClicked));
    connect(m_bookList, &QTreeWidget::itemSelectionChanged, this,
            guarded(&BookChooser::onBookSelectionChanged));
    connect(m_deleteButton, &QPushButton::clicked, this, guarded(&BookChooser::onDeleteClicked));
    connect(m_addButton, &QPushButton::clicked, this, guarded(&BookChooser::onAddClicked));
    connect(m_restoreReservButton, &QPushButton::clicked, this,
            guarded(&BookChooser::onRestoreReservClicked));
    connect(m_restoreYesterdayButton, &QPushButton::clicked, this,
            guarded(&BookChooser::onRestoreYesterdayClicked));
    connect(m_restoreWeekButton, &QPushButton::clicked, this,
            guarded(&BookChooser::onRestoreWeekClicked));
}

void BookChooser::setHelpContexts() {
    help::setHelpContext(m_bookList, 1001);
    help::setHelpContext(m_okButton, 1002);
    help::setHelpContext(m_cancelButton, 1003);
    help::setHelpContext(m_deleteButton, 1004);
    help::setHelpContext(m_addButton, 1054);
    for (QPushButton* button :
         {m_restoreReservButton, m_restoreYesterdayButton, m_restoreWeekButton})
        help::setHelpContext(button, 1055);
}

void BookChooser::applyMode() {
    if (m_mode == Mode::Manager) {
        setWindowTitle(QStringLiteral("Управление базами данных"));
        m_titleLabel->setText(QStringLiteral("Список используемых баз данных"));
        m_cancelButton->setText(QStringLiteral("Выход"));
        m_okPanel->hide();
        m_addPanel->show();
        m_deletePanel->show();
        m_restoreGroup->show();
        resize(760, 400);
    } else {
        m_restoreGroup->hide();
        m_bookList->setColumnCount(1);
        resize(420, 270);
    }
    onBookSelectionChanged();
}

std::optional<int> BookChooser::parseBParameter(const QString& firstParam) {
    const QString param = firstParam.left(128).trimmed();
    if (!param.startsWith(QLatin1Char('B')))
        return std::nullopt;
    bool ok = false;
    const int number = param.mid(1).trimmed().toInt(&ok, 10);
    if (!ok)
        throw ConvertError(QStringLiteral("Неверный параметр командной строки \"%1\": после "
                                          "\"B\" должен стоять номер базы данных.")
                               .arg(param));
    return number - 1;
}

ChosenBook BookChooser::choose(const QString& firstParam) {
    const BookList books(DataStore::instance().ini());
    const QString param = firstParam.left(128);
    const std::optional<int> number = parseBParameter(param);
    QList<BookEntry> entries = books.entries();

    if (param == QLatin1String(kManagerParam)) {
        BookChooser form(Mode::Manager);
        form.loadBookList(entries);
        if (entries.isEmpty())
            dialogs::showMessage(QStringLiteral("Не указано ни одной базы данных!"));
        form.exec();
        return {};
    }

    while (entries.isEmpty()) {
        if (!offerFirstBook())
            return {};
        entries = books.entries();
    }

    if (entries.size() == 1)
        return ChosenBook(0, entries.first().path);

    if (number) {
        if (*number < 0 || *number >= entries.size()) {
            dialogs::showMessage(
                QStringLiteral("В параметре \"B\" указан несуществующий номер базы данных!"));
            return {};
        }
        return ChosenBook(*number, entries.at(*number).path);
    }

    BookChooser form(Mode::Choice);
    form.loadBookList(entries);
    if (form.exec() != QDialog::Accepted)
        return {};
    const int selected = form.selectedIndex();
    if (selected < 0)
        return {};
    return ChosenBook(selected, entries.at(selected).path);
}

void BookChooser::loadBookList(const QList<BookEntry>& entries) {
    m_bookList->clear();
    for (const BookEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(m_bookList, {entry.caption, entry.path});
        item->setData(0, Qt::UserRole, entry.path);
    }
    if (m_bookList->topLevelItemCount() > 0) {
        m_bookList->setCurrentItem(m_bookList->topLevelItem(0));
        m_bookList->setFocus();
    }
    onBookSelectionChanged();
}

QList<BookEntry> BookChooser::bookEntries() const {
    QList<BookEntry> entries;
    for (int i = 0; i < m_bookList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_bookList->topLevelItem(i);
        entries << BookEntry{item->text(0), item->data(0, Qt::UserRole).toString()};
    }
    return entries;
}

void BookChooser::reloadBookList(int current) {
    loadBookList(BookList(DataStore::instance().ini()).entries());
    const int last = m_bookList->topLevelItemCount() - 1;
    if (last >= 0)
        m_bookList->setCurrentItem(m_bookList->topLevelItem(qBound(0, current, last)));
}

int BookChooser::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = m_bookList->selectedItems();
    return selected.isEmpty() ? -1 : m_bookList->indexOfTopLevelItem(selected.first());
}

void BookChooser::onOkClicked() {
    if (selectedIndex() < 0) {
        dialogs::showMessage(QString::fromUtf8(kSelectBase));
        return;
    }
    accept();
}

void BookChooser::onAddClicked() {
    QString file;
    if (!dialogs::openFileName(this, QStringLiteral("Выберите базу данных"),
                               QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/Databases"),
                               QStringLiteral("Базы данных (*.fdb *.FDB)"), file))
        return;
    reloadBookList(selectedIndex());
    for (int i = 0; i < m_bookList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_bookList->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString().toUpper() == file.toUpper()) {
            m_bookList->setCurrentItem(item);
            dialogs::messageBox(this,
                                QStringLiteral("Выбранная Вами база данных уже присутствует в "
                                               "списке!"),
                                QStringLiteral("Добавление базы данных"), Buttons::Ok,
                                MessageIcon::Warning);
            return;
        }
    }
    const int current = selectedIndex();
    BookList(DataStore::instance().ini()).append(file, BookList::fileNamePart(file));
    reloadBookList(current);
}

void BookChooser::onDeleteClicked() {
    const int index = selectedIndex();
    if (index < 0)
        return;
    if (m_bookList->topLevelItemCount() == 1) {
        dialogs::showMessage(QStringLiteral("Вы не можете удалить единственную ссылку!"));
        return;
    }
    if (dialogs::messageBox(this, QStringLiteral("Вы уверенны, что хотите удалить запись?"),
                            QStringLiteral("Удаление"), Buttons::YesNo, MessageIcon::Question,
                            DefaultButton::Second) != Answer::Yes)
        return;
    BookList(DataStore::instance().ini())
        .remove(m_bookList->topLevelItem(index)->data(0, Qt::UserRole).toString());
    reloadBookList(index);
}

void BookChooser::restoreSelected(BackupKind kind) {
    const int index = selectedIndex();
    if (index < 0) {
        dialogs::showMessage(QString::fromUtf8(kSelectBase));
        return;
    }
    restoreBackup(m_bookList->topLevelItem(index)->data(0, Qt::UserRole).toString(), kind, this);
    onBookSelectionChanged();
}

void BookChooser::onRestoreReservClicked() {
    restoreSelected(BackupKind::Reserv);
}

void BookChooser::onRestoreYesterdayClicked() {
    restoreSelected(BackupKind::Yesterday);
}

void BookChooser::onRestoreWeekClicked() {
    restoreSelected(BackupKind::Week);
}

void BookChooser::onBookSelectionChanged() {
    const int index = selectedIndex();
    const QString path =
        index < 0 ? QString() : m_bookList->topLevelItem(index)->data(0, Qt::UserRole).toString();
    const auto exists = [&](BackupKind kind) {
        return index >= 0 &&
               QFileInfo::exists(DataStore::backupPath(path, DataStore::backupFolder(kind)));
    };
    m_restoreReservButton->setEnabled(exists(BackupKind::Reserv));
    m_restoreYesterdayButton->setEnabled(exists(BackupKind::Yesterday));
    m_restoreWeekButton->setEnabled(exists(BackupKind::Week));
}

bool BookChooser::restoreBackup(const QString& path, BackupKind kind, QWidget* owner) {
    const QString backup = DataStore::backupPath(path, DataStore::backupFolder(kind));
    const QFileInfo backupInfo(backup);
    if (!backupInfo.exists()) {
        dialogs::messageBox(owner,
                            QStringLiteral("Копия базы данных не найдена:\n") +
                                QDir::toNativeSeparators(backup),
                            QString::fromUtf8(kRestoreCaption), Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    const QString question =
        QStringLiteral("Восстановить базу данных\n%1\nиз %2 копии от %3?\n\n"
                       "Все изменения, внесенные после создания копии, будут потеряны.")
            .arg(QDir::toNativeSeparators(path), kindAdjective(kind),
                 backupInfo.lastModified().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    if (dialogs::messageBox(owner, question, QString::fromUtf8(kRestoreCaption), Buttons::YesNo,
                            MessageIcon::Question, DefaultButton::Second) != Answer::Yes)
        return false;
    try {
        execWithSQLWaitCursor([&] { restoreBook(backup, path); });
    } catch (const Exception& e) {
        dialogs::messageBox(owner,
                            QStringLiteral("Не удалось восстановить базу данных!\n\n") +
                                e.message() +
                                QStringLiteral("\n\nБаза данных осталась без изменений."),
                            QString::fromUtf8(kRestoreCaption), Buttons::Ok, MessageIcon::Error);
        return false;
    }
    dialogs::messageBox(owner, QStringLiteral("База данных восстановлена."),
                        QString::fromUtf8(kRestoreCaption), Buttons::Ok, MessageIcon::Information);
    return true;
}
