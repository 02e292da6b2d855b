#ifndef AFFICHE_H
#define AFFICHE_H

#include <QString>

// What the poster at the field's entrance tells the spectators.
struct ContenuAffiche {
    QString titre;   // the contest's title
    QString adresse; // the page's address, in the QR code and printed in clear
    QString wifi;    // the Wi-Fi network to join; empty: no line
};

// The address a poster gives: with a relay (`relais`, its publishing address as in
// Web/Relais), the relay's own page: its scheme, host and port with the path "/"; else
// `adresseStation` as given. A relay that is not an http or https address counts as none.
QString adresseAffiche(const QString &relais, const QString &adresseStation);

// The poster from the settings record and the cup's title: the title set for the poster,
// else the cup's, else "Vellor's Cup".
ContenuAffiche contenuAffiche(const QString &adresseStation);

// Writes the poster to `chemin` as an A4 portrait PDF. False, with the reason, when the
// file cannot be written or the address fits in no QR code.
bool ecrireAffiche(const QString &chemin, const ContenuAffiche &contenu, QString *erreur);

#endif
