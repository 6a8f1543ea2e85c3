#pragma once

#include "shell/run_window.h"

#include <QPointer>

class QToolBar;
class QToolButton;

// The parameter object handed to a pane; descendants carry the parameters.
class PaneInfo {
public:
    virtual ~PaneInfo() = default;
};

// A window that the main window shows inside itself, borderless and filling the pane area,
// its tool bar docked into the main window's tool-bar row. The main window creates it, embeds
// it once and frees it when the next pane replaces it. The tool bar lives in the main window
// while the pane is shown and goes away with its pane.
class Pane : public RunWindow {
    Q_OBJECT
public:
    explicit Pane(QWidget* owner = nullptr);
    ~Pane() override;

    // Loads the pane's data before it is shown; empty here. Overrides call the inherited one
    // first.
    virtual void prepare();
    // Shows the pane.
    virtual void showEmbedded();
    // Docks the tool bar into the main window's tool-bar host and the pane into its pane host,
    // keeps the parameter object (not owned), runs Prepare and shows the pane. Without a main
    // window the pane stays where it is.
    virtual void embed(PaneInfo* paneInfo);

    // Runs saveOnClose once; an exception passes on and the pane may be closed again later.
    void closePane();

    PaneInfo* paneInfo() const { return m_paneInfo; }
    // The name under which the pane keeps its user settings (grid layouts) in the books: the
    // window class name they were first stored under ("TfrmOptions"). It is stored data and
    // never follows the C++ class name; every pane gives its own.
    virtual QString layoutKey() const = 0;

    QToolBar* m_paneToolBar = nullptr;
    QWidget* m_contentPanel = nullptr;

protected:
    // What the pane does when it closes; empty here.
    virtual void saveOnClose();
    // A tool button on the pane's tool bar with an image of the data store.
    QToolButton* addToolButton(const QString& name, const QString& caption, int image,
                               int helpContext);
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QToolBar> m_toolBar; // docked elsewhere while the pane is shown
    PaneInfo* m_paneInfo = nullptr;
    bool m_closed = false;
};
