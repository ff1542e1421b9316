// The floor for the app's memory figures: a minimal Qt Quick program with a
// tray icon and one translucent window, measured in the same run.
#include <QApplication>
#include <QPixmap>
#include <QQmlApplicationEngine>
#include <QSystemTrayIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap art(22, 22);
    art.fill(Qt::yellow);
    QSystemTrayIcon tray{QIcon(art)};
    tray.show();
    QQmlApplicationEngine engine;
    engine.loadData(R"(
import QtQuick
Window {
    width: 400; height: 60; visible: true; color: "transparent"
    flags: Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint | Qt.Tool
    Rectangle { anchors.centerIn: parent; width: 185; height: 32; radius: 10; color: "black" }
}
)");
    return app.exec();
}
