#include "app/demarrage.h"
#include "app/options.h"

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
    if (!ecranJoignable(argc, argv)) {
        // Help, version and refusals open no window: said here, where none could open.
        QCoreApplication lecture(argc, argv);
        OptionsStation options;
        if (const int code = lireOptions(QCoreApplication::arguments(), options); code >= 0)
            return code;
    }
    QApplication application(argc, argv);
    return lancerStation(application, QCoreApplication::arguments());
}
