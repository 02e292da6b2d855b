// What the control window says of the station, from its state as plain values: the feed, the
// state taken back, the port, the recording, the page and the relay, and what is red.
#include "app/etatstation.h"
#include "colonnes.h"

#include <QtTest>

using Modification = void (*)(EtatStation &);
Q_DECLARE_METATYPE(Modification)

// A relay whose address is valid, nothing answered yet.
void relaisValide(EtatStation &e)
{
    e.adresseRelais = "http://r/pub";
    e.relaisValide = true;
}

class TstEtatStation : public QObject
{
    Q_OBJECT

private slots:
    void textes_data()
    {
        // flux: the feed's line before the counts, then the notes; rouges: the red lines.
        const auto ligne = colonnes<Modification, QString, QString, QString, QString>(
            {"modification", "flux", "page", "relais", "rouges"});
        const QString il = "Dernière trame il y a ", compte = "\nReçues : 12, ignorées : 3";
        const QString rien = "Aucune trame reçue" + compte;
        ligne(
            "rien encore", [](EtatStation &) {}, rien, "", "", "");
        ligne(
            "juste au seuil", [](EtatStation &e) { e.flux.msDepuisDerniere = 10999; },
            il + "10 s (192.168.1.10)" + compte, "", "", "");
        ligne(
            "muet", [](EtatStation &e) { e.flux.msDepuisDerniere = 11000; },
            "Flux muet depuis 11 s (dernière trame de 192.168.1.10)" + compte, "", "", "flux");
        ligne(
            "alerte coupée",
            [](EtatStation &e) { e.flux.msDepuisDerniere = 3600000, e.silenceAlerte = 0; },
            il + "1 h 00 min (192.168.1.10)" + compte, "", "", "");
        ligne(
            "minutes, IPv6",
            [](EtatStation &e) {
                e.flux.msDepuisDerniere = 65000, e.silenceAlerte = 100;
                e.flux.source = QHostAddress("fe80::1");
            },
            il + "1 min 05 s (fe80::1)" + compte, "", "", "");
        ligne(
            "IPv4 vue en IPv6",
            [](EtatStation &e) {
                e.flux.msDepuisDerniere = 0;
                e.flux.source = QHostAddress("::ffff:10.0.0.2");
            },
            il + "0 s (10.0.0.2)" + compte, "", "", "");
        ligne(
            "aucun émetteur valide",
            [](EtatStation &e) { e.flux.sourcesIllisibles = QStringList{"abc"}; },
            "Aucun émetteur accepté : Connexion/Sources sans adresse valide (abc)\n" + rien, "", "",
            "flux");
        ligne(
            "état repris", [](EtatStation &e) { e.repriseDe = "10:02:03"; },
            rien + "\nÉtat repris de 10:02:03, en attente de l'émetteur", "", "", "");
        ligne(
            "toutes les notes, dans l'ordre",
            [](EtatStation &e) {
                e.erreurReprise = "fichier altéré";
                e.erreurEcoute = "port pris";
                e.erreurEnregistrement = "disque plein";
                e.enregistrementArrete = true;
            },
            rien + "\nfichier altéré\nÉcoute impossible : port pris\n"
                   "Enregistrement arrêté : disque plein",
            "", "", "flux");
        ligne(
            "enregistrement impossible", [](EtatStation &e) { e.erreurEnregistrement = "x"; },
            rien + "\nEnregistrement impossible : x", "", "", "flux");
        ligne(
            "page servie",
            [](EtatStation &e) {
                e.adressesPage = QStringList{"http://a/", "http://b/"};
            },
            rien, "Résultats en direct :\nhttp://a/\nhttp://b/", "", "");
        ligne(
            "page impossible", [](EtatStation &e) { e.erreurPage = "port pris"; }, rien,
            "Page des résultats impossible : port pris", "", "page");
        ligne(
            "relais invalide", [](EtatStation &e) { e.adresseRelais = "ftp://r"; }, rien, "",
            "Relais : adresse invalide", "relais");
        ligne("premier envoi", relaisValide, rien, "", "Relais : envoi en cours", "");
        ligne(
            "relais à jour", [](EtatStation &e) { relaisValide(e), e.relaisAJour = true; }, rien,
            "", "Relais : à jour", "");
        ligne(
            "relais refusé",
            [](EtatStation &e) { relaisValide(e), e.raisonRelais = "refusé (403)"; }, rien, "",
            "Relais : refusé (403)", "relais");
    }

    void textes()
    {
        QFETCH(Modification, modification);
        EtatStation etat;
        etat.flux = EtatFlux{12, 3, QHostAddress("192.168.1.10"), -1, {}};
        etat.silenceAlerte = 10;
        modification(etat);
        const TextesEtat textes = textesEtat(etat);
        QTEST(textes.flux.texte, "flux");
        QTEST(textes.page.texte, "page");
        QTEST(textes.relais.texte, "relais");
        QStringList rouges;
        for (const auto &[nom, ligneEtat] :
             {std::pair{"flux", textes.flux}, {"page", textes.page}, {"relais", textes.relais}})
            if (ligneEtat.alerte)
                rouges << nom;
        QTEST(rouges.join(','), "rouges");
    }

    // The day is said only when the state was written before today.
    void heureReprise()
    {
        const QDateTime quand(QDate(2026, 7, 14), QTime(9, 5, 7));
        QCOMPARE(texteHeureReprise(quand, QDate(2026, 7, 14)), "09:05:07");
        QCOMPARE(texteHeureReprise(quand, QDate(2026, 7, 15)), "14/07 09:05:07");
    }
};

QTEST_GUILESS_MAIN(TstEtatStation)
#include "tst_etatstation.moc"
