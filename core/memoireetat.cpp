#include "core/memoireetat.h"

#include "core/journal.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace
{
const QByteArray entete = QByteArrayLiteral("#vellorcup-etat 1");
const QByteArray fin = QByteArrayLiteral("#fin ");

QByteArray empreinte(const QByteArray &octets)
{
    return QCryptographicHash::hash(octets, QCryptographicHash::Sha1).toHex();
}
} // namespace

MemoireEtat::MemoireEtat(const QString &chemin, QObject *parent, int periodeMs)
    : QObject(parent), chemin(chemin), minuterie(new QTimer(this))
{
    minuterie->setSingleShot(true);
    minuterie->setInterval(periodeMs);
    connect(minuterie, &QTimer::timeout, this, &MemoireEtat::ecrire);
}

MemoireEtat::~MemoireEtat()
{
    if (minuterie->isActive())
        ecrire();
}

void MemoireEtat::garder(Retenu &place, const QByteArray &datagramme)
{
    place = {compteur, datagramme};
}

void MemoireEtat::retenir(const QByteArray &datagramme, const BlocsLus &lus)
{
    if (!lus.epreuve && !lus.series && !lus.coupe)
        return;
    ++compteur;
    if (lus.epreuve)
        garder(epreuve, datagramme);
    if (lus.coupe)
        garder(coupe, datagramme);
    // The header (event and series in flight, chronometers) comes with every series block,
    // whichever slot it fills.
    if (lus.series)
        garder(enTeteSeries, datagramme);
    if (lus.creneau >= 0 && lus.creneau < nombreEpreuves)
        garder(series[lus.creneau], datagramme);
    if (!minuterie->isActive())
        minuterie->start();
}

QList<QByteArray> MemoireEtat::datagrammes() const
{
    QList<Retenu> retenus{epreuve, coupe, enTeteSeries};
    for (const Retenu &r : series)
        retenus << r;
    std::sort(retenus.begin(), retenus.end(),
              [](const Retenu &a, const Retenu &b) { return a.ordre < b.ordre; });
    QList<QByteArray> liste;
    quint64 dernier = 0;
    // A datagram kept for several parts is decoded once.
    for (const Retenu &r : std::as_const(retenus))
        if (r.ordre != 0 && r.ordre != dernier) {
            liste << r.datagramme;
            dernier = r.ordre;
        }
    return liste;
}

QByteArray MemoireEtat::contenu(const QDateTime &quand) const
{
    QByteArray octets = entete + '\n' + quand.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    const QList<QByteArray> liste = datagrammes();
    for (const QByteArray &d : liste)
        octets += ligneJournal(d) + '\n';
    return octets + fin + empreinte(octets) + '\n';
}

bool MemoireEtat::lire(const QByteArray &contenu, QList<QByteArray> *datagrammes, QDateTime *quand)
{
    const int debutFin = contenu.lastIndexOf('\n' + fin);
    if (!contenu.startsWith(entete + '\n') || debutFin < 0 ||
        contenu.mid(debutFin + 1) != fin + empreinte(contenu.left(debutFin + 1)) + '\n')
        return false;
    QList<QByteArray> lignes = contenu.left(debutFin).split('\n');
    *quand = QDateTime::fromString(QString::fromLatin1(lignes.value(1)), Qt::ISODateWithMs);
    datagrammes->clear();
    for (int i = 2; i < lignes.size(); ++i)
        *datagrammes << datagrammeJournal(lignes.at(i), true);
    return quand->isValid();
}

QDateTime MemoireEtat::reprendre(QString *erreur)
{
    QFile fichier(chemin);
    if (!fichier.exists())
        return {};
    QList<QByteArray> liste;
    QDateTime quand;
    if (!fichier.open(QIODevice::ReadOnly) || !lire(fichier.readAll(), &liste, &quand)) {
        fichier.close();
        const QString decote =
            chemin + QStringLiteral(".illisible-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QFile::rename(chemin, decote);
        *erreur =
            tr("État précédent illisible, mis de côté : %1").arg(QFileInfo(decote).fileName());
        qDebug().noquote() << "reprise impossible :" << *erreur;
        return {};
    }
    if (liste.isEmpty())
        return {};
    for (const QByteArray &datagramme : std::as_const(liste)) {
        BlocsLus lus;
        decoderTrame(datagramme, &lus);
        retenir(datagramme, lus);
    }
    minuterie->stop(); // what was just read is already on disk
    return quand.toLocalTime();
}

bool MemoireEtat::ecrire()
{
    minuterie->stop();
    QDir().mkpath(QFileInfo(chemin).path());
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) ||
        fichier.write(contenu(QDateTime::currentDateTime())) < 0 || !fichier.commit()) {
        qDebug().noquote() << "état non enregistré :" << fichier.errorString();
        return false;
    }
    return true;
}
