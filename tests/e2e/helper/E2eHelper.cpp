// A small X client for the end-to-end tests.
//   e2e_helper window TITLE        opens a plain top-level window with that
//                                  title and keeps it open until killed
//   e2e_helper box X Y TITLE TEXT  shows a standard message box (one OK
//                                  button, no icon, Fusion style) at X,Y, as
//                                  a reference picture of a box with TEXT
#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: e2e_helper window TITLE | box X Y TITLE TEXT\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    if (std::strcmp(argv[1], "window") == 0 && argc >= 3) {
        QWidget window;
        window.setWindowTitle(QString::fromUtf8(argv[2]));
        window.setGeometry(700, 600, 200, 100);
        window.show();
        return app.exec();
    }
    if (std::strcmp(argv[1], "box") == 0 && argc >= 6) {
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
        QMessageBox box;
        box.setWindowTitle(QString::fromUtf8(argv[4]));
        box.setTextFormat(Qt::PlainText);
        box.setText(QString::fromUtf8(argv[5]));
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.move(std::atoi(argv[2]), std::atoi(argv[3]));
        box.show();
        return app.exec();
    }
    std::fputs("e2e_helper: unknown mode\n", stderr);
    return 2;
}
