// Starts the station exactly as main() does, for the tests that need a real process.
// It prints "refus" when it shows the refusal box and closes that box by itself, and
// "feuille" once the control window is shown; one second later, "etat" with the shown
// display windows, the first font slider, the feed's state and the texts drawn in window 4. It
// quits on its own, by the Quit button, after the number of milliseconds given as first argument
// (0: never); the station's own options follow. VELLOR_ESSAI_ACTION makes it act as the operator
// once the window is shown: "curseur" moves the first font slider to 7, "fenetreN" shows window N,
// "ecritures" saves the settings without pause.
#include "app/demarrage.h"
#include "app/feuille.h"
#include "windows/fenetreaffichage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>
#include <cstdio>

namespace
{
void agir(QWidget *feuille, const QByteArray &action)
{
    if (action == "curseur") {
        feuille->findChild<QSlider *>("mainWindow1TailleFonteSlider")->setValue(7);
    } else if (action.startsWith("fenetre")) {
        feuille->findChild<QAbstractButton *>("mainWindow" + action.mid(7) + "ToolButton")->click();
    } else if (action == "ecritures") {
        auto *sansPause = new QTimer(feuille);
        QObject::connect(sansPause, &QTimer::timeout, feuille,
                         [feuille] { static_cast<Feuille *>(feuille)->sauverParametres(); });
        sansPause->start(0);
    }
}

void afficherEtat(QWidget *feuille)
{
    const auto *f = static_cast<Feuille *>(feuille);
    QByteArray visibles;
    for (int n = 1; n <= 5; ++n)
        if (f->fenetre(n)->isVisible())
            visibles += QByteArray::number(n);
    QStringList textes;
    const auto *vue = f->fenetre(4)->findChild<QGraphicsView *>();
    const auto items = vue && vue->scene() ? vue->scene()->items() : QList<QGraphicsItem *>();
    for (const QGraphicsItem *item : items)
        if (const auto *texte = dynamic_cast<const QGraphicsSimpleTextItem *>(item))
            textes << texte->text();
    std::printf(
        "etat fenetres=%s curseur1=%d flux=%s coupe=%s\n", visibles.constData(),
        feuille->findChild<QSlider *>("mainWindow1TailleFonteSlider")->value(),
        qUtf8Printable(feuille->findChild<QLabel *>("etatFluxLabel")->text().replace('\n', '|')),
        qUtf8Printable(textes.join(',')));
    std::fflush(stdout);
}
} // namespace

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
                std::printf("refus %s\n", qUtf8Printable(boite->text()));
                std::fflush(stdout);
                boite->accept();
            } else if (w->objectName() == QLatin1String("feuillemain") && !depart) {
                std::printf("feuille %s\n", qUtf8Printable(w->windowTitle()));
                std::fflush(stdout);
                depart = true;
                agir(w, qgetenv("VELLOR_ESSAI_ACTION"));
                QTimer::singleShot(1000, w, [w] { afficherEtat(w); });
                if (duree > 0)
                    QTimer::singleShot(duree, w, [w] {
                        w->findChild<QAbstractButton *>("mainFeuilleQuitterToolButton")->click();
                    });
            }
        }
    });
    veille.start(20);
    // The station's own options follow the duration.
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        arguments.removeAt(1);
    return lancerStation(application, arguments);
}
