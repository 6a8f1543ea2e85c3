#include "store/fmUpdate.h"

#include "platform/IniFile.h"
#include "platform/firebird/fbAttachment.h"
#include "store/dmDataStoreProto.h"
#include "store/fmOptions.h"
#include "store/uUpdateSteps.h"
#include "util/uCp1251.h"
#include "util/uExceptions.h"
#include "util/uGuard.h"
#include "util/uMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const char* const kVersionSection = "Version";
const char* const kCurrVersion = "CurrVersion";
const char* const kDBVersion = "DBVersion";

QString programVersion() {
    return dtmdlDataStoreProto->GetProgramVersion();
}

QString requiredVersion() {
    return QString::fromLatin1(kRequiredDBVersion);
}

// False when the text is no version.
bool readVersion(const QString& text, Currency& version) {
    try {
        version = StrToCurrDot(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void saveVersion(TIniFile& ini) {
    ini.WriteString(QLatin1String(kVersionSection), QLatin1String(kCurrVersion), programVersion());
    ini.WriteInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"), 0);
}

// The text of a side file: UTF-8 when it is valid UTF-8, else Windows-1251.
QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? cp1251::decode(bytes) : text;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent, bool bold = false) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    if (bold) {
        QFont font = result->font();
        font.setBold(true);
        result->setFont(font);
    }
    return result;
}

} // namespace

TfrmUpdate::TfrmUpdate(TUpdateSteps& steps, QWidget* owner) : QDialog(owner), m_steps(steps) {
    setObjectName(QStringLiteral("frmUpdate"));
    buildLayout();
    // FormCreate
    m_destVersion->setText(programVersion());
    m_sourceVersion->setText(dtmdlDataStoreProto->Ini().ReadString(
        QLatin1String(kVersionSection), QLatin1String(kCurrVersion), QString()));
    loadChanges();
}

TfrmUpdate::~TfrmUpdate() = default;

