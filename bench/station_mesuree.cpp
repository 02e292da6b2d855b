// The station exactly as main() starts it, driven from outside for the load run and the
// leak check (scripts/charge.sh, scripts/fuites.sh). Linux only: it reads /proc and obeys
// signals.
//
//   station-mesuree [fenetres [N...] | manipulations]
//
// Prints "écoute <port> <receive buffer bytes>" once the socket is bound. "fenetres" then
// shows the five display windows through their buttons (or only windows N...);
// "manipulations" also opens and closes 50 right-click menus and hides and shows every
// window five times, then prints "manipulations finies, menus <seen open>, restants <menus
// still alive>".
// SIGUSR1 prints "mémoire <resident kB> <heap bytes in use>" and "affichage <the control
// window's longest refresh>". SIGTERM quits through the Quit button, confirmed, once no
// datagram is waiting.
#include "app/demarrage.h"
#include "app/feuille.h"
#include "core/parametres.h"
#include "network/reseau.h"
#include "windows/fenetreaffichage.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <QUdpSocket>
#include <QVector>
#include <csignal>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t memoireDemandee = 0;
volatile std::sig_atomic_t arretDemande = 0;

void surSignal(int signal)
{
    if (signal == SIGUSR1)
        memoireDemandee = 1;
    else
        arretDemande = 1;
}

void dire(const QString &ligne)
{
    std::printf("%s\n", ligne.toUtf8().constData());
    std::fflush(stdout);
}

void direMemoire()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    long residentKo = -1;
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> champs = statm.readAll().split(' ');
        if (champs.size() > 1)
            residentKo = champs.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const qlonglong tas = qlonglong(mallinfo2().uordblks);
#else
    const qlonglong tas = -1; // mallinfo() wraps at 4 GiB and is deprecated
#endif
    dire(QStringLiteral("mémoire %1 %2").arg(residentKo).arg(tas));
}

QToolButton *bouton(Feuille *feuille, const QString &nom)
{
    return feuille->findChild<QToolButton *>(nom);
}

QToolButton *boutonFenetre(Feuille *feuille, int n)
{
    return bouton(feuille, QStringLiteral("mainWindow%1ToolButton").arg(n));
}

// The view of a display window that offers its right-click menu.
QWidget *vueAvecMenu(FenetreAffichage *fenetre)
{
    const auto vues = fenetre->findChildren<QAbstractScrollArea *>();
    for (QAbstractScrollArea *vue : vues)
        if (vue->contextMenuPolicy() == Qt::CustomContextMenu)
            return vue->viewport();
    return nullptr;
}

// What the window system delivers after a right click.
void clicDroit(QWidget *cible)
{
    const QPoint pos(cible->width() / 2, cible->height() / 2);
    QContextMenuEvent evenement(QContextMenuEvent::Mouse, pos, cible->mapToGlobal(pos));
    QCoreApplication::sendEvent(cible, &evenement);
}

// The operator's session, one step per tick so that menus, hides and frames interleave.
QVector<std::function<void()>> manipulations(Feuille *feuille, int &menus)
{
    QVector<std::function<void()>> etapes;
    for (int i = 0; i < 50; ++i) {
        const int n = (i / 2) % nombreFenetres + 1;
        const bool surBouton = i % 2 == 0;
        etapes << [=, &menus] {
            QWidget *cible =
                surBouton ? boutonFenetre(feuille, n) : vueAvecMenu(feuille->fenetre(n));
            if (cible)
                clicDroit(cible);
            if (QApplication::activePopupWidget())
                ++menus;
        };
        etapes << [] {
            if (QWidget *menu = QApplication::activePopupWidget())
                menu->close();
        };
    }
    for (int tour = 0; tour < 5; ++tour)
        for (int n = 1; n <= nombreFenetres; ++n)
            for (int clic = 0; clic < 2; ++clic)
                etapes << [=] { boutonFenetre(feuille, n)->click(); };
    return etapes;
}
} // namespace

int main(int argc, char *argv[])
{
    preparerEchelle();
    QApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QVector<int> aMontrer;
    for (int i = 2; i < argc; ++i)
        aMontrer << QByteArray(argv[i]).toInt();
    if (aMontrer.isEmpty())
        aMontrer = {1, 2, 3, 4, 5};
    std::signal(SIGUSR1, surSignal);
    std::signal(SIGTERM, surSignal);
    std::signal(SIGINT, surSignal);

    Feuille *feuille = nullptr;
    bool ecoute = false;
    bool arretEnCours = false;
    int menus = 0;
    QVector<std::function<void()>> etapes;
    int etape = 0;

    QTimer veille;
    QObject::connect(&veille, &QTimer::timeout, [&] {
        const auto fenetres = QApplication::topLevelWidgets();
        for (QWidget *w : fenetres) {
            if (!w->isVisible())
                continue;
            if (auto *boite = qobject_cast<QMessageBox *>(w)) {
                if (!feuille) { // the station is already running here
                    dire(QStringLiteral("refus ") + boite->text());
                    boite->accept();
                } else if (arretEnCours && boite->button(QMessageBox::Yes)) {
                    boite->button(QMessageBox::Yes)->click();
                }
            } else if (!feuille && w->objectName() == QLatin1String("feuillemain")) {
                feuille = qobject_cast<Feuille *>(w);
                dire(QStringLiteral("feuille ") + w->windowTitle());
            }
        }
        if (!feuille)
            return;

        if (!ecoute && socketUdp && socketUdp->state() == QAbstractSocket::BoundState) {
            ecoute = true;
            dire(QStringLiteral("écoute %1 %2")
                     .arg(socketUdp->localPort())
                     .arg(socketUdp->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption)
                              .toInt()));
            if (!mode.isEmpty()) {
                for (int n : aMontrer)
                    boutonFenetre(feuille, n)->click();
                int visibles = 0;
                for (int n = 1; n <= nombreFenetres; ++n)
                    visibles += feuille->fenetre(n)->isVisible() ? 1 : 0;
                dire(QStringLiteral("fenêtres %1").arg(visibles));
            }
            if (mode == QLatin1String("manipulations"))
                etapes = manipulations(feuille, menus);
        }
        if (etape < etapes.size()) {
            etapes[etape++]();
            if (etape == etapes.size()) {
                // A menu lives until its window does unless it is let go once closed.
                int restants = 0;
                const auto widgets = QApplication::allWidgets();
                for (QWidget *w : widgets)
                    restants += qobject_cast<QMenu *>(w) ? 1 : 0;
                dire(QStringLiteral("manipulations finies, menus %1, restants %2")
                         .arg(menus)
                         .arg(restants));
            }
        }

        if (memoireDemandee) {
            memoireDemandee = 0;
            direMemoire();
            if (auto *duree = feuille->findChild<QLabel *>(QStringLiteral("mainFeuilleInfoLabel")))
                dire(QStringLiteral("affichage ") + duree->text());
        }
        // Frames still in the socket would count as lost: read them first.
        if (arretDemande && !arretEnCours && etape == etapes.size() &&
            !(socketUdp && socketUdp->hasPendingDatagrams())) {
            arretEnCours = true;
            // Queued: the confirmation box runs its own loop, where this timer must tick.
            QMetaObject::invokeMethod(
                bouton(feuille, QStringLiteral("mainFeuilleQuitterToolButton")), "click",
                Qt::QueuedConnection);
        }
    });
    veille.start(20);
    // Its own arguments are not the station's.
    return lancerStation(application, {QCoreApplication::arguments().constFirst()});
}
