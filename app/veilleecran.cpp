#include "app/veilleecran.h"

#include "app/veilleinhibiteur.h"

#include <QDebug>
#include <QEvent>
#include <QWidget>

VeilleEcran::VeilleEcran(QObject *parent) : QObject(parent), inhibiteur(creerInhibiteur()) {}

VeilleEcran::~VeilleEcran()
{
    relacher();
}

void VeilleEcran::surveiller(QWidget *fenetre)
{
    if (!fenetre || surveillees.contains(fenetre))
        return;
    surveillees.insert(fenetre);
    fenetre->installEventFilter(this);
    // Forgotten as it goes: a later widget may reuse its address, and a window deleted
    // without a native window sends no Hide.
    connect(fenetre, &QObject::destroyed, this, [this](QObject *objet) {
        surveillees.remove(objet);
        visibles.remove(objet);
        actualiser();
    });
    if (fenetre->isVisible() && !fenetre->isMinimized()) {
        visibles.insert(fenetre);
        actualiser();
    }
}

bool VeilleEcran::eventFilter(QObject *objet, QEvent *event)
{
    // Minimising sends Hide and restoring sends Show: a minimised window shows nothing
    // to the public, so it counts as hidden.
    if (event->type() == QEvent::Show) {
        visibles.insert(objet);
        actualiser();
    } else if (event->type() == QEvent::Hide) {
        visibles.remove(objet);
        actualiser();
    }
    return QObject::eventFilter(objet, event);
}

void VeilleEcran::actualiser()
{
    if (visibles.isEmpty()) {
        relacher();
        return;
    }
    if (etat != Etat::Relachee)
        return;
    if (!inhibiteur) {
        etat = Etat::Refusee;
        return;
    }
    QString raison;
    if (inhibiteur->prendre(raison)) {
        etat = Etat::Suspendue;
        qDebug("veille suspendue");
    } else {
        etat = Etat::Refusee;
        qDebug().noquote() << QStringLiteral("veille : l'écran peut s'éteindre (") + raison +
                                  QLatin1Char(')');
    }
}

void VeilleEcran::relacher()
{
    if (etat == Etat::Suspendue) {
        inhibiteur->rendre();
        qDebug("veille rétablie");
    }
    etat = Etat::Relachee;
}
