#pragma once

#include "shell/fmRun.h"

#include <QPointer>

class QToolBar;
class QToolButton;

// The parameter object handed to a pane; descendants carry the parameters.
class TPaneInfo {
public:
    virtual ~TPaneInfo() = default;
};

// A window that the main window shows inside itself, borderless and filling the pane area,
// its tool bar docked into the main window's tool-bar row. The main window creates it, embeds
// it once and frees it when the next pane replaces it. The tool bar lives in the main window
// while the pane is shown and goes away with its pane.
class TfrmPane : public TfrmRun {
    Q_OBJECT
public:
    explicit TfrmPane(QWidget* owner = nullptr);
    ~TfrmPane() override;

    // Loads the pane's data before it is shown; empty here. Overrides call the inherited one
    // first.
    virtual void Prepare();
    // Shows the pane.
    virtual void ShowEmbedded();
    // Docks the tool bar into the main window's tool-bar host and the pane into its pane host,
    // keeps the parameter object (not owned), runs Prepare and shows the pane. Without a main
    // window the pane stays where it is.
    virtual void Embed(TPaneInfo* paneInfo);

    // Runs FormClose once; an exception passes on and the pane may be closed again later.
    void ClosePane();

    TPaneInfo* PaneInfo() const { return m_paneInfo; }
    // The class name under which the pane keeps its user settings (grid layouts): every
    // descendant declares Q_OBJECT.
    QString ClassName() const;

    QToolBar* tlbarBrowserMenu = nullptr;
    QWidget* pnlPane = nullptr;

protected:
    // What the pane does when it closes; empty here.
    virtual void FormClose();
    // A tool button on the pane's tool bar with an image of the data store.
    QToolButton* AddToolButton(const QString& name, const QString& caption, int image,
                               int helpContext);
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QToolBar> m_toolBar; // docked elsewhere while the pane is shown
    TPaneInfo* m_paneInfo = nullptr;
    bool m_closed = false;
};
