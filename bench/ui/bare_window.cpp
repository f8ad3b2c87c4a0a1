// The floor: a bare Qt 6 window of Form1's client size, nothing else.
#include <QApplication>
#include <QWidget>
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(555, 328);
    window.show();
    return app.exec();
}
