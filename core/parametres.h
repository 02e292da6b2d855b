#ifndef PARAMETRES_H
#define PARAMETRES_H

#include <QString>

class QSettings;

// Place, size and font step of one display window; (0, 0) means no place is stored.
struct FenetreInfo {
    int X = 0;
    int Y = 0;
    int L = 800;
    int H = 600;
    int TailleFonte = 0;
};

constexpr int nombreFenetres = 5;

struct Parametres {
    QString repertoireDonnees;
    QString portUdp;
    FenetreInfo fenetresInfo[nombreFenetres];
};

extern Parametres parametres;

// Documents + "/Coupe des Vellor", with every "//" made a single "/".
QString repertoireDonneesDepuis(const QString &documents);
QString cheminFichierParametres();

// The record's part of the settings file; the control window adds its own geometry.
void lireParametres(QSettings &fichier);
void ecrireParametres(QSettings &fichier);

// "+0", "+16", "-1": the font step as its label shows it.
QString texteTailleFonte(int taille);

#endif
