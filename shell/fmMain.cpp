#include "shell/fmMain.h"

#include "store/fmOptions.h"
#include "store/uKaltroUpdates.h"
#include "util/uExceptions.h"

#include <QLabel>

namespace {

const char* const kProductSiteUrl = "https://www.kaltro.example/";

} // namespace

TfrmMain::TfrmMain(const QString& iniPath, QWidget* parent) : TfrmMainProto(iniPath, parent) {
    setObjectName(QStringLiteral("frmMain"));
    SetSplashCaption(QStringLiteral("Kaltro"));
}

int TfrmMain::GetOwnerType() {
    const QString text = dtmdlDataStoreProto->GetFieldValue("PARTS", "LOWNER", GetOwnerKey());
    bool ok = false;
    const int type = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return type;
}

QString TfrmMain::GetTitle() {
    return DataStore().ProgramName + QStringLiteral(": ") + TfrmOptions::GetStoreCapt();
}

void TfrmMain::InitGlobals() {
    frmMainProto = this;
}

StartupEnd TfrmMain::CreateDataStore() {
    ProgramVersion = QStringLiteral("2.18");
    const StartupEnd end = TfrmMainProto::CreateDataStore();
    if (end != StartupEnd::GoOn)
        return end;
    pnlBrowser->setText(TfrmOptions::GetStoreCapt());
    ProductSiteUrl = QString::fromLatin1(kProductSiteUrl);
    DataStore().ProgramName = QStringLiteral("Kaltro");
    return end;
}

void TfrmMain::RegisterUpdates() {
    TfrmMainProto::RegisterUpdates();
    RegisterKaltroUpdates(UpdateSteps, QString(), this);
}

bool TfrmMain::WantFirstStart() {
    return true;
}
