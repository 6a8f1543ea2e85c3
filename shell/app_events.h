#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

// The application-wide events of the main window: no tool tips anywhere, the mouse wheel turned
// into Up and Down key presses for the focused widget (one per notch, so that grids and lists
// move row by row), and the what-is-this mode of the context help.
//
// In the what-is-this mode the help cursor shows and mouse buttons reach no widget: releasing the
// left button hands the widget under the cursor to the context-help handler and leaves the mode;
// releasing any key but F1 and Shift leaves it too.
class AppEvents : public QObject {
    Q_OBJECT
public:
    // Watches every event of the application while it lives.
    explicit AppEvents(QObject* parent = nullptr);
    ~AppEvents() override;

    void enterContextHelpMode();
    void leaveContextHelpMode();
    bool inContextHelpMode() const { return m_helpMode; }

    // The handler of a left click in the what-is-this mode: it gets the widget under the cursor
    // (nullptr when there is none) and the cursor's screen position.
    using ContextHelpHandler = std::function<void(QWidget*, const QPoint&)>;
    void setContextHelpHandler(ContextHelpHandler handler) { m_onContextHelp = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wheelToKeys(QEvent* event);
    bool helpModeEvent(QEvent* event);

    int m_wheelRest = 0;
    bool m_helpMode = false;
    ContextHelpHandler m_onContextHelp;
};
