// Starts the station exactly as main() does, for the tests of the single-instance guard.
// It prints "refus" when it shows the refusal box and closes that box by itself, and
// "feuille" once the control window is shown. It quits on its own, by the Quit button,
// after the number of milliseconds given as argument (default: never).
#include "app/demarrage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    preparerEchelle();
    QApplication application(argc, argv);
    const int duree = argc > 1 ? QByteArray(argv[1]).toInt() : 0;

    // Time is up: leave as the operator does, by the Quit button, confirmed. Quitting
    // through QCoreApplication::quit() would ask the windows to close on Qt 6 only.
    bool depart = false;
    QTimer veille;
    QObject::connect(&veille, &QTimer::timeout, [&] {
        const auto fenetres = QApplication::topLevelWidgets();
        for (QWidget *w : fenetres) {
            if (!w->isVisible())
                continue;
            if (auto *boite = qobject_cast<QMessageBox *>(w)) {
                if (depart) {
                    boite->button(QMessageBox::Yes)->click();
                    continue;
                }
                std::printf("refus %s\n", qPrintable(boite->text()));
                std::fflush(stdout);
                boite->accept();
            } else if (w->objectName() == QLatin1String("feuillemain") && !depart) {
                std::printf("feuille %s\n", qPrintable(w->windowTitle()));
                std::fflush(stdout);
                depart = true;
                if (duree > 0)
                    QTimer::singleShot(duree, w, [w] {
                        w->findChild<QAbstractButton *>("mainFeuilleQuitterToolButton")->click();
                    });
            }
        }
    });
    veille.start(20);
    return lancerStation(application);
}
