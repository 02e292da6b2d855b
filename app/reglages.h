#ifndef REGLAGES_H
#define REGLAGES_H

#include "app/options.h"
#include "core/parametres.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;
class QWidget;

// The settings file behind the record `parametres`: read once, written back within a
// second of each change, and what the command line imposes for this run (never written).
// Whoever owns a piece of the station reacts to `modifies`.
class Reglages final : public QObject
{
    Q_OBJECT

public:
    enum Partie {
        Page = 0x1,           // Web/Port, Web/Adresse
        RelaisWeb = 0x2,      // Web/Relais, Web/RelaisJeton
        Sources = 0x4,        // Connexion/Sources
        Enregistrement = 0x8, // Connexion/Enregistrement
        Lecture = 0x10,       // read where used: silence alert, page time, poster
    };
    Q_DECLARE_FLAGS(Parties, Partie)

    // The file also keeps `fenetre`'s geometry.
    explicit Reglages(QWidget *fenetre);

    void charger();
    // Now, atomically.
    void sauver();
    // Within a second: a burst of changes is written once.
    void modifie();

    void imposer(const OptionsStation &options);
    const OptionsStation &imposees() const { return options; }

    // What this run uses: the command line's value when it gave one, else the record's.
    int portWeb() const;
    QString relais() const;
    QList<QHostAddress> sources(QStringList *illisibles) const;
    QString enregistrement() const;

    // The record as the settings dialog left it: what differs is taken, saved and
    // announced. The record's values that the command line overrides are still the file's.
    void appliquer(const Parametres &nouveaux);

signals:
    void modifies(Reglages::Parties parties);

private:
    QWidget *fenetre;
    QTimer *sauvegarde;
    QElapsedTimer premiereModification;
    OptionsStation options;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Reglages::Parties)

#endif
