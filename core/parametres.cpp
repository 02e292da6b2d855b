#include "core/parametres.h"

#include <QSettings>

#include <type_traits>

Parametres parametres;

namespace
{
// A hand-edited place or size beyond these reads as the default: no set of screens is that
// large, and the windows' sums (a place plus a size) stay far from int's limits.
constexpr int coordonneeMax = 32767;

const QString clePortUdp = QStringLiteral("Connexion/ReseauUdpPort");

// Each window's keys, in the group "FenetreInfoN".
struct CleFenetre {
    const char *nom;
    std::variant<int FenetreInfo::*, bool FenetreInfo::*> champ;
    int min = 0, max = 0;
};
constexpr CleFenetre clesFenetre[] = {
    {"X", &FenetreInfo::X, -coordonneeMax, coordonneeMax},
    {"Y", &FenetreInfo::Y, -coordonneeMax, coordonneeMax},
    {"L", &FenetreInfo::L, 0, coordonneeMax},
    {"H", &FenetreInfo::H, 0, coordonneeMax},
    {"TailleFonte", &FenetreInfo::TailleFonte, tailleFonteFichierMin, tailleFonteFichierMax},
    {"PlaceConnue", &FenetreInfo::PlaceConnue},
    {"Visible", &FenetreInfo::Visible},
};

QString cleFenetre(int index, const CleFenetre &cle)
{
    return QStringLiteral("FenetreInfo%1/").arg(index + 1) + QLatin1String(cle.nom);
}

// The scoreboard has no font step.
bool aCetteCle(int index, const CleFenetre &cle)
{
    const auto *champ = std::get_if<int FenetreInfo::*>(&cle.champ);
    return index < fenetresAvecTailleFonte || !champ || *champ != &FenetreInfo::TailleFonte;
}

// A file written before PlaceConnue existed knows a place when it is not (0, 0).
bool lireFenetre(const QSettings &fichier, int index, FenetreInfo &info)
{
    const FenetreInfo defaut;
    bool placeLue = false;
    for (const CleFenetre &cle : clesFenetre) {
        if (!aCetteCle(index, cle))
            continue;
        const QVariant valeur = fichier.value(cleFenetre(index, cle));
        if (const auto *champ = std::get_if<int FenetreInfo::*>(&cle.champ)) {
            // Not a number reads as 0, as QVariant converts it.
            const int lu = valeur.isValid() ? valeur.toInt() : defaut.*(*champ);
            info.*(*champ) = lu >= cle.min && lu <= cle.max ? lu : defaut.*(*champ);
        } else {
            const auto booleen = std::get<bool FenetreInfo::*>(cle.champ);
            info.*booleen = valeur.toInt() != 0;
            placeLue = placeLue || (booleen == &FenetreInfo::PlaceConnue && valeur.isValid());
        }
    }
    return placeLue;
}
} // namespace

Parametres::Parametres()
{
    for (const Reglage &r : reglages)
        std::visit(
            [this, &r](auto champ) {
                using T = std::decay_t<decltype(this->*champ)>;
                if constexpr (std::is_same_v<T, int>)
                    this->*champ = r.defaut;
                else if constexpr (std::is_same_v<T, bool>)
                    this->*champ = r.defaut != 0;
                else
                    this->*champ = T();
            },
            r.champ);
}

std::optional<int> nombreDans(const Reglage &r, const QString &texte)
{
    bool nombre = false;
    const int valeur = texte.trimmed().toInt(&nombre);
    if (!nombre || valeur < r.min || valeur > r.max)
        return std::nullopt;
    return valeur;
}

QVariant valeurDe(const Reglage &r, const Parametres &p)
{
    return std::visit([&p](auto champ) { return QVariant(p.*champ); }, r.champ);
}

void lireValeur(const Reglage &r, Parametres &p, const QVariant &valeur)
{
    std::visit(
        [&](auto champ) {
            using T = std::decay_t<decltype(p.*champ)>;
            if constexpr (std::is_same_v<T, int>) {
                p.*champ = nombreDans(r, valeur.toString()).value_or(r.defaut);
            } else if constexpr (std::is_same_v<T, bool>) {
                p.*champ = valeur.toInt() != 0;
            } else if constexpr (std::is_same_v<T, QString>) {
                p.*champ = valeur.toString().trimmed();
            } else {
                // Typed by hand without quotes, "a, b" reads as a list; written by the
                // station, or given on the command line, as text.
                p.*champ = QStringList();
                const auto parties =
                    valeur.toStringList().join(QLatin1Char(',')).split(QLatin1Char(','));
                for (const QString &partie : parties)
                    if (!partie.trimmed().isEmpty())
                        (p.*champ) << partie.trimmed();
            }
        },
        r.champ);
}

Parametres avecSurcharges(Parametres p, const Surcharges &surcharges)
{
    for (int i = 0; i < nombreReglages; ++i)
        if (surcharges[i])
            lireValeur(reglages[i], p, *surcharges[i]);
    return p;
}

Reglage::Parties partiesModifiees(const Parametres &avant, const Parametres &apres)
{
    Reglage::Parties parties;
    for (const Reglage &r : reglages)
        if (valeurDe(r, avant) != valeurDe(r, apres))
            parties |= r.partie;
    return parties;
}

void prendreReglages(Parametres &cible, const Parametres &source)
{
    for (const Reglage &r : reglages)
        if (r.partie != Reglage::Demarrage)
            std::visit([&](auto champ) { cible.*champ = source.*champ; }, r.champ);
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
        if (!lireFenetre(fichier, i, info))
            info.PlaceConnue = info.X != 0 || info.Y != 0;
    }
    parametres.portUdp = fichier.value(clePortUdp, QStringLiteral("7700")).toString();
    for (const Reglage &r : reglages)
        lireValeur(r, parametres, fichier.value(QLatin1String(r.cle)));
}

void ecrireParametres(QSettings &fichier)
{
    for (int i = 0; i < nombreFenetres; ++i) {
        const FenetreInfo &info = parametres.fenetresInfo[i];
        for (const CleFenetre &cle : clesFenetre)
            if (aCetteCle(i, cle))
                fichier.setValue(
                    cleFenetre(i, cle),
                    std::visit([&info](auto champ) { return int(info.*champ); }, cle.champ));
    }
    fichier.setValue(clePortUdp, parametres.portUdp);
    for (const Reglage &r : reglages) {
        QVariant valeur = valeurDe(r, parametres);
        if (valeur.userType() == QMetaType::QStringList)
            valeur = valeur.toStringList().join(QLatin1Char(','));
        else if (valeur.userType() == QMetaType::Bool)
            valeur = int(valeur.toBool());
        if (!r.siDonne || !valeur.toString().isEmpty())
            fichier.setValue(QLatin1String(r.cle), valeur);
    }
}

QString texteTailleFonte(int taille)
{
    return taille < 0 ? QString::number(taille) : QLatin1Char('+') + QString::number(taille);
}
