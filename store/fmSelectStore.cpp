#include "store/fmSelectStore.h"

#include "platform/IniFile.h"
#include "platform/firebird/fbAttachment.h"
#include "platform/firebird/fbError.h"
#include "platform/firebird/fbServices.h"
#include "platform/firebird/fbStatement.h"
#include "platform/firebird/fbTransaction.h"
#include "store/dmDataStoreProto.h"
#include "store/uNewDatabase.h"
#include "util/SysUtPlus.h"
#include "util/uExceptions.h"
#include "util/uGuard.h"
#include "util/uMessageBox.h"

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
const char* const kSection = "DB";
const char* const kSelectBase = "Выделите необходимую базу!";
const char* const kRestoreCaption = "Восстановление";

QString captionKey(int i) {
    return QStringLiteral("DatabaseCaption_") + QString::number(i);
}

QString pathKey(int i) {
    return QStringLiteral("DatabasePath_") + QString::number(i);
}

// The file name part of a path; the list may come from a system with either separator.
QString fileNamePart(const QString& path) {
    const int slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

// The words of the restore question for a backup kind folder.
QString kindAdjective(const QString& kind) {
    if (kind == TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Yesterday))
        return QStringLiteral("вчерашней");
    if (kind == TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Week))
        return QStringLiteral("еженедельной");
    return QStringLiteral("текущей");
}

