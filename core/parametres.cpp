#include "core/parametres.h"

#include <QSettings>

Parametres parametres;

namespace
{
const FenetreInfo defaut;
// A hand-edited place, size or font step beyond these reads as the default. No set of
// screens is that large, and the windows' sums (a place plus a size, twice a font step)
// stay far from int's limits. Steps between the sliders' range and these are kept.
constexpr int coordonneeMax = 32767;
constexpr int tailleFonteMin = -16;
constexpr int tailleFonteMax = 64;

QString groupe(int index)
{
    return QStringLiteral("FenetreInfo%1/").arg(index + 1);
}

int entier(const QSettings &fichier, const QString &cle, int defaut, int min, int max)
{
    const int valeur = fichier.value(cle, defaut).toInt();
    return valeur >= min && valeur <= max ? valeur : defaut;
}
} // namespace

int lirePortWeb(const QString &texte)
{
    bool nombre = false;
    const int port = texte.trimmed().toInt(&nombre);
    return nombre && port >= 0 && port <= portWebMax ? port : -1;
}

QString repertoireDonneesDepuis(const QString &documents)
{
    return QString(documents + QStringLiteral("/Coupe des Vellor"))
        .replace(QStringLiteral("//"), QStringLiteral("/"));
}

QString cheminFichierParametres()
{
    return parametres.repertoireDonnees + QStringLiteral("/Appli/ParametresDisplay.ini");
}

QString cheminDernierEtat()
{
    return parametres.repertoireDonnees + QStringLiteral("/Appli/DernierEtat.txt");
}

void lireParametres(QSettings &fichier)
{
    for (int i = 0; i < nombreFenetres; ++i) {
        FenetreInfo &info = parametres.fenetresInfo[i];
        const QString g = groupe(i);
        info.X = entier(fichier, g + QLatin1String("X"), defaut.X, -coordonneeMax, coordonneeMax);
        info.Y = entier(fichier, g + QLatin1String("Y"), defaut.Y, -coordonneeMax, coordonneeMax);
        info.L = entier(fichier, g + QLatin1String("L"), defaut.L, 0, coordonneeMax);
        info.H = entier(fichier, g + QLatin1String("H"), defaut.H, 0, coordonneeMax);
        if (i < fenetresAvecTailleFonte)
            info.TailleFonte = entier(fichier, g + QLatin1String("TailleFonte"), defaut.TailleFonte,
                                      tailleFonteMin, tailleFonteMax);
        const QVariant connue = fichier.value(g + QLatin1String("PlaceConnue"));
        info.PlaceConnue = connue.isValid() ? connue.toInt() != 0 : (info.X != 0 || info.Y != 0);
        info.Visible = fichier.value(g + QLatin1String("Visible"), 0).toInt() != 0;
    }
    parametres.portUdp =
        fichier.value(QStringLiteral("Connexion/ReseauUdpPort"), QStringLiteral("7700")).toString();

    // A hand-edited alert delay that is not a number, or negative, keeps the alert on.
    bool nombre = false;
    const int silence = fichier.value(QStringLiteral("Connexion/SilenceAlerte"))
                            .toString()
                            .trimmed()
                            .toInt(&nombre);
    parametres.silenceAlerte = nombre && silence >= 0 ? silence : silenceAlerteParDefaut;
    // Typed by hand without quotes, "a, b" reads as a list; written by the station, as text.
    const QStringList parties = fichier.value(QStringLiteral("Connexion/Sources"))
                                    .toStringList()
                                    .join(QLatin1Char(','))
                                    .split(QLatin1Char(','));
    parametres.sources.clear();
    for (const QString &partie : parties)
        if (!partie.trimmed().isEmpty())
            parametres.sources << partie.trimmed();
    parametres.reprendre = fichier.value(QStringLiteral("Fenetre/Reprendre"), 0).toInt() != 0;
    // A port that is not one serves no page.
    parametres.webPort = qMax(0, lirePortWeb(fichier.value(QStringLiteral("Web/Port")).toString()));
    parametres.webAdresse = fichier.value(QStringLiteral("Web/Adresse")).toString().trimmed();
    parametres.relais = fichier.value(QStringLiteral("Web/Relais")).toString().trimmed();
    parametres.relaisJeton = fichier.value(QStringLiteral("Web/RelaisJeton")).toString().trimmed();
    const int duree =
        fichier.value(QStringLiteral("Affichage/DureePage")).toString().trimmed().toInt(&nombre);
    parametres.dureePage =
        nombre && duree >= dureePageMin && duree <= dureePageMax ? duree : dureePageParDefaut;
    parametres.enregistrement =
        fichier.value(QStringLiteral("Connexion/Enregistrement")).toString().trimmed();
    parametres.afficheTitre = fichier.value(QStringLiteral("Affiche/Titre")).toString().trimmed();
    parametres.afficheWifi = fichier.value(QStringLiteral("Affiche/Wifi")).toString().trimmed();
}

void ecrireParametres(QSettings &fichier)
{
    for (int i = 0; i < nombreFenetres; ++i) {
        const FenetreInfo &info = parametres.fenetresInfo[i];
        const QString g = groupe(i);
        fichier.setValue(g + QLatin1String("X"), info.X);
        fichier.setValue(g + QLatin1String("Y"), info.Y);
        fichier.setValue(g + QLatin1String("L"), info.L);
        fichier.setValue(g + QLatin1String("H"), info.H);
        if (i < fenetresAvecTailleFonte)
            fichier.setValue(g + QLatin1String("TailleFonte"), info.TailleFonte);
        fichier.setValue(g + QLatin1String("PlaceConnue"), int(info.PlaceConnue));
        fichier.setValue(g + QLatin1String("Visible"), int(info.Visible));
    }
    fichier.setValue(QStringLiteral("Connexion/ReseauUdpPort"), parametres.portUdp);
    fichier.setValue(QStringLiteral("Connexion/SilenceAlerte"), parametres.silenceAlerte);
    fichier.setValue(QStringLiteral("Connexion/Sources"),
                     parametres.sources.join(QLatin1Char(',')));
    fichier.setValue(QStringLiteral("Fenetre/Reprendre"), int(parametres.reprendre));
    fichier.setValue(QStringLiteral("Web/Port"), parametres.webPort);
    fichier.setValue(QStringLiteral("Web/Adresse"), parametres.webAdresse);
    fichier.setValue(QStringLiteral("Web/Relais"), parametres.relais);
    fichier.setValue(QStringLiteral("Web/RelaisJeton"), parametres.relaisJeton);
    fichier.setValue(QStringLiteral("Affichage/DureePage"), parametres.dureePage);
    // Keys added later are written only once set: an untouched station's file stays as before.
    const auto siDonne = [&fichier](const QString &cle, const QString &valeur) {
        if (!valeur.isEmpty())
            fichier.setValue(cle, valeur);
    };
    siDonne(QStringLiteral("Connexion/Enregistrement"), parametres.enregistrement);
    siDonne(QStringLiteral("Affiche/Titre"), parametres.afficheTitre);
    siDonne(QStringLiteral("Affiche/Wifi"), parametres.afficheWifi);
}

QString texteTailleFonte(int taille)
{
    return taille < 0 ? QString::number(taille) : QLatin1Char('+') + QString::number(taille);
}
