// The station exactly as main() starts it, driven from outside for the load run and the
// leak check (scripts/charge.sh, scripts/fuites.sh). Linux only: it reads /proc and obeys
// signals.
//
//   station-mesuree [fenetres [N...] | manipulations | rafale [TRAMES [PILOTES]]]
//
// Prints "écoute <port> <receive buffer bytes>" once the socket is bound. "fenetres" then
// shows the five display windows through their buttons (or only windows N...);
// "manipulations" also opens and closes 50 right-click menus and hides and shows every
// window five times, then prints "manipulations finies, menus <seen open>, restants <menus
// still alive>".
// "rafale" shows the five windows, then sends itself, from another thread, bursts of
// TRAMES frames (2000 by default) of a contest of PILOTES pilots (200), as fast as the
// socket takes them, and prints "rafale <frames> <lost> <lag ms> <lag of a lone frame ms>":
// the lag runs from the sending of the last frame to the end of the refresh that shows it.
// SIGUSR1 prints "mémoire <resident kB> <heap bytes in use> <heap bytes free>" and
// "affichage <the control window's longest refresh>". SIGUSR2 first hands the heap's free
// pages back to the system (malloc_trim): what resident memory loses then was free memory
// kept, not memory in use. SIGTERM quits through the Quit button, confirmed, once no
// datagram is waiting.
#include "app/demarrage.h"
#include "app/feuille.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "core/trame.h"
#include "network/reseau.h"
#include "tools/simulateur/concours.h"
#include "windows/fenetreaffichage.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QUdpSocket>
#include <QVector>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <thread>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t memoireDemandee = 0;
volatile std::sig_atomic_t rendreDemande = 0;
volatile std::sig_atomic_t arretDemande = 0;

void surSignal(int signal)
{
    if (signal == SIGUSR1) {
        memoireDemandee = 1;
    } else if (signal == SIGUSR2) {
        rendreDemande = 1; // before the request, which the main loop may see at once
        memoireDemandee = 1;
    } else {
        arretDemande = 1;
    }
}

void dire(const QString &ligne)
{
    std::printf("%s\n", ligne.toUtf8().constData());
    std::fflush(stdout);
}

void direMemoire()
{
#ifdef __GLIBC__
    if (rendreDemande) {
        rendreDemande = 0;
        malloc_trim(0);
    }
#endif
    QFile statm(QStringLiteral("/proc/self/statm"));
    long residentKo = -1;
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> champs = statm.readAll().split(' ');
        if (champs.size() > 1)
            residentKo = champs.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    const qlonglong tas = qlonglong(info.uordblks), libre = qlonglong(info.fordblks);
#else
    const qlonglong tas = -1, libre = -1; // mallinfo() wraps at 4 GiB and is deprecated
#endif
    dire(QStringLiteral("mémoire %1 %2 %3").arg(residentKo).arg(tas).arg(libre));
}

// Frames sent to the station's own socket from another thread, each built as it goes like
// the sender does, and how long after the last one the windows showed it.
class Rafale final
{
public:
    // The store starts `debut` seconds into the contest's second event; the frames are the
    // seconds that follow.
    Rafale(int trames, int pilotes, int debut)
        : m_trames(trames), m_concours(ConcoursDemo::graineParDefaut, pilotes)
    {
        m_concours.allerA(1, 0, Phase::Attente);
        m_concours.avancer(debut);
    }

    // The time from the sending of the last frame to the end of the refresh that showed
    // it, in ms; negative when it was not shown within five seconds (lost).
    double mesurer(quint16 port)
    {
        decoderTrame(m_concours.trame());
        QObject contexte;
        qint64 retard = -1;
        // Connected after the station's own slot: it runs once the refresh is over.
        QObject::connect(socketUdp, &QUdpSocket::readyRead, &contexte, [&] {
            if (retard < 0 && titreCoupe.startsWith(QLatin1String(marque)))
                retard = horloge() - m_dernierEnvoi;
        });
        std::thread envoi([this, port] {
            QUdpSocket socket;
            for (int i = 1; i <= m_trames; ++i) {
                m_concours.avancer(1);
                QByteArray trame = m_concours.trame();
                if (i == m_trames) {
                    // Its cup title tells the store holds it.
                    trame.replace(QByteArrayLiteral("Vellor's Cup"), marque);
                    m_dernierEnvoi = horloge();
                }
                socket.writeDatagram(trame, QHostAddress::LocalHost, port);
            }
        });
        QElapsedTimer attente;
        attente.start();
        while (retard < 0 && attente.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        envoi.join();
        return retard < 0 ? -1 : double(retard) / 1e6;
    }

private:
    static qint64 horloge()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    static constexpr char marque[] = "Fin de rafale";
    const int m_trames;
    ConcoursDemo m_concours;
    std::atomic<qint64> m_dernierEnvoi{0};
};

double mediane(QVector<double> valeurs)
{
    std::sort(valeurs.begin(), valeurs.end());
    return valeurs.isEmpty() ? -1 : valeurs.at(valeurs.size() / 2);
}

// Twenty lone frames, then three bursts; each starts from a quiet socket.
void mesurerRafales(int trames, int pilotes)
{
    const quint16 port = socketUdp->localPort();
    QVector<double> seules;
    for (int i = 0; i < 20; ++i)
        seules << Rafale(1, pilotes, 61 * i).mesurer(port);
    QVector<double> rafales;
    for (int i = 0; i < 3; ++i) {
        QThread::msleep(500);
        QCoreApplication::processEvents();
        rafales << Rafale(trames, pilotes, 500 * i).mesurer(port);
    }
    dire(QStringLiteral("rafale %1 pilotes %2 retard médian %3 max %4 seule %5")
             .arg(trames)
             .arg(pilotes)
             .arg(mediane(rafales), 0, 'f', 1)
             .arg(*std::max_element(rafales.cbegin(), rafales.cend()), 0, 'f', 1)
             .arg(mediane(seules), 0, 'f', 1));
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
    for (int i = 2; i < argc && mode != QLatin1String("rafale"); ++i)
        aMontrer << QByteArray(argv[i]).toInt();
    if (aMontrer.isEmpty())
        aMontrer = {1, 2, 3, 4, 5};
    std::signal(SIGUSR1, surSignal);
    std::signal(SIGUSR2, surSignal);
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
            if (mode == QLatin1String("rafale"))
                QTimer::singleShot(0, [argc, argv] {
                    mesurerRafales(argc > 2 ? QByteArray(argv[2]).toInt() : 2000,
                                   argc > 3 ? QByteArray(argv[3]).toInt() : 200);
                });
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
