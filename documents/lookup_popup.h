#pragma once

#include <QFrame>
#include <QTimer>
#include <functional>

class QBoxLayout;
class QLineEdit;

// A lookup drop-down: a small pop-up window laid exactly over an edit box of its owner's window.
// Its own filter edit takes the place of the edit box, and what the pop-up shows hangs below it
// (above it when the screen ends too soon). Typing applies the filter after the book's typing
// delay; Enter chooses; Esc, a click elsewhere, hiding the pop-up or closing it cancels. The
// filter takes at most 100 characters, the length of the names looked up (a partner's, a payment
// type's), so that a text not found can become such a name.
//
// The caller creates it with new, sets the callbacks and calls popUp(). When it closes, it hides,
// and only then, from the event loop, reports the choice or the cancel and deletes itself: a
// callback may open a modal dialog or another drop-down, and may read the pop-up's choice.
class LookupPopup : public QFrame {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    // Asked with the filter text when nothing matches it; true when the caller handled it.
    using NotFoundHandler = std::function<bool(const QString& text)>;

    // The pop-up's parent is the owner's window.
    explicit LookupPopup(QWidget* owner);

    void setOnChosen(Handler handler) { m_onChosen = std::move(handler); }
    void setOnCancelled(Handler handler) { m_onCancelled = std::move(handler); }
    void setOnNotFound(NotFoundHandler handler) { m_onNotFound = std::move(handler); }

    // Lays the pop-up over anchor with text in the filter edit, applies the filter and shows it.
    // An error of the book goes on to the caller; the pop-up then stays hidden with its window.
    void popUp(const QWidget* anchor, const QString& text);

    // The filter text last applied.
    QString lastFilter() const { return m_lastFilter; }
    // Whether the pop-up opens above its anchor, the filter edit at its bottom.
    bool opensAbove() const { return m_opensAbove; }
    QLineEdit* filterEdit() const { return m_filterEdit; }
    // Runs while the typing delay lasts.
    const QTimer& delayTimer() const { return m_delayTimer; }

protected:
    // Lays the pop-up over anchor (its place on the screen), puts text into the filter edit
    // without starting the delay, applies it and takes the delay from the book's options.
    virtual void setup(const QRect& anchor, const QString& text);
    // Takes the filter edit's text as the filter.
    virtual void applyFilter();
    // Reports the choice: the chosen callback, when there is one.
    virtual void fireSelect();
    // Asks the not-found callback about the filter; false when the filter is empty or nobody
    // handles it.
    bool notFoundHandled();
    // Closes the pop-up as chosen.
    void closeWithChoice();

    // Where descendants lay out what the pop-up lists.
    QWidget* clientArea() const { return m_clientArea; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    void onFilterEdited();
    void onDelayTimeout();
    // The choice or the cancel, after the pop-up has closed; then the pop-up goes.
    void onClosed();

private:
    void place(const QRect& anchor);
    // Enter: the filter as typed, if the delay has not applied it yet, and the choice.
    void choose();
    // Hides the pop-up once and leaves the report to the event loop.
    void finish();

    QBoxLayout* m_layout = nullptr;
    QLineEdit* m_filterEdit = nullptr;
    QWidget* m_clientArea = nullptr;
    QTimer m_delayTimer;
    QString m_lastFilter;
    bool m_cancelled = true;
    bool m_opensAbove = false;
    bool m_finished = false;
    Handler m_onChosen;
    Handler m_onCancelled;
    NotFoundHandler m_onNotFound;
};
