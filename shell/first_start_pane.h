#pragma once

#include "shell/pane.h"

class QCheckBox;
class QPlainTextEdit;
class QTextBrowser;

// The first-start pane: the what's-new page of the help file, and the choice whether to show
// it at the next start (INI "Startup" / "NoStartupDialog": 0 shows it, 1 not).
class FirstStartPane : public Pane {
    Q_OBJECT
public:
    explicit FirstStartPane(QWidget* owner = nullptr);

    static constexpr const char* kLayoutKey = "TfrmFirstStart";
    QString layoutKey() const override { return QString::fromLatin1(kLayoutKey); }

    // True when the main window wants the first-start pane and the INI does not say no.
    static bool shouldShowAtStartup();

    void showEmbedded() override;

    // The what's-new page; hidden when there is no help file.
    QTextBrowser* whatsNewBrowser() const { return m_whatsNewBrowser; }
    // The change list, shown in the page's place when there is no help file.
    QPlainTextEdit* versionInfoEdit() const { return m_versionInfoEdit; }
    QCheckBox* showAgainCheck() const { return m_showAgainCheck; }

private slots:
    void onShowAgainToggled(bool checked);

private:
    QTextBrowser* m_whatsNewBrowser = nullptr;
    QPlainTextEdit* m_versionInfoEdit = nullptr;
    QCheckBox* m_showAgainCheck = nullptr;
};
