#pragma once

#include "shell/run_window.h"

#include <QPointer>
#include <memory>

class QAction;
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
    // keeps the parameter object for as long as the pane lives, runs prepare and shows the
    // pane. Without a main window the pane stays where it is.
    virtual void embed(std::unique_ptr<PaneInfo> paneInfo);
    // Hides the pane and its tool bar and takes the tool bar back from the main window.
    void undock();

    // Runs saveOnClose once; an exception passes on and the pane may be closed again later.
    void closePane();

    PaneInfo* paneInfo() const { return m_paneInfo.get(); }
    // The name under which the pane keeps its user settings (grid layouts) in the books: the
    // window class name they were first stored under ("TfrmOptions"). It is stored data and
    // never follows the C++ class name; every pane gives its own.
    virtual QString layoutKey() const = 0;

    // The pane's tool bar; nullptr when it went with the main window that held it.
    QToolBar* toolBar() const;

protected:
    // What the pane does when it closes; empty here.
    virtual void saveOnClose();
    // A tool button on the pane's tool bar that shows action (made by buildAction of
    // ui/action_builder.h, its help context with it), shown and hidden with it.
    QToolButton* addToolButton(QAction* action, const QString& name);
    // Where descendants lay out what the pane shows.
    QWidget* contentPanel() const { return m_contentPanel; }
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QToolBar> m_paneToolBar; // docked elsewhere while the pane is shown
    QWidget* m_contentPanel = nullptr;
    std::unique_ptr<PaneInfo> m_paneInfo;
    bool m_closed = false;
};
