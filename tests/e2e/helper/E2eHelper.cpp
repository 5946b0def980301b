// A small X client for the end-to-end tests.
//   e2e_helper window TITLE   opens a plain top-level window with that title
//                             and keeps it open until killed
//   e2e_helper clipboard      prints the clipboard's text and exits
#include <QClipboard>
#include <QGuiApplication>
#include <QRasterWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: e2e_helper window TITLE | clipboard\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (std::strcmp(argv[1], "window") == 0 && argc >= 3) {
        QRasterWindow window;
        window.setTitle(QString::fromUtf8(argv[2]));
        window.setGeometry(700, 600, 200, 100);
        window.show();
        return app.exec();
    }
    if (std::strcmp(argv[1], "clipboard") == 0) {
        const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        return 0;
    }
    std::fputs("e2e_helper: unknown mode\n", stderr);
    return 2;
}
