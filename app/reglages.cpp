#include "app/reglages.h"

#include <QDebug>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace
{
// A burst of changes (a drag) is written once, and never later than a second after the
// first of them.
constexpr int regroupementMs = 300;
constexpr int delaiSauvegardeMaxMs = 900;
} // namespace

Reglages::Reglages(QWidget *fenetre)
    : QObject(fenetre), fenetre(fenetre), sauvegarde(new QTimer(this))
{
    sauvegarde->setSingleShot(true);
    connect(sauvegarde, &QTimer::timeout, this, &Reglages::sauver);
}

void Reglages::charger()
{
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    fenetre->restoreGeometry(fichier.value(QStringLiteral("Fenetre/Geometry")).toByteArray());
    lireParametres(fichier);
}

// QSettings replaces the file atomically (a temporary file renamed over it): a power cut
// leaves the old file or the new one, never half of one.
void Reglages::sauver()
{
    sauvegarde->stop();
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    fichier.clear();
    fichier.setValue(QStringLiteral("Fenetre/Geometry"), fenetre->saveGeometry());
    ecrireParametres(fichier);
    fichier.sync();
    qDebug() << "paramètres enregistrés";
}

void Reglages::modifie()
{
    if (!sauvegarde->isActive())
        premiereModification.start();
    const qint64 reste = delaiSauvegardeMaxMs - premiereModification.elapsed();
    sauvegarde->start(int(qBound(qint64(0), reste, qint64(regroupementMs))));
}

void Reglages::imposer(const OptionsStation &imposees)
{
    options = imposees;
}

int Reglages::portWeb() const
{
    return options.webPort >= 0 ? options.webPort : parametres.webPort;
}

QString Reglages::relais() const
{
    return options.relaisDonne ? options.relais : parametres.relais;
}

QList<QHostAddress> Reglages::sources(QStringList *illisibles) const
{
    if (options.sourcesDonnees)
        return options.sources;
    return adressesDepuis(parametres.sources, illisibles);
}

QString Reglages::enregistrement() const
{
    return options.enregistrement.isEmpty() ? parametres.enregistrement : options.enregistrement;
}

void Reglages::appliquer(const Parametres &nouveaux)
{
    Parties parties;
    const Parametres &p = parametres;
    if (nouveaux.webPort != p.webPort || nouveaux.webAdresse != p.webAdresse)
        parties |= Page;
    if (nouveaux.relais != p.relais || nouveaux.relaisJeton != p.relaisJeton)
        parties |= RelaisWeb;
    if (nouveaux.sources != p.sources)
        parties |= Sources;
    if (nouveaux.enregistrement != p.enregistrement)
        parties |= Enregistrement;
    if (nouveaux.silenceAlerte != p.silenceAlerte || nouveaux.dureePage != p.dureePage ||
        nouveaux.afficheTitre != p.afficheTitre || nouveaux.afficheWifi != p.afficheWifi)
        parties |= Lecture;
    if (!parties)
        return;
    // Only the dialog's fields: a window moved while it was open keeps its new place.
    Parametres &q = parametres;
    q.webPort = nouveaux.webPort;
    q.webAdresse = nouveaux.webAdresse;
    q.relais = nouveaux.relais;
    q.relaisJeton = nouveaux.relaisJeton;
    q.sources = nouveaux.sources;
    q.enregistrement = nouveaux.enregistrement;
    q.silenceAlerte = nouveaux.silenceAlerte;
    q.dureePage = nouveaux.dureePage;
    q.afficheTitre = nouveaux.afficheTitre;
    q.afficheWifi = nouveaux.afficheWifi;
    modifie();
    emit modifies(parties);
}
