#ifndef PARAMETRES_H
#define PARAMETRES_H

#include <QString>
#include <QStringList>

class QSettings;

// Place, size and font step of one display window, and whether it was shown when last
// saved. Places are logical pixels. A file written before PlaceConnue existed tells no
// place by (0, 0).
struct FenetreInfo {
    int X = 0;
    int Y = 0;
    int L = 800;
    int H = 600;
    int TailleFonte = 0;
    bool PlaceConnue = false;
    bool Visible = false;
};

constexpr int nombreFenetres = 5;
// Windows 1 to 4 have a font step; the scoreboard has none.
constexpr int fenetresAvecTailleFonte = 4;

// Seconds of silence after which the feed is shown as stopped; 0 turns the alert off.
constexpr int silenceAlerteParDefaut = 10;

// Seconds a page of a long list shows before the next one; a hand-edited value outside the
// range reads as the default.
constexpr int dureePageParDefaut = 10;
constexpr int dureePageMin = 2;
constexpr int dureePageMax = 120;

// The results page's port: 0 serves no page.
constexpr int portWebMax = 65535;
// A page port as typed ("8080", " 0 "); -1 when the text is not a number from 0 to portWebMax.
int lirePortWeb(const QString &texte);

struct Parametres {
    QString repertoireDonnees;
    QString portUdp;
    FenetreInfo fenetresInfo[nombreFenetres];
    int silenceAlerte = silenceAlerteParDefaut;
    // Addresses whose datagrams are read, as typed; empty: every sender.
    QStringList sources;
    // Bring back at start-up the windows that were shown.
    bool reprendre = false;
    // The results page: its port (0: no page) and the address it listens on (empty: all).
    int webPort = 0;
    QString webAdresse;
    // The relay's publishing address (empty: no relay) and the token it asks for.
    QString relais;
    QString relaisJeton;
    int dureePage = dureePageParDefaut;
    // Every accepted datagram appended to this file (empty: no recording).
    QString enregistrement;
    // The spectators' poster: its title (empty: the cup's) and the Wi-Fi network to join.
    QString afficheTitre;
    QString afficheWifi;
};

extern Parametres parametres;

// Documents + "/Coupe des Vellor", with every "//" made a single "/".
QString repertoireDonneesDepuis(const QString &documents);
QString cheminFichierParametres();
// The contest as it last stood, for a station told to resume.
QString cheminDernierEtat();

// The record's part of the settings file; the control window adds its own geometry.
void lireParametres(QSettings &fichier);
void ecrireParametres(QSettings &fichier);

// "+0", "+16", "-1": the font step as its label shows it.
QString texteTailleFonte(int taille);

#endif
