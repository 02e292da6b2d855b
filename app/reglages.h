#ifndef REGLAGES_H
#define REGLAGES_H

#include "core/parametres.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;
class QWidget;

// The settings file behind the record `parametres`: read once, written back within a
// second of each change, and what the command line imposes for this run (never written).
// Whoever owns a piece of the station follows `modifiesSignal`.
class Reglages final : public QObject
{
    Q_OBJECT

public:
    // The file also keeps `fenetre`'s geometry.
    explicit Reglages(QWidget *fenetre, QObject *parent);

    void charger();
    // Now, atomically.
    void sauver();
    // Within a second: a burst of changes is written once.
    void modifie();

    void imposer(const Surcharges &valeurs) { imposees = valeurs; }
    const Surcharges &surcharges() const { return imposees; }
    // The record with the command line's values over the file's.
    Parametres effectifs() const { return avecSurcharges(parametres, imposees); }

    // The settings the dialog edits, taken from `nouveaux`: what differs is written within a
    // second and announced.
    void appliquer(const Parametres &nouveaux);

signals:
    void modifiesSignal(Reglage::Parties parties);

private:
    QWidget *fenetre;
    QTimer *sauvegarde;
    QElapsedTimer premiereModification;
    Surcharges imposees;
};

#endif
