// The yardstick of bench_startup: the least a Qt Widgets program shows, a
// window of the selection screen's size with one line of text.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("A bare Qt Widgets window"));
    window.setAlignment(Qt::AlignCenter);
    window.resize(306, 420);
    window.show();
    return app.exec();
}
