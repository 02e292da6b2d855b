// Cost of decoding a frame, against the work no decoder can avoid: turning the same bytes
// into text and cutting it at every ";".
#include "core/donnees.h"
#include "core/trame.h"
#include "mesure.h"
#include "tools/simulateur/concours.h"
#include "tools/simulateur/trames.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace
{
QVector<GroupeSerie> groupes(int nombre, int pilotesParGroupe)
{
    const ConcoursDemo concours(ConcoursDemo::graineParDefaut, ConcoursDemo::pilotesMax);
    QVector<GroupeSerie> liste(nombre);
    for (int g = 0; g < nombre; ++g) {
        liste[g].avecResultats = g % 2 == 0;
        for (int p = 0; p < pilotesParGroupe; ++p) {
            const Pilote &source =
                concours.pilotes().at((g * pilotesParGroupe + p) % concours.nombrePilotes());
            liste[g].pilotes << PiloteSerie{source.numero, 100 + p,     source.club,
                                            source.nom1,   source.nom2, p % 3 != 0};
        }
    }
    return liste;
}

QByteArray grandeTrame()
{
    const ConcoursDemo concours(ConcoursDemo::graineParDefaut, 200);
    ConcoursDemo enVol = concours;
    enVol.allerA(4, 1, Phase::Vol, 30);
    QVector<LigneEpreuve> lignes = enVol.tableau();
    lignes.resize(10);
    return trameEpreuve(lignes, enVol.enteteTableau()) +
           trameSeries(4, 1, true, "01:30", "00:40", 4, groupes(20, 10)) +
           trameCoupe(enVol.titreCoupe(), enVol.classement().mid(0, 200));
}

void mesurer(const char *nom, const QByteArray &trame)
{
    reinitialiserDonnees();
    int champs = 0;
    const double base = nanosecondesParAppel(
        [&] { champs += QString::fromUtf8(trame).split(QLatin1Char(';')).size(); });
    const double decodage = nanosecondesParAppel([&] { decoderTrame(trame); });
    std::printf("%-36s %8d octets %12.0f ns %12.0f ns %8.2f\n", nom, int(trame.size()), base,
                decodage, decodage / base);
    (void)champs;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    std::printf("Qt %s\n", qVersion());
    std::printf("%-36s %14s %15s %15s %8s\n", "trame", "taille", "texte+découpe", "décodage",
                "rapport");
    mesurer("petite : une série de 10 pilotes",
            trameSeries(1, 0, true, "00:42", "01:18", 1, groupes(1, 10)));
    mesurer("grande : 20 x 10 pilotes, 10, 200", grandeTrame());
    return 0;
}
