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

const QString cleGeometrie = QStringLiteral("Fenetre/Geometry");
} // namespace

Reglages::Reglages(QWidget *fenetre, QObject *parent)
    : QObject(parent), fenetre(fenetre), sauvegarde(new QTimer(this))
{
    sauvegarde->setSingleShot(true);
    connect(sauvegarde, &QTimer::timeout, this, &Reglages::sauver);
}

void Reglages::charger()
{
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    fenetre->restoreGeometry(fichier.value(cleGeometrie).toByteArray());
    lireParametres(fichier);
}

// QSettings replaces the file atomically (a temporary file renamed over it): a power cut
// leaves the old file or the new one, never half of one.
void Reglages::sauver()
{
    sauvegarde->stop();
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    fichier.clear();
    fichier.setValue(cleGeometrie, fenetre->saveGeometry());
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

void Reglages::appliquer(const Parametres &nouveaux)
{
    Parametres apres = parametres;
    prendreReglages(apres, nouveaux);
    const Reglage::Parties parties = partiesModifiees(parametres, apres);
    if (!parties)
        return;
    // The effective values changed only where the command line sets none.
    const Reglage::Parties suivies = partiesModifiees(effectifs(), avecSurcharges(apres, imposees));
    parametres = apres;
    modifie();
    emit modifiesSignal(suivies);
}
