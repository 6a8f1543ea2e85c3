#include "platform/firebird/fbEmbedded.h"
#include "util/uGuard.h"

#include <QMainWindow>

int main(int argc, char** argv) {
    // The embedded engine reads its set-up once, before the first database call.
    fb::prepareEmbeddedEngine();
    KaltroApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kaltro"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kaltro"));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
