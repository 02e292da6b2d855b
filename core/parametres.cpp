#include "core/parametres.h"

#include <QSettings>

Parametres parametres;

namespace
{
const FenetreInfo defaut;
constexpr int fenetresAvecTailleFonte = 4;

QString groupe(int index)
{
    return QStringLiteral("FenetreInfo%1/").arg(index + 1);
}
} // namespace

QString repertoireDonneesDepuis(const QString &documents)
{
    return QString(documents + QStringLiteral("/Coupe des Vellor"))
        .replace(QStringLiteral("//"), QStringLiteral("/"));
}

QString cheminFichierParametres()
{
    return parametres.repertoireDonnees + QStringLiteral("/Appli/ParametresDisplay.ini");
}

void lireParametres(QSettings &fichier)
{
    for (int i = 0; i < nombreFenetres; ++i) {
        FenetreInfo &info = parametres.fenetresInfo[i];
        const QString g = groupe(i);
        info.X = fichier.value(g + QLatin1String("X"), defaut.X).toInt();
        info.Y = fichier.value(g + QLatin1String("Y"), defaut.Y).toInt();
        info.L = fichier.value(g + QLatin1String("L"), defaut.L).toInt();
        info.H = fichier.value(g + QLatin1String("H"), defaut.H).toInt();
        if (i < fenetresAvecTailleFonte)
            info.TailleFonte =
                fichier.value(g + QLatin1String("TailleFonte"), defaut.TailleFonte).toInt();
    }
    parametres.portUdp =
        fichier.value(QStringLiteral("Connexion/ReseauUdpPort"), QStringLiteral("7700")).toString();
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
    }
    fichier.setValue(QStringLiteral("Connexion/ReseauUdpPort"), parametres.portUdp);
}

QString texteTailleFonte(int taille)
{
    return taille < 0 ? QString::number(taille) : QLatin1Char('+') + QString::number(taille);
}
