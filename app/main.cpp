#include "app/demarrage.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    preparerEchelle();
    QApplication application(argc, argv);
    return lancerStation(application, QCoreApplication::arguments());
}
