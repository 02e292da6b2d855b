#ifndef DONNEES_H
#define DONNEES_H

#include <QString>
#include <QStringList>
#include <QVector>

// The contest as the last frames described it. Written by the frame decoder (and, for
// the two row lists of windows 2 and 3, by those windows), read by the display windows.
//
// Every pilot's name comes in two parts, nom1 then nom2, shown in that order except by the
// preparation window. The sender puts the family name in capitals in nom1 and the first
// name in nom2 ("MARTIN", "Julie"); the station does not rely on it.

struct PiloteSerie {
    int numero = 0;
    int points = 0;
    QString club;
    QString nom1;
    QString nom2;
    bool reussi = false;
};

struct GroupeSerie {
    bool avecResultats = false;
    QVector<PiloteSerie> pilotes;
};

struct EpreuveSeries {
    QVector<GroupeSerie> groupes;
};

struct LigneCoupe {
    int points = 0;
    int numero = 0;
    QString rang;
    QString nom1;
    QString nom2;
};

struct LigneEpreuve {
    QString baguettes;
    QString numero;
    QString banderoles;
    QString drapeauNumero;
    QString looping;
    QString limbo;
    QString nom1;
    QString nom2;
    QString pylones;
    QString total;
    QString touchAndGo;
};

struct LignePreparation {
    int numero = 0;
    QString club;
    QString nom1;
    QString nom2;
};

struct LigneClassement {
    QString nom1;
    QString nom2;
    int numero = 0;
    int points = 0;
};

constexpr int nombreEpreuves = 5;

// The five event names, indexed like the series slots.
const QStringList &listeNomsEpreuves();

extern int indexEpreuveSeries;
extern int indexSerieCourante;
extern bool serieDrapeau;
extern QString tempsEcoule;
extern QString tempsRestant;
extern QString titreCoupe;
extern double dureeMaxAffichage;

extern QVector<EpreuveSeries> epreuvesSeries;
extern QVector<LigneCoupe> classementCoupe;
extern QVector<LigneEpreuve> lignesEpreuve;
extern QVector<LignePreparation> lignesPreparation;
extern QVector<LigneClassement> lignesClassement;
extern int ligneMaxWin3;

// Puts every item back to the state the control window leaves at start-up: five empty
// series slots, everything else at its initial value.
void reinitialiserDonnees();

// The slot named by indexEpreuveSeries, or null when the index names none of the five.
const EpreuveSeries *epreuveAffichee();
const EpreuveSeries *epreuveAffichee(int indexEpreuve, const QVector<EpreuveSeries> &epreuves);

#endif