void TfrmUpdate::buildLayout() {
    setWindowTitle(QStringLiteral("Обновление программы"));
    resize(560, 440);

    auto* pnlTop = new QFrame(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFixedHeight(129);
    pnlTop->setFrameShape(QFrame::StyledPanel);

    auto* icon = new QLabel(pnlTop);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    const QIcon programIcon = QApplication::windowIcon().isNull()
                                  ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                                  : QApplication::windowIcon();
    icon->setPixmap(
        programIcon.pixmap(64, 64).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setFixedSize(72, 72);
    icon->setAlignment(Qt::AlignCenter);

    m_destVersion = label(QStringLiteral("lblDestVersion"), QString(), pnlTop, true);
    m_sourceVersion = label(QStringLiteral("lblSourceVersion"), QString(), pnlTop, true);
    m_begin = new QPushButton(QStringLiteral("Начать обновление..."), pnlTop);
    m_begin->setObjectName(QStringLiteral("btnBegin"));
    m_begin->setDefault(true);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(8);
    texts->setVerticalSpacing(2);
    texts->addWidget(
        label(QStringLiteral("Label1"), QStringLiteral("Обновление до версии"), pnlTop, true), 0,
        0);
    texts->addWidget(m_destVersion, 0, 1);
    texts->addWidget(
        label(QStringLiteral("Label3"), QStringLiteral("Версия для обновления:"), pnlTop), 1, 0);
    texts->addWidget(m_sourceVersion, 1, 1);
    texts->addItem(new QSpacerItem(0, 8), 2, 0);
    texts->addWidget(
        label(QStringLiteral("Label5"), QStringLiteral("Версия программы изменилась."), pnlTop), 3,
        0, 1, 3);
    texts->addWidget(label(QStringLiteral("Label6"),
                           QStringLiteral("Необходимо произвести её обновление."), pnlTop),
                     4, 0, 1, 3);
    texts->addWidget(label(QStringLiteral("Label7"),
                           QStringLiteral("Это может занять некоторое время."), pnlTop),
                     5, 0, 1, 2);
    texts->addWidget(m_begin, 5, 2, Qt::AlignRight | Qt::AlignBottom);
    texts->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(10, 8, 10, 8);
    top->setSpacing(12);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* pnlHelpViewer = new QWidget(this);
    pnlHelpViewer->setObjectName(QStringLiteral("pnlHelpViewer"));
    auto* pnlCover = new QLabel(QStringLiteral("Новые возможности версии"), pnlHelpViewer);
    pnlCover->setObjectName(QStringLiteral("pnlCover"));
    pnlCover->setAutoFillBackground(true);
    pnlCover->setBackgroundRole(QPalette::Highlight);
    pnlCover->setForegroundRole(QPalette::HighlightedText);
    pnlCover->setContentsMargins(6, 3, 6, 3);
    QFont coverFont = pnlCover->font();
    coverFont.setBold(true);
    pnlCover->setFont(coverFont);
    m_versionInfo = new QPlainTextEdit(pnlHelpViewer);
    m_versionInfo->setObjectName(QStringLiteral("mmVersionInfo"));
    m_versionInfo->setReadOnly(true);
    auto* help = new QVBoxLayout(pnlHelpViewer);
    help->setContentsMargins(0, 0, 0, 0);
    help->setSpacing(0);
    help->addWidget(pnlCover);
    help->addWidget(m_versionInfo, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlTop);
    layout->addWidget(pnlHelpViewer, 1);

    connect(m_begin, &QPushButton::clicked, this,
            [this] { runGuarded([this] { btnBeginClick(); }); });
}

// There is no help file on this system: the change list comes from "Changes.txt" beside the
// executable, and stays empty when that file is missing.
QString TfrmUpdate::ChangeList() {
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/Changes.txt"));
    return file.open(QIODevice::ReadOnly) ? decodeText(file.readAll()) : QString();
}

void TfrmUpdate::loadChanges() {
    m_versionInfo->setPlainText(ChangeList());
}

void TfrmUpdate::SaveVersion() {
    saveVersion(dtmdlDataStoreProto->Ini());
}

void TfrmUpdate::UpgradeDatabases(bool allDatabases, Currency fromVersion) {
    if (!allDatabases) {
        UpgradeBook(fromVersion);
        return;
    }
    TIniFile& ini = dtmdlDataStoreProto->Ini();
    const int count = ini.ReadInteger(QStringLiteral("DB"), QStringLiteral("DatabaseCount"), 0);
    for (int i = 0; i < count; ++i) {
        dtmdlDataStoreProto->ReopenDatabase(ini.ReadString(
            QStringLiteral("DB"), QStringLiteral("DatabasePath_%1").arg(i), QString()));
        UpgradeBook(fromVersion);
    }
}

void TfrmUpdate::UpgradeBook(Currency fromVersion) {
    const QString own = TfrmOptions::GetOption(QLatin1String(kDBVersion)).trimmed();
    const QString path = dtmdlDataStoreProto->dbMain().path();
    const Currency required = StrToCurrDot(requiredVersion());
    Currency from = fromVersion;
    if (!own.isEmpty() && !readVersion(own, from)) {
        refuseBook(QStringLiteral("База данных \"%1\" имеет неверную версию \"%2\".\n"
                                  "Эта база данных не обновляется.")
                       .arg(path, own));
        return;
    }
    if (required < from) {
        refuseBook(QStringLiteral("База данных \"%1\" имеет версию %2, более новую, чем нужна "
                                  "программе (%3).\nЭта база данных не обновляется.")
                       .arg(path, own.isEmpty() ? VersionText(from) : own, requiredVersion()));
        return;
    }
    if (from == required) {
        if (own.isEmpty())
            TfrmOptions::SetOption(QLatin1String(kDBVersion), requiredVersion());
        return;
    }
    dtmdlDataStoreProto->MakeBackup(
        TdtmdlDataStoreProto::BackupFolder(TdtmdlDataStoreProto::Reserv),
        TdtmdlDataStoreProto::Reserv, path, false);
    m_steps.RunUpdates(from, [](Currency reached) {
        TfrmOptions::SetOption(QLatin1String(kDBVersion), VersionText(reached));
    });
    TfrmOptions::SetOption(QLatin1String(kDBVersion), requiredVersion());
}

void TfrmUpdate::refuseBook(const QString& text) {
    dialogs::messageBox(this, text, windowTitle(), MB_OK | MB_ICONEXCLAMATION);
}

void TfrmUpdate::Upgrade(bool allDatabases, Currency fromVersion) {
    UpgradeDatabases(allDatabases, fromVersion);
    SaveVersion();
    dialogs::showMessage(QStringLiteral("Обновление завершено.\n\nПерезапустите программу."));
    accept();
}

void TfrmUpdate::btnBeginClick() {
    const QString current =
        dtmdlDataStoreProto->Ini()
            .ReadString(QLatin1String(kVersionSection), QLatin1String(kCurrVersion), QString())
            .trimmed();
    // Without a stored program version a book without its own version counts as current,
    // as the start-up takes it.
    Upgrade(true, current.isEmpty() ? StrToCurrDot(requiredVersion()) : StrToCurrDot(current));
}

bool TfrmUpdate::VersionChanged(TIniFile& ini) {
    const QString current =
        ini.ReadString(QLatin1String(kVersionSection), QLatin1String(kCurrVersion), QString());
    if (current == programVersion())
        return false;
    if (current.trimmed().isEmpty() &&
        ini.ReadInteger(QStringLiteral("DB"), QStringLiteral("DatabaseCount"), 0) == 0) {
        saveVersion(ini);
        return false;
    }
    return true;
}

void TfrmUpdate::ShowModalUpgrade(TUpdateSteps& steps, QWidget* owner) {
    TfrmUpdate form(steps, owner);
    form.exec();
}

bool TfrmUpdate::UpgradeOpenDatabase(TUpdateSteps& steps, QWidget* owner) {
    QString own = TfrmOptions::GetOption(QLatin1String(kDBVersion)).trimmed();
    if (own.isEmpty()) {
        own = requiredVersion();
        TfrmOptions::SetOption(QLatin1String(kDBVersion), own);
    }
    const Currency version = StrToCurrDot(own);
    if (!(version < StrToCurrDot(requiredVersion())))
        return true;
    const int answer = dialogs::messageBox(
        owner,
        QStringLiteral("Неверная версия базы данных!\nВерсия базы данных: %1\nНеобходима версия: "
                       "%2\n\nПроводить обновление базы данных?")
            .arg(own, requiredVersion()),
        QStringLiteral("Ошибка"), MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (answer != IDOK)
        return false;
    TfrmUpdate form(steps, owner);
    form.Upgrade(false, version);
    return false;
}
