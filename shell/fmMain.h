#pragma once

#include "shell/fmMainProto.h"

// The product's main window: its versions, name and title, its upgrade steps, and the kind of
// the open book.
class TfrmMain : public TfrmMainProto {
    Q_OBJECT
public:
    explicit TfrmMain(const QString& iniPath = QString(), QWidget* parent = nullptr);

    // The owner row of the book: always key 0.
    static int GetOwnerKey() { return 0; }
    // PARTS.LOWNER of the owner row: 0 bank account, 1 cash desk. A value that is no integer
    // raises EConvertError.
    static int GetOwnerType();

    QString GetTitle() override;
    void InitGlobals() override;
    StartupEnd CreateDataStore() override;
    void RegisterUpdates() override;
    bool WantFirstStart() override;
};
