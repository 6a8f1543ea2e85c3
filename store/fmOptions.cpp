#include "store/fmOptions.h"

#include "platform/IniFile.h"
#include "platform/firebird/fbStatement.h"
#include "platform/firebird/fbTransaction.h"
#include "shell/fmMainProto.h"
#include "shell/uHtmlHelp.h"
#include "store/dmDataStoreProto.h"
#include "util/SysUtPlus.h"
#include "util/uExceptions.h"
#include "util/uMessageBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kOwnerKey = 0;
constexpr int kDefaultKibitzDelay = 500;

const char* flagText(bool value) {
    return value ? "-1" : "0";
}

int kibitzDelayOf(const QString& text) {
    bool ok = false;
    const int delay = text.trimmed().toInt(&ok);
    return ok ? delay : kDefaultKibitzDelay;
}

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The page control that shows sheet as one of its pages; nullptr for none.
QTabWidget* pageControlOf(QWidget* sheet) {
    for (QWidget* w = sheet ? sheet->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* pages = qobject_cast<QTabWidget*>(w))
            return pages->indexOf(sheet) >= 0 ? pages : nullptr;
    return nullptr;
}

QString sheetCaption(QWidget* sheet) {
    QTabWidget* pages = pageControlOf(sheet);
    return pages ? pages->tabText(pages->indexOf(sheet)) : QString();
}

