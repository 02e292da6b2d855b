// Starts the station exactly as main() does, for the tests of the single-instance guard.
// It prints "refus" when it shows the refusal box and closes that box by itself, and
// "feuille" once the control window is shown. It quits on its own after the number of
// milliseconds given as argument (default: never).
#include "app/demarrage.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const int duree = argc > 1 ? QByteArray(argv[1]).toInt() : 0;

    QTimer veille;
    QObject::connect(&veille, &QTimer::timeout, [&] {
        const auto fenetres = QApplication::topLevelWidgets();
        for (QWidget *w : fenetres) {
            if (!w->isVisible())
                continue;
            if (auto *boite = qobject_cast<QMessageBox *>(w)) {
                std::printf("refus %s\n", qPrintable(boite->text()));
                std::fflush(stdout);
                boite->accept();
            } else if (w->objectName() == QLatin1String("feuillemain")) {
                std::printf("feuille %s\n", qPrintable(w->windowTitle()));
                std::fflush(stdout);
                veille.stop();
                if (duree > 0)
                    QTimer::singleShot(duree, &application, &QApplication::quit);
            }
        }
    });
    veille.start(20);
    return lancerStation(application);
}
