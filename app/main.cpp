#include "util/uGuard.h"

#include <QMainWindow>

int main(int argc, char** argv) {
    KaltroApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kaltro"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kaltro"));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
