#ifndef ETATSTATION_H
#define ETATSTATION_H

#include "network/etatflux.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// What the station is doing, as plain values: everything the control window says of it.
struct EtatStation {
    EtatFlux flux;
    int silenceAlerte = 0;
    QString erreurEcoute; // the port could not be bound
    // The recording could not start, or stopped: `enregistrementArrete` tells which.
    QString erreurEnregistrement;
    bool enregistrementArrete = false;
    // The state taken back from disk: when it was written, while no frame has come since;
    // or why it could not be.
    QString repriseDe;
    QString erreurReprise;
    // The results page: its addresses while served, or why it could not open.
    QStringList adressesPage;
    QString erreurPage;
    // The relay: its address as set (empty: none), whether it is one, and the last answer.
    QString adresseRelais;
    bool relaisValide = false;
    bool relaisAJour = false;
    QString raisonRelais;
};

// A status line, and whether it is red: something the operator must mend.
struct LigneEtat {
    QString texte;
    bool alerte = false;
};

struct TextesEtat {
    LigneEtat flux, page, relais;
};

TextesEtat textesEtat(const EtatStation &etat);

// The time a state taken back from disk was written, as the operator reads it: the day is
// said when it is not `aujourdhui`.
QString texteHeureReprise(const QDateTime &quand, const QDate &aujourdhui);

#endif
