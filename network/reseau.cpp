#include "network/reseau.h"

#include "core/donnees.h"
#include "core/journal.h"
#include "core/parametres.h"
#include "core/trame.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <utility>

QUdpSocket *socketUdp = nullptr;

namespace
{
constexpr int dureeVoyantMs = 100;
// Beyond this many different unwanted senders, no more debug lines: a flood of forged
// addresses must not grow memory.
constexpr int sourcesIgnoreesMax = 256;
// Room for a burst of frames while the windows redraw.
constexpr int tamponReception = 4 * 1024 * 1024;
} // namespace

Reseau::Reseau(QObject *parent) : QObject(parent) {}

Reseau::~Reseau()
{
    // The receiver lives as long as the process; the socket goes with it.
    qDebug() << "datagrammes reçus" << datagrammesRecus;
    delete socketUdp;
    socketUdp = nullptr;
}

void Reseau::connexionReseauUdp()
{
    qDebug() << "void Reseau::connexionReseauUdp()" << parametres.portUdp;
    if (socketUdp)
        return;
    socketUdp = new QUdpSocket;
    connect(socketUdp, &QUdpSocket::readyRead, this, &Reseau::readPendingDatagramsSlot);
}

bool Reseau::lier(const QString &texte, QString *raison)
{
    if (!socketUdp) {
        *raison = QStringLiteral("aucun port saisi");
        return false;
    }
    bool valide = false;
    const quint16 port = texte.toUShort(&valide, 10);
    if (!valide || port == 0) {
        *raison = QStringLiteral("port invalide ") + texte;
        return false;
    }
    if (!socketUdp->bind(port, QAbstractSocket::DefaultForPlatform)) {
        *raison = socketUdp->errorString();
        return false;
    }
    qDebug() << "bind" << texte << socketUdp->peerPort();
    socketUdp->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, tamponReception);
    socketUdp->writeDatagram(annonceStation, qstrlen(annonceStation),
                             QHostAddress(QHostAddress::Broadcast), port);
    return true;
}

void Reseau::delier()
{
    if (socketUdp && socketUdp->isValid()) {
        socketUdp->disconnectFromHost();
        qDebug() << "déconnexion";
    }
}

void Reseau::definirSources(const QList<QHostAddress> &adresses, const QStringList &illisibles)
{
    sources = adresses;
    sourcesIllisibles = adresses.isEmpty() ? illisibles : QStringList();
    sourcesIgnorees.clear();
}

bool Reseau::enregistrerDans(const QString &chemin, QString *erreur)
{
    if (chemin.isEmpty()) {
        journal.reset();
        return true;
    }
    auto nouveau = std::make_unique<Journal>();
    if (!nouveau->ouvrir(chemin, erreur))
        return false;
    journal = std::move(nouveau);
    return true;
}

EtatFlux Reseau::etatFlux() const
{
    EtatFlux etat;
    etat.recus = datagrammesRecus;
    etat.ignores = datagrammesIgnores;
    etat.source = derniereSource;
    etat.msDepuisDerniere = depuisDerniere.isValid() ? depuisDerniere.elapsed() : -1;
    etat.sourcesIllisibles = sourcesIllisibles;
    return etat;
}

bool Reseau::sourceAcceptee(const QHostAddress &adresse)
{
    if (sources.isEmpty() && sourcesIllisibles.isEmpty())
        return true;
    for (const QHostAddress &source : std::as_const(sources))
        if (source.isEqual(adresse, QHostAddress::ConvertV4MappedToIPv4))
            return true;
    const QString texte = texteAdresse(adresse);
    if (!sourcesIgnorees.contains(texte) && sourcesIgnorees.size() < sourcesIgnoreesMax) {
        sourcesIgnorees.insert(texte);
        qDebug().noquote() << "trame ignorée de" << texte;
    }
    return false;
}

void Reseau::enregistrer(const QByteArray &datagramme)
{
    if (!journal || journal->ajouter(datagramme))
        return;
    // Told once; the station carries on without recording.
    const QString raison = journal->erreur();
    journal.reset();
    qDebug().noquote() << "enregistrement impossible :" << raison;
    emit enregistrementImpossibleSignal(raison);
}

// Every pending datagram is decoded, in order, but the windows are redrawn once, after
// the last: when frames come faster than the windows draw, the screens show the newest
// state instead of falling behind. A single pending datagram goes exactly as before.
void Reseau::readPendingDatagramsSlot()
{
    QByteArray dernier;
    bool enAttente = false;
    while (socketUdp->hasPendingDatagrams()) {
        QByteArray datagramme;
        datagramme.resize(int(qMax<qint64>(socketUdp->pendingDatagramSize(), 0)));
        QHostAddress source;
        socketUdp->readDatagram(datagramme.data(), datagramme.size(), &source);
        // The station's own announcement, back from the broadcast, is still decoded and
        // shown as received, but it says nothing of the sender.
        const bool annonce = datagramme == annonceStation;
        if (!annonce) {
            ++datagrammesRecus;
            if (!sourceAcceptee(source)) {
                ++datagrammesIgnores;
                continue;
            }
            derniereSource = source;
            depuisDerniere.start();
            enregistrer(datagramme);
        }
        if (enAttente)
            decoder(dernier);
        dernier = std::move(datagramme);
        enAttente = true;
    }
    if (!enAttente)
        return;
    decodageTrameUdpSlot(dernier);
    emit voyantReceptionSignal(true);
    QTimer::singleShot(dureeVoyantMs, this, SLOT(emissionTrameUdpLedVerteSlot()));
}

void Reseau::emissionTrameUdpLedVerteSlot()
{
    emit voyantReceptionSignal(false);
}

void Reseau::decoder(const QByteArray &datagramme)
{
    BlocsLus lus;
    decoderTrame(datagramme, &lus);
    emit trameDecodeeSignal(datagramme, lus);
}

void Reseau::decodageTrameUdpSlot(QByteArray buffer)
{
    decoder(buffer);

    QElapsedTimer chrono;
    chrono.start();
    emit reseauUpdateAffichageSignal();
    const double dureeMs = double(chrono.nsecsElapsed()) / 1000000.0;

    if (dureeMs > dureeMaxAffichage)
        dureeMaxAffichage = dureeMs;
    emit dureeMaxAffichageSignal(dureeMaxAffichage);
}
