#ifndef PARAMETRES_H
#define PARAMETRES_H

#include <QFlags>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <iterator>
#include <limits>
#include <optional>
#include <variant>

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

// The font step: the sliders go from tailleFonteMin to tailleFonteMax. A step written by hand
// in the file is kept up to the file's bounds, shown as read and the slider at its end;
// beyond them it reads as 0.
constexpr int tailleFonteMin = -2;
constexpr int tailleFonteMax = 16;
constexpr int tailleFonteFichierMin = -16;
constexpr int tailleFonteFichierMax = 64;

// The results page's port: 0 serves no page.
constexpr int portWebMax = 65535;

struct Parametres {
    // Every setting at its default.
    Parametres();

    QString repertoireDonnees;
    QString portUdp;
    FenetreInfo fenetresInfo[nombreFenetres];

    // Beyond the control window's form: each is declared, with its key, its default and its
    // bounds, by a row of `reglages` below.
    int silenceAlerte;      // seconds of silence before the feed shows as stopped; 0: never
    QStringList sources;    // the senders read, as typed; empty: every sender
    bool reprendre;         // the windows shown at the last stop come back at start-up
    int webPort;            // the results page: its port (0: no page)
    QString webAdresse;     // and the address it listens on (empty: all)
    QString relais;         // the relay's publishing address (empty: no relay)
    QString relaisJeton;    // and the token it asks for
    int dureePage;          // seconds a page of a long list shows
    QString enregistrement; // every accepted datagram appended to this file (empty: none)
    QString afficheTitre;   // the spectators' poster: its title (empty: the cup's)
    QString afficheWifi;    // and the Wi-Fi network to join
};

extern Parametres parametres;

// One key of the settings file beyond the control window's form.
struct Reglage {
    // Who follows the setting when it changes.
    enum Partie {
        Page = 0x1,           // the results page opens, moves or closes
        RelaisWeb = 0x2,      // the relay is followed anew
        Sources = 0x4,        // the receiver takes its senders
        Enregistrement = 0x8, // the recording of datagrams
        Lecture = 0x10,       // read where used: silence alert, page time, poster
        Demarrage = 0x20,     // read at start-up, set by the control window, never by the dialog
    };
    Q_DECLARE_FLAGS(Parties, Partie)

    // What a typed value must be, checked by the dialog and the command line; the file's
    // reading only bounds numbers.
    enum Forme { Texte, Nombre, Port, Adresses, AdresseRelais, Fichier };

    using Champ = std::variant<int Parametres::*, bool Parametres::*, QString Parametres::*,
                               QStringList Parametres::*>;

    const char *cle;
    // The settings dialog edits it in its widgets whose property "reglage" holds this name.
    const char *nom;
    Champ champ;
    Partie partie;
    Forme forme = Texte;
    // A number outside [min, max], or no number, reads as the default; a flag's default is
    // 0 or 1.
    int defaut = 0, min = 0, max = 0;
    // Keys added later are written only once set: an untouched station's file stays as before.
    bool siDonne = false;
    // The command-line option that replaces it for one run, the name of its value and what
    // it does.
    const char *option = nullptr;
    const char *valeurOption = nullptr;
    const char *aide = nullptr;

