#ifndef STATION_H
#define STATION_H

#include "app/etatstation.h"
#include "core/parametres.h"

#include <QHash>
#include <QObject>

class Diffusion;
class MemoireEtat;
class QTimer;
class Reglages;
class Reseau;
struct OptionsStation;

// The station's services, which no window owns: the settings and their file, the receiver's
// binding, the results page and the relay, the memory of the last state. Each follows its
// settings as they change; the control window only shows what etat() says.
class Station final : public QObject
{
    Q_OBJECT

public:
    // The control window's own geometry is kept in the settings file too.
    explicit Station(QWidget *fenetreControle);
    ~Station() override;

    Reseau *reseau() const { return recepteur; }

    void chargerParametres();
    // Now, atomically.
    void sauverParametres();
    // Within a second: a burst of changes is written once.
    void parametresModifies();

    // The command line's part: its values over the file's for this run, the last state
    // taken back when the station is told to resume, then the page, the relay, the senders
    // and the recording opened.
    void demarrer(const OptionsStation &options);
    // True once, at the first connection, when the windows shown at the last stop are to come
    // back.
    bool prendreFenetresAReprendre();

    // Binds the receiver to the port typed and announces the station. False when it cannot:
    // the reason is in the feed's state.
    bool lier(const QString &port);
    void delier();

    // The settings as the settings dialog left them, handed over. A page that cannot move
    // or a recording that cannot open refuses them all: nothing is taken, nothing written,
    // and the reasons come back by row.
    QHash<const Reglage *, QString> appliquer(const Parametres &nouveaux);
    // The file as edited by hand meanwhile, handed over as the dialog hands its copy; a
    // refusal is said in a debug line.
    void relireFichier();
    // What the command line sets for this run instead of the file.
    const Surcharges &surcharges() const;
    // The record as this run uses it: the file's, with the command line's values over it.
    Parametres effectifs() const;
    QStringList adressesPage() const;

    EtatStation etat() const;

signals:
    // Something etat() says changed, or the feed's age moved on.
    void etatChangeSignal();

private:
    void appliquerReglages(Reglage::Parties parties);
    void reprendreEtat();
    // After each refresh: a frame ends the resumed state; the state goes to the page and the
    // relay.
    void publier();

    Reglages *reglages;
    Reseau *recepteur;
    Diffusion *diffusion;
    MemoireEtat *memoire;
    QTimer *minuterieEtat;
    QString erreurEcoute;
    QString erreurEnregistrement;
    bool enregistrementArrete = false;
    QString repriseDe; // while no frame has come since
    QString erreurReprise;
    bool reprisePrevue = false;
};

#endif
