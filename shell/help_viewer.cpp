#include "shell/help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kSeparator = QStringLiteral("::/");
const QString kIndexTopic = QStringLiteral("index.htm");

struct Address {
    QString helpFile;
    QString topic;
};

Address splitAddress(const QString& address) {
    Address result;
    const qsizetype at = address.indexOf(kSeparator);
    if (at < 0) {
        result.helpFile = address;
        return result;
    }
    result.helpFile = address.left(at);
    result.topic = address.mid(at + kSeparator.size());
    const qsizetype window = result.topic.indexOf(QLatin1Char('>'));
    if (window >= 0)
        result.topic.truncate(window);
    return result;
}

// The lines of a text file inside the help; empty when it cannot be read.
QStringList readLines(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

bool isTopicLine(const QString& line, int& context) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1String(".topic")))
        return false;
    bool ok = false;
    context = t.mid(6).trimmed().toInt(&ok);
    if (!ok)
        context = 0;
    return true;
}

// A text pop-up: any click or key closes it.
class HelpPopup : public QLabel {
public:
    explicit HelpPopup(const QString& text)
        : QLabel(text, nullptr, Qt::Popup | Qt::WindowStaysOnTopHint) {
        setObjectName(QStringLiteral("helpPopup"));
    }

protected:
    void mousePressEvent(QMouseEvent*) override { close(); }
    void keyPressEvent(QKeyEvent*) override { close(); }
};

// One help viewer for the whole program; it frees itself when closed.
class HelpViewer : public QWidget {
public:
    HelpViewer() {
        setObjectName(QStringLiteral("helpViewer"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("Справка"));
        m_topicBrowser = new QTextBrowser(this);
        m_topicBrowser->setObjectName(QStringLiteral("topicBrowser"));
        m_topicBrowser->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_topicBrowser);
        resize(800, 600);
    }
    void showTopic(const QString& file) {
        m_topicBrowser->setSearchPaths({QFileInfo(file).absolutePath()});
        m_topicBrowser->setSource(QUrl::fromLocalFile(file));
        show();
        raise();
        activateWindow();
    }
    static HelpViewer* instance() {
        static QPointer<HelpViewer> viewer;
        if (!viewer)
            viewer = new HelpViewer;
        return viewer;
    }

private:
    QTextBrowser* m_topicBrowser = nullptr;
};

} // namespace

namespace help {

void setHelpContext(QWidget* widget, int context) {
    ::setHelpContext(widget, context);
}

int helpContext(const QWidget* widget) {
    return ::helpContext(widget);
}

int helpContextAt(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const int context = helpContext(w))
            return context;
        if (w->isWindow())
            break;
    }
    return 0;
}

QString topicFile(const QString& address) {
    const Address a = splitAddress(address);
    if (a.helpFile.isEmpty() || !QFileInfo(a.helpFile).isDir())
        return QString();
    const QString topic = a.topic.isEmpty() ? kIndexTopic : a.topic;
    if (topic.startsWith(QLatin1Char('/')) || topic.split(QLatin1Char('/')).contains(".."))
        return QString();
    const QString file = a.helpFile + QLatin1Char('/') + topic;
    return QFileInfo(file).isFile() ? file : QString();
}

QString contextTopic(const QString& helpFile, int context) {
    if (context <= 0)
        return QString();
    for (const QString& line : readLines(topicFile(helpFile + kSeparator + "Map.txt"))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        bool ok = false;
        if (eq > 0 && line.left(eq).trimmed().toInt(&ok) == context && ok)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

QString popupText(const QString& address, int context) {
    if (context <= 0)
        return QString();
    QStringList text;
    bool inTopic = false;
    for (const QString& line : readLines(topicFile(address))) {
        int topic = 0;
        if (isTopicLine(line, topic)) {
            if (inTopic)
                break;
            inTopic = topic == context;
            continue;
        }
        if (inTopic)
            text << line.trimmed();
    }
    return text.join(QLatin1Char('\n')).trimmed();
}

QPoint keepOnScreen(const QRect& popup, const QRect& screen) {
    QPoint at = popup.topLeft();
    if (at.x() + popup.width() - 1 > screen.right())
        at.setX(screen.x() + screen.width() - popup.width());
    if (at.y() + popup.height() - 1 > screen.bottom())
        at.setY(screen.y() + screen.height() - popup.height());
    at.setX(qMax(at.x(), screen.x()));
    at.setY(qMax(at.y(), screen.y()));
    return at;
}

bool displayTopic(const QString& address) {
    const QString file = topicFile(address);
    if (file.isEmpty())
        return false;
    HelpViewer::instance()->showTopic(file);
    return true;
}

bool displayContextTopic(const QString& helpFile, int context) {
    const QString topic = contextTopic(helpFile, context);
    return !topic.isEmpty() && displayTopic(helpFile + kSeparator + topic);
}

QWidget* displayTextPopup(const QString& address, int context, const QPoint& at) {
    const QString text = popupText(address, context);
    if (text.isEmpty())
        return nullptr;
    // One pop-up at a time: a new one takes the place of the last.
    static QPointer<HelpPopup> last;
    if (last)
        last->close();
    auto* popup = new HelpPopup(text);
    last = popup;
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setWordWrap(true);
    popup->setTextFormat(Qt::PlainText);
    popup->setMargin(6);
    popup->setFrameShape(QFrame::Box);
    popup->setForegroundRole(QPalette::ToolTipText);
    popup->setBackgroundRole(QPalette::ToolTipBase);
    popup->setAutoFillBackground(true);
    popup->setMaximumWidth(400);
    popup->adjustSize();
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(at, popup->size());
    popup->move(keepOnScreen(QRect(at, popup->size()), area));
    popup->show();
    return popup;
}

} // namespace help