    static constexpr Reglage nombre(const char *cle, const char *nom, int Parametres::*champ,
                                    Partie partie, int defaut, int min, int max,
                                    Forme forme = Nombre)
    {
        return {cle, nom, champ, partie, forme, defaut, min, max};
    }
    static constexpr Reglage drapeau(const char *cle, const char *nom, bool Parametres::*champ,
                                     Partie partie)
    {
        return {cle, nom, champ, partie, Nombre, 0, 0, 1};
    }
    static constexpr Reglage texte(const char *cle, const char *nom, QString Parametres::*champ,
                                   Partie partie, Forme forme = Texte)
    {
        return {cle, nom, champ, partie, forme};
    }
    static constexpr Reglage liste(const char *cle, const char *nom, QStringList Parametres::*champ,
                                   Partie partie, Forme forme)
    {
        return {cle, nom, champ, partie, forme};
    }
    constexpr Reglage ecritSiDonne() const
    {
        Reglage r = *this;
        r.siDonne = true;
        return r;
    }
    constexpr Reglage remplacePar(const char *nomOption, const char *valeur,
                                  const char *texteAide) const
    {
        Reglage r = *this;
        r.option = nomOption;
        r.valeurOption = valeur;
        r.aide = texteAide;
        return r;
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Reglage::Parties)

// The station's settings beyond the control window's form, each declared here once.
inline constexpr Reglage reglages[] = {
    Reglage::nombre("Connexion/SilenceAlerte", "silence", &Parametres::silenceAlerte,
                    Reglage::Lecture, 10, 0, std::numeric_limits<int>::max()),
    Reglage::texte("Connexion/Enregistrement", "enregistrement", &Parametres::enregistrement,
                   Reglage::Enregistrement, Reglage::Fichier)
        .ecritSiDonne()
        .remplacePar("enregistrer", "FICHIER",
                     "Ajoute chaque trame reçue à FICHIER, une par ligne, au format que "
                     "vellorcup-simulateur --replay rejoue"),
    Reglage::liste("Connexion/Sources", "sources", &Parametres::sources, Reglage::Sources,
                   Reglage::Adresses)
        .remplacePar("source", "ADRESSE[,ADRESSE...]",
                     "N'écoute que ces émetteurs (adresses IP séparées par des virgules)"),
    Reglage::drapeau("Fenetre/Reprendre", "reprendre", &Parametres::reprendre, Reglage::Demarrage),
    Reglage::nombre("Web/Port", "portWeb", &Parametres::webPort, Reglage::Page, 0, 0, portWebMax,
                    Reglage::Port)
        .remplacePar("web", "PORT",
                     "Sert la page des résultats en direct sur PORT (0 : pas de page)"),
    Reglage::texte("Web/Adresse", "adresseWeb", &Parametres::webAdresse, Reglage::Page),
    Reglage::texte("Web/Relais", "relais", &Parametres::relais, Reglage::RelaisWeb,
                   Reglage::AdresseRelais)
        .remplacePar("relais", "URL",
                     "Publie aussi l'état du concours sur le relais nginx à cette adresse "
                     "(http ou https)"),
    Reglage::texte("Web/RelaisJeton", "jeton", &Parametres::relaisJeton, Reglage::RelaisWeb),
    Reglage::nombre("Affichage/DureePage", "dureePage", &Parametres::dureePage, Reglage::Lecture,
                    10, 2, 120),
    Reglage::texte("Affiche/Titre", "titreAffiche", &Parametres::afficheTitre, Reglage::Lecture)
        .ecritSiDonne(),
    Reglage::texte("Affiche/Wifi", "wifi", &Parametres::afficheWifi, Reglage::Lecture)
        .ecritSiDonne(),
};
constexpr int nombreReglages = int(std::size(reglages));

// The row that declares a field of the record: reglage<&Parametres::webPort>().
template <auto champ> constexpr int indexReglage()
{
    using Type = decltype(champ);
    for (int i = 0; i < nombreReglages; ++i)
        if (std::holds_alternative<Type>(reglages[i].champ) &&
            std::get<Type>(reglages[i].champ) == champ)
            return i;
    return -1;
}
template <auto champ> constexpr const Reglage &reglage()
{
    constexpr int index = indexReglage<champ>();
    static_assert(index >= 0, "no row of reglages declares this field");
    return reglages[index];
}
template <auto champ> QString cleDe()
{
    return QLatin1String(reglage<champ>().cle);
}

// A number as typed (" 8080 "), if it is one within the row's bounds.
std::optional<int> nombreDans(const Reglage &r, const QString &texte);

// The row's field of `p` as a QVariant (an int, a bool, a string or a string list), and back
// from a value read in the file or typed, by the row's rule.
QVariant valeurDe(const Reglage &r, const Parametres &p);
void lireValeur(const Reglage &r, Parametres &p, const QVariant &valeur);

// What the command line sets for this run instead of the file, one text per row, read by
// the row's own rule; never written to the file.
using Surcharges = std::array<std::optional<QString>, nombreReglages>;
Parametres avecSurcharges(Parametres p, const Surcharges &surcharges);

// Who must follow the change from `avant` to `apres`, and the settings the dialog edits
// copied from `source` into `cible` (a window moved meanwhile keeps its new place).
Reglage::Parties partiesModifiees(const Parametres &avant, const Parametres &apres);
void prendreReglages(Parametres &cible, const Parametres &source);

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
