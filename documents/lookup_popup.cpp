#include "documents/lookup_popup.h"

#include "shell/lookup_popups.h"
#include "store/data_store.h"
#include "ui/guard.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>

namespace {

// A delay shorter than this filters at every keystroke.
constexpr int kShortestDelay = 50;
// The pop-up's height.
constexpr int kHeight = 220;
// The length of the names looked up: PARTS.LNAM, REASONS.REASON.
constexpr int kNameLength = 100;

} // namespace

LookupPopup::LookupPopup(QWidget* owner) : QFrame(owner ? owner->window() : nullptr, Qt::Popup) {
    markAsLookupPopup(this);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);

    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("filterEdit"));
    m_filterEdit->setMaxLength(kNameLength);
    m_filterEdit->setFrame(false);
    m_filterEdit->installEventFilter(this);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    m_clientArea = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(m_clientArea);
    clientLayout->setContentsMargins(0, 0, 0, 0);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_filterEdit);
    m_layout->addWidget(divider);
    m_layout->addWidget(m_clientArea, 1);

    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &LookupPopup::onDelayTimeout);
    connect(m_filterEdit, &QLineEdit::textEdited, this, &LookupPopup::onFilterEdited);
}

void LookupPopup::popUp(const QWidget* anchor, const QString& text) {
    setup(QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size()), text);
    show();
    m_filterEdit->setFocus();
}

void LookupPopup::setup(const QRect& anchor, const QString& text) {
    m_filterEdit->setText(text); // no edit by the user: the delay does not start
    applyFilter();
    setFixedWidth(anchor.width());
    m_filterEdit->setFixedHeight(anchor.height());
    place(anchor);
    m_delayTimer.setInterval(DataStore::instance().options().lookupDelay());
}

void LookupPopup::place(const QRect& anchor) {
    const int border = frameWidth();
    const QScreen* screen = QGuiApplication::screenAt(anchor.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect room = screen->availableGeometry();
    m_opensAbove = room.y() + room.height() <= anchor.top() + kHeight;
    m_layout->setDirection(m_opensAbove ? QBoxLayout::BottomToTop : QBoxLayout::TopToBottom);
    // The filter edit lies exactly over the anchor, the list hangs below or stands above it.
    const int top =
        m_opensAbove ? anchor.top() - kHeight + anchor.height() + border : anchor.top() - border;
    setGeometry(anchor.left(), top, anchor.width(), kHeight);
}

void LookupPopup::applyFilter() {
    m_lastFilter = m_filterEdit->text();
}

void LookupPopup::fireSelect() {
    if (m_onChosen)
        m_onChosen();
}

bool LookupPopup::notFoundHandled() {
    return !m_lastFilter.isEmpty() && m_onNotFound && m_onNotFound(m_lastFilter);
}

void LookupPopup::closeWithChoice() {
    m_cancelled = false;
    close();
}

void LookupPopup::onFilterEdited() {
    if (m_delayTimer.interval() < kShortestDelay)
        applyFilter();
    else
        m_delayTimer.start(); // starts the pause again
}

void LookupPopup::onDelayTimeout() {
    applyFilter();
}

void LookupPopup::choose() {
    m_delayTimer.stop();
    if (m_filterEdit->text() != m_lastFilter)
        applyFilter();
    closeWithChoice();
}

bool LookupPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_filterEdit || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return QFrame::eventFilter(watched, event);
    }
}

void LookupPopup::closeEvent(QCloseEvent* event) {
    event->accept();
    finish();
}

void LookupPopup::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    finish(); // hidden from outside, as when the application loses the focus: a cancel
}

void LookupPopup::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_delayTimer.stop();
    hide();
    QMetaObject::invokeMethod(this, &LookupPopup::onClosed, Qt::QueuedConnection);
}

void LookupPopup::onClosed() {
    runGuarded([this] {
        if (!m_cancelled)
            fireSelect();
        else if (m_onCancelled)
            m_onCancelled();
    });
    deleteLater();
}