QWidget* sheetOf(const QTreeWidgetItem* node) {
    return qobject_cast<QWidget*>(node->data(0, Qt::UserRole).value<QObject*>());
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !a.isEmpty() && !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString TfrmOptions::GetOption(const QString& key) {
    return GetKeyValue(dtmdlDataStoreProto->GetFieldValue("PARTS", "ETC", kOwnerKey), key);
}

void TfrmOptions::SetOption(const QString& key, const QString& value) {
    TdtmdlDataStoreProto& store = *dtmdlDataStoreProto;
    const QString etc = SetKeyValue(store.GetFieldValue("PARTS", "ETC", kOwnerKey), key, value);
    fb::Statement& q = store.qryAny();
    q.close();
    q.prepare(QStringLiteral("UPDATE PARTS P\nSET ETC=:IETC\nWHERE PRKEY=:IPRKEY"),
              fb::ParamMode::Named);
    q.param(QStringLiteral("IPRKEY")).setInteger(kOwnerKey);
    q.param(QStringLiteral("IETC")).setString(etc);
    store.tractAny().ensureStarted();
    q.execute();
    store.tractAny().commit();
}

bool TfrmOptions::TextToFlag(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const qint64 number = t.toLongLong(&ok);
    if (ok)
        return number != 0;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return true;
}

bool TfrmOptions::GetReservBackupFlag() {
    return TextToFlag(GetOption("ReservBackupFlag"));
}

bool TfrmOptions::GetYesterdayBackupFlag() {
    return TextToFlag(GetOption("YesterdayBackupFlag"));
}

bool TfrmOptions::GetWeekBackupFlag() {
    return TextToFlag(GetOption("WeekBackupFlag"));
}

QString TfrmOptions::GetStoreCapt() {
    return GetOption("StoreCapt");
}

QString TfrmOptions::GetStoreCurrency() {
    const QString currency = GetOption("StoreCurrency");
    return currency.isEmpty() ? QStringLiteral("грн.") : currency;
}

int TfrmOptions::GetKibitzDelay() {
    return kibitzDelayOf(GetOption("KibitzDelay"));
}

QString TfrmOptions::GetRezFolder() {
    return GetOption("RezFolder");
}

// ---- The pane ----

TfrmOptions::TfrmOptions(QWidget* owner) : TfrmPane(owner) {
    setWindowTitle(QStringLiteral("Опции"));
    btnHelp = AddToolButton(QStringLiteral("btnHelp"), QStringLiteral("Справка"), 5, 1026);
    connect(btnHelp, &QToolButton::clicked, this, [this] { btnHelpClick(); });

    Splitter1 = named(new QSplitter(Qt::Horizontal, pnlPane), "Splitter1");
    TreeView_Options = named(new QTreeWidget(Splitter1), "TreeView_Options");
    TreeView_Options->setHeaderHidden(true);
    TreeView_Options->setSortingEnabled(false);
    Panel_Options = named(new QWidget(Splitter1), "Panel_Options");
    Panel_OptionsHeader = named(new QLabel(Panel_Options), "Panel_OptionsHeader");
    Panel_OptionsHeader->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel_OptionsHeader->setMargin(4);
    pgctrlOptions = named(new QTabWidget(Panel_Options), "pgctrlOptions");
    // The tree chooses the pages: the page control shows no tabs.
    pgctrlOptions->tabBar()->hide();
    pgctrlOptions->setDocumentMode(true);
    auto* optionsLayout = new QVBoxLayout(Panel_Options);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(Panel_OptionsHeader);
    optionsLayout->addWidget(pgctrlOptions, 1);
    Splitter1->addWidget(TreeView_Options);
    Splitter1->addWidget(Panel_Options);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({200, 600});
    auto* layout = new QVBoxLayout(pnlPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    pgctrlOptions->addTab(buildGeneralPage(), QStringLiteral("Общие"));
    connect(TreeView_Options, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) {
                if (node)
                    TreeView_OptionsChange(node);
            });
}

QWidget* TfrmOptions::buildGeneralPage() {
    tbshtGeneral = named(new QWidget, "tbshtGeneral");
    pnlCommonOptions = named(new QWidget(tbshtGeneral), "pnlCommonOptions");

    grbxBackup =
        named(new QGroupBox(QStringLiteral("Настройки архивации базы данных")), "grbxBackup");
    chbxAutoWeek =
        named(new QCheckBox(QStringLiteral("Автоматическое создание еженедельной копии")),
              "chbxAutoWeek");
    chbxAutoYesterday =
        named(new QCheckBox(QStringLiteral("Автоматическoe создание вчерашней копии")),
              "chbxAutoYesterday");
    chbxAutoBackup = named(new QCheckBox(QStringLiteral("Автоматическoe создание текущей копии")),
                           "chbxAutoBackup");
    htmlhelp::SetHelpContext(chbxAutoBackup, 1028);
    htmlhelp::SetHelpContext(chbxAutoYesterday, 1029);
    htmlhelp::SetHelpContext(chbxAutoWeek, 1030);

    grbxRezCopy = named(new QGroupBox(QStringLiteral(
                            "Дополнительное резервное копирование архивов в выбранную папку")),
                        "grbxRezCopy");
    auto* lblRezCopy =
        named(new QLabel(QStringLiteral("Папка для копирования архивов")), "lblRezCopy");
    edtRezFolder = named(new QLineEdit, "edtRezFolder");
    btnSelFolder = named(new QToolButton, "btnSelFolder");
    btnSelFolder->setText(QStringLiteral("Выбрать"));
    connect(btnSelFolder, &QToolButton::clicked, this, [this] { btnSelFolderClick(); });
    auto* rezLayout = new QGridLayout(grbxRezCopy);
    rezLayout->addWidget(lblRezCopy, 0, 0, 1, 2);
    rezLayout->addWidget(edtRezFolder, 1, 0);
    rezLayout->addWidget(btnSelFolder, 1, 1);

    auto* backupLayout = new QVBoxLayout(grbxBackup);
    backupLayout->addWidget(chbxAutoWeek);
    backupLayout->addWidget(chbxAutoYesterday);
    backupLayout->addWidget(chbxAutoBackup);
    backupLayout->addWidget(grbxRezCopy);

    grbxDBCapt = named(new QGroupBox(QStringLiteral("Название базы данных")), "grbxDBCapt");
    edtDBCapt = named(new QLineEdit, "edtDBCapt");
    (new QVBoxLayout(grbxDBCapt))->addWidget(edtDBCapt);
    GroupBox2 = named(new QGroupBox(QStringLiteral("Денежная единица программы")), "GroupBox2");
    edtStoreCurrency = named(new QLineEdit, "edtStoreCurrency");
    (new QVBoxLayout(GroupBox2))->addWidget(edtStoreCurrency);
    htmlhelp::SetHelpContext(grbxDBCapt, 1027);
    htmlhelp::SetHelpContext(GroupBox2, 1027);

    // The typing delay of the lookups is kept but not offered.
    pnlTimers = named(new QWidget, "pnlTimers");
    auto* grbxKibitzDelay =
        named(new QGroupBox(QStringLiteral("Задержка при вводе фильтра")), "grbxKibitzDelay");
    edtKibitzDelay = named(new QLineEdit, "edtKibitzDelay");
    auto* delayLayout = new QHBoxLayout(grbxKibitzDelay);
    delayLayout->addWidget(edtKibitzDelay);
    delayLayout->addWidget(
        named(new QLabel(QStringLiteral("(миллисекунды)")), "lblKibitzDelayCaption"));
    (new QVBoxLayout(pnlTimers))->addWidget(grbxKibitzDelay);
    pnlTimers->hide();

    auto* commonLayout = new QVBoxLayout(pnlCommonOptions);
    commonLayout->addWidget(grbxBackup);
    commonLayout->addWidget(grbxDBCapt);
    commonLayout->addWidget(GroupBox2);
    commonLayout->addWidget(pnlTimers);
    commonLayout->addStretch(1);
    auto* sheetLayout = new QVBoxLayout(tbshtGeneral);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->addWidget(pnlCommonOptions);
    return tbshtGeneral;
}

void TfrmOptions::Prepare() {
    TfrmPane::Prepare();
    m_helpContext = 0;
    TreeView_Options->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(TreeView_Options);
        TreeView_Options->clear();
        addPages(nullptr, pgctrlOptions);
    }
    TreeView_Options->setUpdatesEnabled(true);
    TreeView_Options->expandAll();
    if (TreeView_Options->topLevelItemCount() > 0)
        TreeView_Options->setCurrentItem(TreeView_Options->topLevelItem(0));
}

