#pragma once

#include "shell/fmPane.h"

class QCheckBox;
class QPlainTextEdit;
class QTextBrowser;

// The first-start pane: the what's-new page of the help file, and the choice whether to show
// it at the next start (INI "Startup" / "NoStartupDialog": 0 shows it, 1 not).
class TfrmFirstStart : public TfrmPane {
    Q_OBJECT
public:
    explicit TfrmFirstStart(QWidget* owner = nullptr);

    // True when the main window wants the first-start pane and the INI does not say no.
    static bool ShowAtStartup();

    void ShowEmbedded() override;

    QWidget* pnlHelpViewer = nullptr;
    QTextBrowser* helpViewer = nullptr;
    QPlainTextEdit* mmVersionInfo = nullptr;
    QCheckBox* chbxShowAgain = nullptr;

private:
    void chbxShowAgainClick(bool checked);
};