// A file that is removed when the owner goes, whatever happened to it in between.
class TemporaryFile {
public:
    explicit TemporaryFile(QString path) : m_path(std::move(path)) { QFile::remove(m_path); }
    ~TemporaryFile() { QFile::remove(m_path); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// True when another connection is attached to the database. A file that cannot be opened at all
// is taken as not in use: a damaged database is what a restore is for.
bool databaseInUse(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    fb::Attachment database;
    try {
        database.attach(path);
    } catch (const fb::Error&) {
        return false;
    }
    fb::Transaction transaction(database, fb::TransactionKind::ReadOnly);
    fb::Statement query(transaction,
                        QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS\n"
                                       "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION\n"
                                       "AND MON$SYSTEM_FLAG = 0"));
    query.execute();
    query.fetch();
    const bool inUse = query.field(0).asInteger() > 0;
    query.close();
    transaction.commit();
    return inUse;
}

// Restores the backup into a temporary file beside the database and puts it in the database's
// place only when the restore has succeeded.
void restoreBySwap(const QString& backup, const QString& path) {
    const QFileInfo info(path);
    TemporaryFile temporary(info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                            QStringLiteral(".restore.tmp"));
    fb::services::restore(backup, temporary.path());
    if (databaseInUse(path))
        throw Exception(QStringLiteral("База данных используется другой программой. Закройте ее "
                                       "и повторите восстановление."));
    ReplaceFile(temporary.path(), path);
}

// Offers to create the first book, a cash desk or a bank account, until one is made or the user
// gives up; false when the user gives up. A failed attempt has shown its error.
bool offerFirstBook() {
    for (;;) {
        const int answer = dialogs::messageBox(
            nullptr,
            QStringLiteral("Не указано ни одной базы данных!\n\nСоздать новую базу данных?\n"
                           "«Да» — касса,\n«Нет» — расчетный счет,\n"
                           "«Отмена» — выход из программы."),
            QStringLiteral("Новая база данных"), MB_YESNOCANCEL | MB_ICONQUESTION);
        bool made = false;
        if (answer == IDYES)
            runGuarded([&] {
                made = AddDatabase(nullptr, otCashDesk, QStringLiteral("Название новой кассы"),
                                   QStringLiteral("Новая касса"), nullptr, true);
            });
        else if (answer == IDNO)
            runGuarded([&] {
                made = AddDatabase(nullptr, otBankAccount,
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

TfrmSelectStore::TfrmSelectStore(Mode mode, QWidget* owner) : QDialog(owner), m_mode(mode) {
    setObjectName(QStringLiteral("frmSelectStore"));
    buildLayout();
    FormCreate();
}

void TfrmSelectStore::buildLayout() {
    setWindowTitle(QStringLiteral("Выберите базу данных"));

    m_lblTitle =
        new QLabel(QStringLiteral("Выберете базу данных, к которой небходимо подключиться:"), this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));

    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnOK->setToolTip(QStringLiteral("Подключение к выбранной базе данных"));
    m_pnlOK = panelWith(m_btnOK, QStringLiteral("pnlOK"), this);

    m_btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setToolTip(QStringLiteral("Выход из программы"));
    m_pnlCancel = panelWith(m_btnCancel, QStringLiteral("pnlCancel"), this);

    m_liviStores = new QTreeWidget(this);
    m_liviStores->setObjectName(QStringLiteral("liviStores"));
    m_liviStores->setRootIsDecorated(false);
    m_liviStores->setUniformRowHeights(true);
    m_liviStores->setAllColumnsShowFocus(true);
    m_liviStores->setSelectionMode(QAbstractItemView::SingleSelection);
    m_liviStores->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liviStores->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liviStores->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Файл базы данных")});
    m_liviStores->setColumnWidth(0, 200);
    m_liviStores->header()->setStretchLastSection(true);

    m_btnDelete = new QPushButton(QStringLiteral("Удалить из списка"), this);
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_btnDelete->setToolTip(QStringLiteral(
        "Удаление подключения. Удаляется только из этого списка, база данных остается."));
    m_pnlDelete = panelWith(m_btnDelete, QStringLiteral("pnlDelete"), this);

    m_grbxRestore = new QGroupBox(QStringLiteral("Восстановление"), this);
    m_grbxRestore->setObjectName(QStringLiteral("grbxRestore"));
    m_btnRestoreReserv =
        new QPushButton(QStringLiteral("Восстановить текущую копию..."), m_grbxRestore);
    m_btnRestoreReserv->setObjectName(QStringLiteral("btnRestoreReserv"));
    m_btnRestoreYesterday =
        new QPushButton(QStringLiteral("Восстановить вчерашнюю копию..."), m_grbxRestore);
    m_btnRestoreYesterday->setObjectName(QStringLiteral("btnRestoreYesterday"));
    m_btnRestoreWeek =
        new QPushButton(QStringLiteral("Восстановить еженедельную копию..."), m_grbxRestore);
    m_btnRestoreWeek->setObjectName(QStringLiteral("btnRestoreWeek"));
    auto* restoreLayout = new QHBoxLayout(m_grbxRestore);
    restoreLayout->addWidget(m_btnRestoreReserv);
    restoreLayout->addWidget(m_btnRestoreYesterday);
    restoreLayout->addWidget(m_btnRestoreWeek);

    m_btnAdd = new QPushButton(QStringLiteral("Добавить..."), this);
    m_btnAdd->setObjectName(QStringLiteral("btnAdd"));
    m_pnlAdd = panelWith(m_btnAdd, QStringLiteral("pnlAdd"), this);
    m_pnlAdd->hide();
    m_pnlDelete->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pnlAdd);
    buttons->addWidget(m_pnlDelete);
    buttons->addStretch(1);
    buttons->addWidget(m_pnlOK);
    buttons->addWidget(m_pnlCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblTitle);
    layout->addWidget(m_liviStores, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_grbxRestore);

    const auto guarded = [this](void (TfrmSelectStore::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(m_btnOK, &QPushButton::clicked, this, guarded(&TfrmSelectStore::btnOKClick));
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_liviStores, &QTreeWidget::itemDoubleClicked, this,
            guarded(&TfrmSelectStore::btnOKClick));
    connect(m_liviStores, &QTreeWidget::itemSelectionChanged, this,
            guarded(&TfrmSelectStore::liviStoresChange));
    connect(m_btnDelete, &QPushButton::clicked, this, guarded(&TfrmSelectStore::btnDeleteClick));
    connect(m_btnAdd, &QPushButton::clicked, this, guarded(&TfrmSelectStore::btnAddClick));
    connect(m_btnRestoreReserv, &QPushButton::clicked, this,
            guarded(&TfrmSelectStore::btnRestoreReservClick));
    connect(m_btnRestoreYesterday, &QPushButton::clicked, this,
            guarded(&TfrmSelectStore::btnRestoreYesterdayClick));
    connect(m_btnRestoreWeek, &QPushButton::clicked, this,
            guarded(&TfrmSelectStore::btnRestoreWeekClick));
}

void TfrmSelectStore::FormCreate() {
    if (m_mode == Mode::Manager) {
        setWindowTitle(QStringLiteral("Управление базами данных"));
        m_lblTitle->setText(QStringLiteral("Список используемых баз данных"));
        m_btnCancel->setText(QStringLiteral("Выход"));
        m_pnlOK->hide();
        m_pnlAdd->show();
        m_pnlDelete->show();
        m_grbxRestore->show();
        resize(760, 400);
    } else {
        m_grbxRestore->hide();
        m_liviStores->setColumnCount(1);
        resize(420, 270);
    }
    liviStoresChange();
}

std::optional<int> TfrmSelectStore::ParseBParameter(const QString& firstParam) {
    const QString param = firstParam.left(128).trimmed();
    if (!param.startsWith(QLatin1Char('B')))
        return std::nullopt;
    bool ok = false;
    const int number = param.mid(1).trimmed().toInt(&ok, 10);
    if (!ok)
        throw EConvertError(QStringLiteral("Неверный параметр командной строки \"%1\": после "
                                           "\"B\" должен стоять номер базы данных.")
                                .arg(param));
    return number - 1;
}

QList<TStoreEntry> TfrmSelectStore::ReadStoreList(const TIniFile& ini) {
    const QString section = QLatin1String(kSection);
    const int count = ini.ReadInteger(section, QStringLiteral("DatabaseCount"), 0);
    QList<TStoreEntry> entries;
    for (int i = 0; i < count; ++i) {
        TStoreEntry entry;
        entry.path = ini.ReadString(section, pathKey(i), QString());
        entry.caption = ini.ReadString(section, captionKey(i), QString());
        if (entry.caption.trimmed().isEmpty())
            entry.caption = fileNamePart(entry.path);
        entries << entry;
    }
    return entries;
}

bool TfrmSelectStore::Execute(QString& path, int& storeIndex) {
    return Execute(QCoreApplication::arguments().value(1), path, storeIndex);
}

bool TfrmSelectStore::Execute(const QString& firstParam, QString& path, int& storeIndex) {
    if (!dtmdlDataStoreProto)
        throw Exception(QStringLiteral("Хранилище данных не создано."));
    TIniFile& ini = dtmdlDataStoreProto->Ini();
    const QString param = firstParam.left(128);
    const std::optional<int> number = ParseBParameter(param);
    QList<TStoreEntry> entries = ReadStoreList(ini);

    if (param == QLatin1String(kManagerParam)) {
        TfrmSelectStore form(Mode::Manager);
        form.LoadStoreList(entries);
        if (entries.isEmpty())
            dialogs::showMessage(QStringLiteral("Не указано ни одной базы данных!"));
        form.exec();
        return false;
    }

    while (entries.isEmpty()) {
        if (!offerFirstBook())
            return false;
        entries = ReadStoreList(ini);
    }

    if (entries.size() == 1) {
        path = entries.first().path;
        storeIndex = 0;
        return true;
    }

    if (number) {
        if (*number < 0 || *number >= entries.size()) {
            dialogs::showMessage(
                QStringLiteral("В параметре \"B\" указан несуществующий номер базы данных!"));
            return false;
        }
        path = entries.at(*number).path;
        storeIndex = *number;
        return true;
    }

    TfrmSelectStore form(Mode::Choice);
    form.LoadStoreList(entries);
    if (form.exec() != QDialog::Accepted)
        return false;
    const int selected = form.selectedIndex();
    if (selected < 0)
        return false;
    path = entries.at(selected).path;
    storeIndex = selected;
    return true;
}

void TfrmSelectStore::LoadStoreList(const QList<TStoreEntry>& entries) {
    m_liviStores->clear();
    for (const TStoreEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(m_liviStores, {entry.caption, entry.path});
        item->setData(0, Qt::UserRole, entry.path);
    }
    if (m_liviStores->topLevelItemCount() > 0) {
        m_liviStores->setCurrentItem(m_liviStores->topLevelItem(0));
        m_liviStores->setFocus();
    }
    liviStoresChange();
}

QList<TStoreEntry> TfrmSelectStore::StoreList() const {
    QList<TStoreEntry> entries;
    for (int i = 0; i < m_liviStores->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_liviStores->topLevelItem(i);
        entries << TStoreEntry{item->text(0), item->data(0, Qt::UserRole).toString()};
    }
    return entries;
}

// The count is written after the entries and the stale keys go last, so that a rewrite that
// stops half-way still leaves a list that reads back whole.
void TfrmSelectStore::SaveStoreList() {
    TIniFile& ini = dtmdlDataStoreProto->Ini();
    const QString section = QLatin1String(kSection);
    const int old = ini.ReadInteger(section, QStringLiteral("DatabaseCount"), 0);
    const QList<TStoreEntry> entries = StoreList();
    for (int i = 0; i < entries.size(); ++i) {
        ini.WriteString(section, pathKey(i), entries.at(i).path);
        ini.WriteString(section, captionKey(i), entries.at(i).caption);
    }
    ini.WriteInteger(section, QStringLiteral("DatabaseCount"), int(entries.size()));
    for (int i = int(entries.size()); i < old; ++i) {
        ini.DeleteKey(section, pathKey(i));
        ini.DeleteKey(section, captionKey(i));
    }
}

int TfrmSelectStore::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = m_liviStores->selectedItems();
    return selected.isEmpty() ? -1 : m_liviStores->indexOfTopLevelItem(selected.first());
}

void TfrmSelectStore::btnOKClick() {
    if (selectedIndex() < 0) {
        dialogs::showMessage(QString::fromUtf8(kSelectBase));
        return;
    }
    accept();
}

void TfrmSelectStore::btnAddClick() {
    QString file;
    if (!dialogs::openFileName(this, QStringLiteral("Выберите базу данных"),
                               QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/Databases"),
                               QStringLiteral("Базы данных (*.fdb *.FDB)"), file))
        return;
    for (int i = 0; i < m_liviStores->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_liviStores->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString().toUpper() == file.toUpper()) {
            m_liviStores->setCurrentItem(item);
            dialogs::messageBox(this,
                                QStringLiteral("Выбранная Вами база данных уже присутствует в "
                                               "списке!"),
                                QStringLiteral("Добавление базы данных"),
                                MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    auto* item = new QTreeWidgetItem(m_liviStores, {fileNamePart(file), file});
    item->setData(0, Qt::UserRole, file);
    try {
        SaveStoreList();
    } catch (...) {
        delete item;
        throw;
    }
}

void TfrmSelectStore::btnDeleteClick() {
    const int index = selectedIndex();
    if (index < 0)
        return;
    if (m_liviStores->topLevelItemCount() == 1) {
        dialogs::showMessage(QStringLiteral("Вы не можете удалить единственную ссылку!"));
        return;
    }
    if (dialogs::messageBox(this, QStringLiteral("Вы уверенны, что хотите удалить запись?"),
                            QStringLiteral("Удаление"),
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    QTreeWidgetItem* item = m_liviStores->takeTopLevelItem(index);
    try {
        SaveStoreList();
    } catch (...) {
        m_liviStores->insertTopLevelItem(index, item);
        throw;
    }
    delete item;
}

void TfrmSelectStore::restoreSelected(const QString& kind) {
    const int index = selectedIndex();
    if (index < 0) {
        dialogs::showMessage(QString::fromUtf8(kSelectBase));
        return;
    }
    RestoreBackup(m_liviStores->topLevelItem(index)->data(0, Qt::UserRole).toString(), kind, this);
    liviStoresChange();
}

void TfrmSelectStore::btnRestoreReservClick() {
    restoreSelected(TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Reserv));
}

void TfrmSelectStore::btnRestoreYesterdayClick() {
    restoreSelected(TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Yesterday));
}

void TfrmSelectStore::btnRestoreWeekClick() {
    restoreSelected(TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Week));
}

void TfrmSelectStore::liviStoresChange() {
    const int index = selectedIndex();
    const QString path =
        index < 0 ? QString() : m_liviStores->topLevelItem(index)->data(0, Qt::UserRole).toString();
    const auto exists = [&](int kind) {
        return index >= 0 && QFileInfo::exists(TdtmdlDataStoreProto::BackupPath(
                                 path, TdtmdlDataStoreProto::BackupFolder(kind)));
    };
    m_btnRestoreReserv->setEnabled(exists(TdtmdlDataStoreProto::Reserv));
    m_btnRestoreYesterday->setEnabled(exists(TdtmdlDataStoreProto::Yesterday));
    m_btnRestoreWeek->setEnabled(exists(TdtmdlDataStoreProto::Week));
}

bool TfrmSelectStore::RestoreBackup(const QString& path, const QString& kind, QWidget* owner) {
    const QString backup = TdtmdlDataStoreProto::BackupPath(path, kind);
    const QFileInfo backupInfo(backup);
    if (!backupInfo.exists()) {
        dialogs::messageBox(owner,
                            QStringLiteral("Копия базы данных не найдена:\n") +
                                QDir::toNativeSeparators(backup),
                            QString::fromUtf8(kRestoreCaption), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const QString question =
        QStringLiteral("Восстановить базу данных\n%1\nиз %2 копии от %3?\n\n"
                       "Все изменения, внесенные после создания копии, будут потеряны.")
            .arg(QDir::toNativeSeparators(path), kindAdjective(kind),
                 backupInfo.lastModified().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    if (dialogs::messageBox(owner, question, QString::fromUtf8(kRestoreCaption),
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    try {
        ExecWithSQLWaitCursor([&] { restoreBySwap(backup, path); });
    } catch (const Exception& e) {
        dialogs::messageBox(owner,
                            QStringLiteral("Не удалось восстановить базу данных!\n\n") +
                                e.message() +
                                QStringLiteral("\n\nБаза данных осталась без изменений."),
                            QString::fromUtf8(kRestoreCaption), MB_OK | MB_ICONERROR);
        return false;
    }
    dialogs::messageBox(owner, QStringLiteral("База данных восстановлена."),
                        QString::fromUtf8(kRestoreCaption), MB_OK | MB_ICONINFORMATION);
    return true;
}