void TfrmOptions::addPages(QTreeWidgetItem* parent, QTabWidget* pages) {
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* sheet = pages->widget(i);
        auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView_Options);
        node->setText(0, pages->tabText(i));
        node->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<QObject*>(sheet)));
        if (auto* inner = sheet->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly))
            addPages(node, inner);
    }
}

void TfrmOptions::Embed(TPaneInfo* paneInfo) {
    LoadSettings();
    TfrmPane::Embed(paneInfo);
}

void TfrmOptions::LoadSettings() {
    chbxAutoBackup->setChecked(GetReservBackupFlag());
    chbxAutoYesterday->setChecked(GetYesterdayBackupFlag());
    chbxAutoWeek->setChecked(GetWeekBackupFlag());
    edtDBCapt->setText(GetStoreCapt());
    edtStoreCurrency->setText(GetStoreCurrency());
    edtKibitzDelay->setText(QString::number(GetKibitzDelay()));
    edtRezFolder->setText(GetRezFolder());
}

void TfrmOptions::FormClose() {
    SaveSettings();
}

void TfrmOptions::SaveSettings() {
    SetOption("ReservBackupFlag", flagText(chbxAutoBackup->isChecked()));
    SetOption("YesterdayBackupFlag", flagText(chbxAutoYesterday->isChecked()));
    SetOption("WeekBackupFlag", flagText(chbxAutoWeek->isChecked()));
    SetOption("StoreCapt", edtDBCapt->text());
    SetOption("StoreCurrency", edtStoreCurrency->text());
    renameBookEntry(edtDBCapt->text());
    SetOption("KibitzDelay", QString::number(kibitzDelayOf(edtKibitzDelay->text())));
    storeRezFolder(edtRezFolder->text());
}

// The INI entry of the open book takes its caption. The entry is found by the book's file, not
// by the position the book had in the list when it was opened: the list may have changed since.
void TfrmOptions::renameBookEntry(const QString& caption) {
    TIniFile& ini = dtmdlDataStoreProto->Ini();
    const QString book = dtmdlDataStoreProto->DatabaseName();
    const int count = ini.ReadInteger(QStringLiteral("DB"), QStringLiteral("DatabaseCount"), 0);
    for (int i = 0; i < count; ++i) {
        const QString path = ini.ReadString(QStringLiteral("DB"),
                                            QStringLiteral("DatabasePath_%1").arg(i), QString());
        if (sameFile(path, book)) {
            ini.WriteString(QStringLiteral("DB"), QStringLiteral("DatabaseCaption_%1").arg(i),
                            caption);
            break;
        }
    }
    if (frmMainProto)
        frmMainProto->UpdateCaptions();
}

// An empty folder means none. A relative one would depend on the folder the program happens to
// run in: it is refused and the stored folder kept.
void TfrmOptions::storeRezFolder(const QString& folder) {
    const QString path = folder.trimmed();
    if (!path.isEmpty() && !QDir::isAbsolutePath(path))
        throw Exception(QStringLiteral("Папка для копирования архивов должна быть задана полным "
                                       "путем: \"%1\"")
                            .arg(path));
    SetOption("RezFolder", folder);
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    if (!QDir().mkpath(path))
        throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"")
                            .arg(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')));
}

void TfrmOptions::btnSelFolderClick() {
    QString folder;
    if (dialogs::selectDirectory(this, QStringLiteral("Выберите папку для копирования архивов"),
                                 QString(), folder))
        edtRezFolder->setText(folder);
}

void TfrmOptions::btnHelpClick() {
    if (frmMainProto)
        frmMainProto->ShowHelpContext(m_helpContext);
}

void TfrmOptions::TreeView_OptionsChange(QTreeWidgetItem* node) {
    if (node->childCount() > 0) {
        TreeView_Options->setCurrentItem(node->child(0));
        return;
    }
    QWidget* sheet = sheetOf(node);
    QTabWidget* pages = pageControlOf(sheet);
    if (!pages)
        return;
    QWidget* outer = pages->parentWidget();
    QTabWidget* outerPages = pageControlOf(outer);
    if (outerPages) {
        outerPages->setCurrentWidget(outer);
        pages->setCurrentWidget(sheet);
        Panel_OptionsHeader->setText(QStringLiteral("  ") + sheetCaption(outer) +
                                     QStringLiteral(" : ") + sheetCaption(sheet));
        return;
    }
    pages->setCurrentWidget(sheet);
    Panel_OptionsHeader->setText(QStringLiteral("  ") + sheetCaption(sheet));
}
