#include "app/demarrage.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (exportSeul(argc, argv)) {
        QCoreApplication application(argc, argv);
        return lancerStation(application, QCoreApplication::arguments());
    }
    if (afficheSeule(argc, argv)) {
        QGuiApplication application(argc, argv);
        return lancerStation(application, QCoreApplication::arguments());
    }
    preparerEchelle();
    QApplication application(argc, argv);
    return lancerStation(application, QCoreApplication::arguments());
}
